#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace v5 {

// Removes every character of code 32 or less from both ends.
std::string_view TrimControlAndBlanks(std::string_view text);

// The trimmed text read as a decimal whole number; anything else, the empty text included, gives 0.
std::int32_t StrToIntOrZero(std::string_view text);

// Letter-case-insensitive comparison of 8-bit texts (ASCII letters only).
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace v5
