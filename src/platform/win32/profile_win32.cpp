#include "platform/win32/profile_win32.h"

#include <windows.h>

namespace v5::win32 {

std::string Win32Profile::readString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& defaultValue) {
    char buffer[kProfileBufferSize] = {};
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                                  sizeof buffer, file.c_str());
    return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

bool Win32Profile::writeString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

}  // namespace v5::win32
