#include "base/file_routines.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <vector>

#include "platform/disk_sync.h"
#include "platform/errors.h"

namespace v5 {
namespace {

// The wipe's working buffer: wiping a file of any size needs no more memory than this.
constexpr std::uint64_t kWipeChunkSize = 64 * 1024;
// The pieces in which files are read: small enough to stay in the processor's cache.
constexpr std::size_t kReadPieceSize = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string SystemMessage() { return std::strerror(errno); }

FileHandle OpenOrThrow(const std::string& path, const char* mode, const char* what) {
    FileHandle file(std::fopen(path.c_str(), mode));
    if (!file) throw InOutError(std::string(what) + " " + path + ": " + SystemMessage());
    return file;
}

// Creates the file afresh, writes the bytes, pushes them to the disk and closes it.
void RewriteSynced(const std::string& path, const char* data, std::size_t size) {
    FileHandle file = OpenOrThrow(path, "wb", "Cannot create file");
    if (size > 0 && std::fwrite(data, 1, size, file.get()) != size)
        throw InOutError("Cannot write file " + path + ": " + SystemMessage());
    if (!SyncFileToDisk(file.get()))
        throw InOutError("Cannot flush file " + path + ": " + SystemMessage());
    std::FILE* raw = file.release();
    if (std::fclose(raw) != 0) throw InOutError("Cannot close file " + path + ": " + SystemMessage());
}

// Writes over the file's own bytes from its start without truncating it, so the file system
// keeps the blocks that held the old text; a chunk at a time, whatever the file's size.
void OverwriteInPlace(const std::string& path, std::uint64_t length,
                      const std::function<void(char*, std::size_t)>& fill) {
    FileHandle file = OpenOrThrow(path, "r+b", "Cannot open file");
    std::vector<char> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(length, kWipeChunkSize)));
    for (std::uint64_t done = 0; done < length;) {
        const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), length - done));
        fill(chunk.data(), size);
        if (std::fwrite(chunk.data(), 1, size, file.get()) != size)
            throw InOutError("Cannot write file " + path + ": " + SystemMessage());
        done += size;
    }
    if (!SyncFileToDisk(file.get())) throw InOutError("Cannot flush file " + path + ": " + SystemMessage());
    std::FILE* raw = file.release();
    if (std::fclose(raw) != 0) throw InOutError("Cannot close file " + path + ": " + SystemMessage());
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFREG;
}

bool DeleteFileIfPresent(const std::string& path) {
    if (!FileExists(path)) return true;
    return std::remove(path.c_str()) == 0;
}

std::string ReadFileString(const std::string& path) {
    // Room for the file's size once (never filled in advance), then whatever the file still grows by.
    std::string content;
    ReadFilePieces(
        path, [&](std::size_t size) { content.reserve(size); },
        [&](std::string_view piece) { content.append(piece); });
    return content;
}

void ReadFilePieces(const std::string& path, const std::function<void(std::size_t size)>& sized,
                    const std::function<void(std::string_view piece)>& piece) {
    if (!FileExists(path)) return;
    FileHandle file = OpenOrThrow(path, "rb", "Cannot open file");
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) == 0 && info.st_size > 0) sized(static_cast<std::size_t>(info.st_size));
    std::vector<char> buffer(kReadPieceSize);
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) piece({buffer.data(), got});
    if (std::ferror(file.get())) throw InOutError("Cannot read file " + path + ": " + SystemMessage());
}

void WriteFileStringOrThrow(const std::string& path, const std::string& text) {
    WriteFilePiecesOrThrow(path, {std::string_view(text)});
}

void WriteFilePiecesOrThrow(const std::string& path, std::initializer_list<std::string_view> pieces) {
    FileHandle file = OpenOrThrow(path, "wb", "Cannot create file");
    for (std::string_view text : pieces)
        if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file.get()) != text.size())
            throw InOutError("Cannot write file " + path + ": " + SystemMessage());
    std::FILE* raw = file.release();
    if (std::fflush(raw) != 0 || std::fclose(raw) != 0)
        throw InOutError("Cannot write file " + path + ": " + SystemMessage());
}

namespace {

// What a failed replacement leaves of the new file is overwritten before it goes; a file that
// resists the wipe is at least deleted.
void WipeOrRemove(const std::string& path) {
    try {
        WipeFile(path);
    } catch (const InOutError&) {
        std::remove(path.c_str());
    }
}

}  // namespace

void ReplaceFileContents(const std::string& path, const std::string& text) {
    const std::string fresh = path + ".new";
    try {
        RewriteSynced(fresh, text.data(), text.size());
    } catch (const InOutError&) {
        WipeOrRemove(fresh);
        throw;
    }
    if (!MoveFileReplacing(fresh, path)) {
        WipeOrRemove(fresh);
        throw InOutError("Cannot replace file " + path + " with " + fresh);
    }
}

void WipeFile(const std::string& path, const std::function<void(int pass)>& observer) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || (info.st_mode & S_IFMT) != S_IFREG) return;
    const std::uint64_t length = static_cast<std::uint64_t>(info.st_size);

    std::minstd_rand generator(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> byte(0, 254);
    const std::function<void(char*, std::size_t)> patterns[] = {
        [](char* chunk, std::size_t size) { std::memset(chunk, 0x00, size); },
        [](char* chunk, std::size_t size) { std::memset(chunk, 0xFF, size); },
        [&](char* chunk, std::size_t size) {
            for (std::size_t i = 0; i < size; ++i) chunk[i] = static_cast<char>(byte(generator));
        },
    };
    int pass = 0;
    for (int round = 0; round < 2; ++round) {
        for (const auto& fill : patterns) {
            OverwriteInPlace(path, length, fill);
            if (observer) observer(++pass);
        }
    }
    RewriteSynced(path, nullptr, 0);
    if (std::remove(path.c_str()) != 0) throw InOutError("Cannot delete file " + path + ": " + SystemMessage());
}

bool WildcardMatches(std::string_view pattern, std::string_view name) {
    const auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    std::size_t p = 0, n = 0, starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && same(pattern[p], name[n])))) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

// Through the C library's directory calls rather than std::filesystem, which on Windows brings
// most of a megabyte of wide-character and locale code into every program linking the core.
std::string FindFirstFileMatching(const std::string& folder, const std::string& pattern) {
    const std::string dir = folder.empty() ? "." : folder;
    DIR* listing = opendir(dir.c_str());
    if (!listing) return {};
    std::string found;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        const bool joined = dir.back() == '/' || dir.back() == '\\';
        struct stat info {};
        if (stat((joined ? dir + name : dir + "/" + name).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) continue;
        if (WildcardMatches(pattern, name)) {
            found = name;
            break;
        }
    }
    closedir(listing);
    return found;
}

}  // namespace v5
