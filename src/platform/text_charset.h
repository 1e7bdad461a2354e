#pragma once
// Which character set a run of bytes from gpg is in. Today's OpenPGP programs put UTF-8 inside
// their messages; older ones and 8-bit mailers used the system's code page. Bytes that are valid
// UTF-8 are taken as UTF-8 (a code-page text with characters beyond ASCII is almost never valid
// UTF-8 by chance); anything else is in the code page. The conversions themselves are the
// platform's (platform/win32/toolkit/unicode.h).
#include <cstddef>
#include <string_view>

namespace v5 {

enum class TextBytes {
    Ascii,     // nothing beyond ASCII: every character set reads it alike
    Utf8,      // valid UTF-8 with characters beyond ASCII
    CodePage,  // not UTF-8: the system's code page
};

struct TextBytesDecision {
    TextBytes kind = TextBytes::Ascii;
    std::size_t skip = 0;  // bytes of a UTF-8 byte-order mark to drop
};

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
inline bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
        if (b >= 0xC2 && b <= 0xDF) length = 2;
        else if (b == 0xE0) length = 3, low = 0xA0;
        else if (b == 0xED) length = 3, high = 0x9F;
        else if (b >= 0xE1 && b <= 0xEF) length = 3;
        else if (b == 0xF0) length = 4, low = 0x90;
        else if (b == 0xF4) length = 4, high = 0x8F;
        else if (b >= 0xF1 && b <= 0xF3) length = 4;
        else return false;
        if (s.size() - i < length) return false;
        const auto second = static_cast<unsigned char>(s[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

inline bool IsPlainAscii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

inline TextBytesDecision DecideTextBytes(std::string_view bytes) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    const std::size_t skip = bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
    const std::string_view rest = bytes.substr(skip);
    if (IsPlainAscii(rest)) return {skip ? TextBytes::Utf8 : TextBytes::Ascii, skip};
    if (IsValidUtf8(rest)) return {TextBytes::Utf8, skip};
    return {TextBytes::CodePage, 0};
}

}  // namespace v5
