// Whole-file routines: reading, writing and wiping.
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>

#include <filesystem>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "base/file_routines.h"
#include "platform/errors.h"
#include "temp_dir.h"

namespace v5 {
namespace {

TEST(FileRoutines, ReadAndWriteAreByteExact) {
    testing::TempDir dir;
    EXPECT_EQ(ReadFileString(dir / "missing"), "");
    const std::string bytes("a\0b\r\n\xFF\r", 7);
    WriteFileStringOrThrow(dir / "f", bytes);
    EXPECT_EQ(ReadFileString(dir / "f"), bytes);
    WriteFileStringOrThrow(dir / "f", "");
    EXPECT_EQ(ReadFileString(dir / "f"), "");
    EXPECT_THROW(WriteFileStringOrThrow(dir / "no/such", "x"), InOutError);
}

// The new file that failed to take the old one's place held the text: it is wiped, not merely
// deleted. A second name of the same file sees what was left of its bytes.
TEST(FileRoutines, AReplacementThatCannotMoveIntoPlaceWipesItsNewFile) {
    testing::TempDir dir;
    const std::string path = dir / "tmpmfd.tmp";
    std::filesystem::create_directory(path);  // nothing can be moved over a folder
    WriteFileStringOrThrow(path + ".new", "");
    ASSERT_EQ(::link((path + ".new").c_str(), (dir / "second name").c_str()), 0);
    EXPECT_THROW(ReplaceFileContents(path, "the secret message"), InOutError);
    EXPECT_FALSE(FileExists(path + ".new"));
    EXPECT_EQ(ReadFileString(dir / "second name"), "");
}

TEST(FileRoutines, WipeLeavesNothingOfTheOldBytes) {
    testing::TempDir dir;
    // Missing: nothing happens, nothing is created.
    WipeFile(dir / "missing");
    EXPECT_FALSE(FileExists(dir / "missing"));

    struct Case {
        const char* name;
        std::string content;
    };
    const Case cases[] = {{"empty", ""}, {"secret", "To: alice@example.org\r\n\r\nThe secret is 42.\r\n"}};
    for (const Case& c : cases) {
        const std::string path = dir / "tmpmfd.tmp";
        const std::string link = dir / "same-file";
        WriteFileStringOrThrow(path, c.content);
        // A second name for the same file shows what the disk holds after each pass.
        ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
        std::vector<std::string> seen;
        WipeFile(path, [&](int) { seen.push_back(ReadFileString(link)); });
        ASSERT_EQ(seen.size(), 6u) << c.name;
        for (int pass = 0; pass < 6; ++pass) {
            const std::string& bytes = seen[pass];
            EXPECT_EQ(bytes.size(), c.content.size()) << c.name << " pass " << pass;
            for (unsigned char b : bytes) {
                if (pass % 3 == 0) EXPECT_EQ(b, 0x00);
                if (pass % 3 == 1) EXPECT_EQ(b, 0xFF);
                if (pass % 3 == 2) EXPECT_LE(b, 254);
            }
            if (!c.content.empty()) EXPECT_EQ(bytes.find("secret"), std::string::npos);
        }
        EXPECT_FALSE(FileExists(path)) << c.name;
        EXPECT_EQ(ReadFileString(link), "") << c.name;  // emptied before it was deleted
        std::remove(link.c_str());
    }
}

TEST(FileSearch, WildcardsMatchWithoutRegardToLetterCase) {
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"PGP*.Hlp", "PGP55.HLP", true}, {"PGP*.Hlp", "pgp.hlp", true},   {"PGP*.Hlp", "PGPhelp.hlp.bak", false},
        {"PGP*.Hlp", "MyPGP.hlp", false}, {"PGP?.Hlp", "PGP5.hlp", true}, {"PGP?.Hlp", "PGP.hlp", false},
        {"*", "", true},                 {"a*b*c", "aXbYbZc", true},     {"a*b*c", "aXbYc", true},
    };
    for (const auto& [pattern, name, matches] : rows)
        EXPECT_EQ(WildcardMatches(pattern, name), matches) << pattern << " " << name;
}

TEST(FileSearch, FindsAMatchingFileButNoFolder) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir / "PGPdir.hlp");
    EXPECT_EQ(FindFirstFileMatching(dir.path(), "PGP*.Hlp"), "");
    WriteFileStringOrThrow(dir / "pgp55.HLP", "");
    WriteFileStringOrThrow(dir / "Other.hlp", "");
    EXPECT_EQ(FindFirstFileMatching(dir.path(), "PGP*.Hlp"), "pgp55.HLP");
    EXPECT_EQ(FindFirstFileMatching(dir / "missing/", "PGP*.Hlp"), "");
}

// The extents of a file as the file system places them on the disk: logical offset, physical
// address and length of each. Empty, with the reason in `error`, when no block map is to be had.
std::vector<std::array<std::uint64_t, 3>> BlockMap(const std::string& path, std::string& error) {
    constexpr unsigned kMaxExtents = 256;
    std::vector<std::uint64_t> buffer((sizeof(fiemap) + kMaxExtents * sizeof(fiemap_extent)) / 8 + 1);
    auto* map = reinterpret_cast<fiemap*>(buffer.data());
    map->fm_length = FIEMAP_MAX_OFFSET;
    map->fm_flags = FIEMAP_FLAG_SYNC;
    map->fm_extent_count = kMaxExtents;
    const int fd = ::open(path.c_str(), O_RDONLY);
    const bool mapped = fd >= 0 && ::ioctl(fd, FS_IOC_FIEMAP, map) == 0;
    if (!mapped) error = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    std::vector<std::array<std::uint64_t, 3>> extents;
    if (!mapped) return extents;
    for (unsigned i = 0; i < map->fm_mapped_extents; ++i) {
        const fiemap_extent& e = map->fm_extents[i];
        if (e.fe_flags & (FIEMAP_EXTENT_UNKNOWN | FIEMAP_EXTENT_DELALLOC | FIEMAP_EXTENT_DATA_INLINE)) {
            error = "extents without a known place on the disk";
            return {};
        }
        extents.push_back({e.fe_logical, e.fe_physical, e.fe_length});
    }
    if (extents.empty()) error = "no extents reported";
    return extents;
}

TEST(FileRoutines, WipeOverwritesTheBlocksThatHeldTheText) {
    // On the checkout's own disk, where the file system's block map can be seen.
    testing::TempDir dir(V5_BUILD_DIR);
    const std::string path = dir / "tmpmfd.tmp";
    // Several chunks of the wipe's buffer and a part of one.
    std::string text;
    for (int i = 0; text.size() < 300000; ++i) text += "Line " + std::to_string(i) + " of the secret message\r\n";
    WriteFileStringOrThrow(path, text);

    std::string error;
    const auto before = BlockMap(path, error);
    ASSERT_FALSE(before.empty()) << "the file system under " << V5_BUILD_DIR
                                 << " gives no block map (FIEMAP), so the test cannot see where the "
                                    "wipe writes: "
                                 << error;
    int passes = 0;
    WipeFile(path, [&](int pass) {
        passes = pass;
        std::string passError;
        EXPECT_EQ(BlockMap(path, passError), before) << "pass " << pass << " " << passError;
    });
    EXPECT_EQ(passes, 6);
    EXPECT_FALSE(FileExists(path));
}

}  // namespace
}  // namespace v5
