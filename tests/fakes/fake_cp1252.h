#pragma once
// The system's code page as the fakes have it: cp1252, as far as the tests use it (Latin-1 and
// the euro sign and dashes). A character it cannot carry reads "?", as the system's derived 8-bit
// text has it; CodePageOf says so instead.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace v5::fakes {

inline constexpr std::pair<char32_t, unsigned char> kCp1252Extra[] = {{0x20AC, 0x80}, {0x2014, 0x97}, {0x2013, 0x96}};

inline std::string Utf8FromCp1252(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        char32_t u = static_cast<unsigned char>(c);
        for (const auto& [code, byte] : kCp1252Extra)
            if (byte == u) u = code;
        if (u < 0x80) out += static_cast<char>(u);
        else if (u < 0x800) out += {static_cast<char>(0xC0 | (u >> 6)), static_cast<char>(0x80 | (u & 0x3F))};
        else
            out += {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (u & 0x3F))};
    }
    return out;
}

// nullopt when a character has no place in cp1252.
inline std::optional<std::string> CodePageOf(std::string_view utf8) {
    std::string out;
    bool whole = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t u = n == 1 ? b : b & (0x7F >> n);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k) u = (u << 6) | (utf8[i + k] & 0x3F);
        i += n;
        int byte = u <= 0xFF && (u < 0x80 || u >= 0xA0) ? static_cast<int>(u) : -1;
        for (const auto& [code, cp] : kCp1252Extra)
            if (code == u) byte = cp;
        if (byte < 0) whole = false;
        out += static_cast<char>(byte < 0 ? '?' : byte);
    }
    if (!whole) return std::nullopt;
    return out;
}

inline std::string Cp1252FromUtf8(std::string_view utf8) {
    const std::optional<std::string> whole = CodePageOf(utf8);
    if (whole) return *whole;
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        out += CodePageOf(utf8.substr(i, n)).value_or("?");
        i += n;
    }
    return out;
}

}  // namespace v5::fakes
