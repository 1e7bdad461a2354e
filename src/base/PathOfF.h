#pragma once
// Path and command-line routines shared by the whole program.
#include <string>
#include <string_view>
#include <vector>

namespace v5 {

// The path up to and including its last backslash, or the whole path when it holds none.
std::string DirectoryOf(std::string_view path);

// The file name after the last backslash.
std::string FileNameOf(std::string_view path);

// The program's arguments (its own path excluded) joined with nothing between them.
std::string CommandLineText(const std::vector<std::string>& arguments);

// Case-sensitive search for a switch anywhere in the joined command line.
bool CommandLineHas(std::string_view commandLineText, std::string_view switchText);

}  // namespace v5
