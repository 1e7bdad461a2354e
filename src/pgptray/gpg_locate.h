#pragma once
// Where gpg.exe is: the configured path; else the bin folder of an installed GnuPG for Windows,
// as its installer records it in the registry; else the folders of PATH.
#include <functional>
#include <string>

namespace pgptray {

struct GpgSearch {
    std::string configured;   // from the preferences: gpg.exe's path, or its folder
    std::string installDir;   // HKLM\Software\GnuPG "Install Directory", or empty
    std::string pathVariable; // the PATH environment variable
};

// The first candidate that is a full path (a drive's or a share's) and that the predicate finds
// to be a file, or the empty text. Relative ones are skipped.
std::string LocateGpg(const GpgSearch& search, const std::function<bool(const std::string&)>& isFile);

}  // namespace pgptray
