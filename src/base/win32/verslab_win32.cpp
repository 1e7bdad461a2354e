#include "base/win32/verslab_win32.h"

#include <windows.h>

#include <vector>

namespace v5::win32 {

std::string Win32VersionResources::ownFileName() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

VersionLookup Win32VersionResources::query(const std::string& fileName, const std::string& subBlock) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &ignored);
    if (size == 0) return {VersionLookup::NoResource, {}};
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(fileName.c_str(), 0, size, block.data())) return {VersionLookup::NoResource, {}};
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), subBlock.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return {VersionLookup::NoValue, {}};
    // The length may count the terminating zero; the value ends at the first zero.
    std::size_t end = 0;
    while (end < length && value[end] != '\0') ++end;
    return {VersionLookup::Found, std::string(value, end)};
}

OsVersionInfo Win32OsVersion::get() {
    static_assert(sizeof(OSVERSIONINFOA) == 148, "the version structure holds 148 bytes");
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    OsVersionInfo result;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return result;
#pragma GCC diagnostic pop
    result.major = info.dwMajorVersion;
    result.minor = info.dwMinorVersion;
    result.build = info.dwBuildNumber;
    result.platformId = info.dwPlatformId;
    result.servicePack = info.szCSDVersion;
    return result;
}

}  // namespace v5::win32
