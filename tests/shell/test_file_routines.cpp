// Whole-file routines: reading, writing and wiping.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

#include "shell/errors.h"
#include "shell/file_routines.h"
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

}  // namespace
}  // namespace v5
