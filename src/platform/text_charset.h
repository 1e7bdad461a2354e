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

// The length of the well-formed UTF-8 sequence that starts s, and its code point; 0 when there is
// none. Well-formed is strict: no overlong forms, no surrogates, nothing beyond U+10FFFF.
inline std::size_t Utf8SequenceAt(std::string_view s, unsigned& cp) {
    if (s.empty()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4                 ? 4
                                                                               : 0;
    if (length == 0 || s.size() < length) return 0;
    cp = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    static constexpr unsigned kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return length;
}

inline bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        unsigned cp = 0;
        const std::size_t length = Utf8SequenceAt(s.substr(i), cp);
        if (length == 0) return false;
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
