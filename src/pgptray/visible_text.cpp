#include "pgptray/visible_text.h"

#include "platform/text_charset.h"

namespace pgptray {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void escapeByte(std::string& out, unsigned char c) {
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

void escapeCodePoint(std::string& out, unsigned cp) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(cp >> shift) & 15];
}

// The code points that change the layout of the text around them: the C1 controls, the line and
// paragraph separators, and the bidirectional embeddings, overrides and isolates.
bool isLayoutControl(unsigned cp) {
    return (cp >= 0x80 && cp <= 0x9F) || (cp >= 0x2028 && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
}

}  // namespace

std::string VisibleText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            escapeByte(out, c);
            ++i;
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        unsigned cp = 0;
        const std::size_t length = v5::Utf8SequenceAt(text.substr(i), cp);
        if (length == 0) {
            // Not UTF-8: a byte of another code page, kept unless a Unicode view would see a control.
            if (c <= 0x9F) escapeCodePoint(out, c);
            else out += static_cast<char>(c);
            ++i;
        } else {
            if (isLayoutControl(cp)) escapeCodePoint(out, cp);
            else out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

}  // namespace pgptray
