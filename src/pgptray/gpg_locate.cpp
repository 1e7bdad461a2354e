#include "pgptray/gpg_locate.h"

#include <string_view>
#include <vector>

namespace pgptray {
namespace {

constexpr std::string_view kGpgExe = "gpg.exe";

std::string inFolder(std::string folder, std::string_view name) {
    if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') folder = folder.substr(1, folder.size() - 2);
    if (folder.empty()) return {};
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder + std::string(name);
}

// Only a full path names one file wherever the program runs: a relative one would find a gpg.exe
// planted in whatever folder is current.
bool isAbsolute(const std::string& path) {
    const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
                       (path[2] == '\\' || path[2] == '/');
    const bool share = path.size() >= 3 && (path[0] == '\\' || path[0] == '/') && path[1] == path[0];
    return drive || share;
}

bool endsWithExe(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return tail == ".exe";
}

}  // namespace

std::string LocateGpg(const GpgSearch& search, const std::function<bool(const std::string&)>& isFile) {
    std::vector<std::string> candidates;
    if (!search.configured.empty())
        candidates.push_back(endsWithExe(search.configured) ? search.configured : inFolder(search.configured, kGpgExe));
    if (!search.installDir.empty()) candidates.push_back(inFolder(inFolder(search.installDir, "bin"), kGpgExe));
    std::string_view path = search.pathVariable;
    while (!path.empty()) {
        const std::size_t semi = path.find(';');
        const std::string folder(path.substr(0, semi));
        path.remove_prefix(semi == std::string_view::npos ? path.size() : semi + 1);
        if (!folder.empty()) candidates.push_back(inFolder(folder, kGpgExe));
    }
    for (const std::string& c : candidates)
        if (isAbsolute(c) && isFile(c)) return c;
    return {};
}

}  // namespace pgptray
