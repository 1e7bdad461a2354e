#pragma once
// The private profile functions of the platform behind the Profile port.
#include <string>

#include "platform/ports.h"

namespace v5::win32 {

// A file named without a directory ("Vostrel5.INI", "WIN.INI") is the platform's own business: it
// keeps such files in the Windows directory. Whole numbers are read through the text value, not
// through the platform's integer read, which takes "12abc" as 12, "abc" as 0 and misses "0X".
class Win32Profile : public Profile {
public:
    std::string readString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

}  // namespace v5::win32
