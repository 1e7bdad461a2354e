#include "platform/win32/program_version.h"

#include <windows.h>

#include <vector>

namespace v5::win32 {

namespace {
constexpr const char* kFileVersionEntry = "\\StringFileInfo\\080904E4\\FileVersion";
}

std::string FileVersionOf(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return {};
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), kFileVersionEntry, &value, &length) || !value) return {};
    // The length counts characters and may include the terminator.
    const char* text = static_cast<const char*>(value);
    std::string result(text, length);
    if (const auto end = result.find('\0'); end != std::string::npos) result.resize(end);
    return result;
}

std::string ProgramFileVersion() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return FileVersionOf(path);
}

}  // namespace v5::win32
