#pragma once
// Whole-file routines shared by the log and the rest of the program.
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace v5 {

bool FileExists(const std::string& path);

// Deletes the file if it is there; true when it is gone afterwards.
bool DeleteFileIfPresent(const std::string& path);

// The whole content as bytes; empty when the file does not exist.
// Throws InOutError when an existing file cannot be read.
std::string ReadFileString(const std::string& path);

// The whole content handed over in pieces, in order, so that a reader that keeps the bytes in a
// form of its own need not first hold the file as one more string. `sized` learns the file's size
// before the first piece, to make room; a missing file gives no call at all.
// Throws InOutError when an existing file cannot be read.
void ReadFilePieces(const std::string& path, const std::function<void(std::size_t size)>& sized,
                    const std::function<void(std::string_view piece)>& piece);

// Makes the file hold exactly the text (created or truncated, flushed, closed).
// Throws InOutError on failure; callers that must report it use Diagnostics::WriteFileString.
void WriteFileStringOrThrow(const std::string& path, const std::string& text);
// The same for a text made of pieces, written one after the other without joining them first.
void WriteFilePiecesOrThrow(const std::string& path, std::initializer_list<std::string_view> pieces);
// A routine that writes a file from pieces as WriteFilePiecesOrThrow does, throwing on failure;
// callers take one where a test must make the disk fail.
using PiecesWriter = std::function<void(const std::string& path, std::initializer_list<std::string_view> pieces)>;

// Makes the file hold exactly the text without ever leaving it cut short: the text goes to a
// new file beside it ("<name>.new"), flushed to the disk, which then takes the old one's place.
// On failure the old file is left as it was, the new one is wiped (it may hold a message) and
// InOutError is thrown.
void ReplaceFileContents(const std::string& path, const std::string& text);

// Overwrites the file three ways twice (zeros, 0xFF, random bytes 0..254), each pass written
// over the file's own bytes in place (never truncating, so the same disk blocks are overwritten)
// and flushed to the disk, then empties and deletes it. A missing file is left alone.
// The observer, when given, is called after each of the six passes with its number (1..6).
void WipeFile(const std::string& path, const std::function<void(int pass)>& observer = {});

// The name of the first file in the folder (given with its trailing separator) that the
// pattern matches, in the order the platform's file search gives them; empty when none does.
// '*' stands for any run of characters, '?' for one; letter case does not count. Folders are
// never matched.
std::string FindFirstFileMatching(const std::string& folder, const std::string& pattern);
bool WildcardMatches(std::string_view pattern, std::string_view name);

}  // namespace v5
