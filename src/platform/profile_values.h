#pragma once
// How values of a private profile file read: the rules shared by the real adapter and its fake.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace v5 {

// Text values come back through a buffer of this many characters, its terminator included.
inline constexpr std::size_t kProfileBufferSize = 1024;

// A whole number as stored: decimal with an optional sign, or "0x"/"0X" and hexadecimal digits
// whose value fits 32 bits (taken as signed, so "0xFFFFFFFF" is -1). Anything else, the empty text and values that do
// not fit 32 bits included, gives the default.
std::int32_t ProfileWholeNumber(std::string_view text, std::int32_t defaultValue);

// A flag is written "1" or "0".
inline const char* ProfileFlagText(bool set) { return set ? "1" : "0"; }

}  // namespace v5
