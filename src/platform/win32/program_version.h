#pragma once
// Values of a file's version resource, read the way the About page and the settings need them.
#include <string>

namespace v5::win32 {

// The "FileVersion" value in the string table of language and code page "080904E4" of the file;
// empty when the file has no version resource or no such value.
std::string FileVersionOf(const std::string& path);

// The same for the running program's own file.
std::string ProgramFileVersion();

}  // namespace v5::win32
