#include "platform/profile_values.h"

#include <charconv>

namespace v5 {

std::int32_t ProfileWholeNumber(std::string_view text, std::int32_t defaultValue) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::string_view digits = text.substr(2);
        std::uint32_t value = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (ec != std::errc() || end != digits.data() + digits.size()) return defaultValue;
        return static_cast<std::int32_t>(value);
    }
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '-') return defaultValue;
    }
    if (digits.empty()) return defaultValue;
    std::int32_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 10);
    if (ec != std::errc() || end != digits.data() + digits.size()) return defaultValue;
    return value;
}

}  // namespace v5
