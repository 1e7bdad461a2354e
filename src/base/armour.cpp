#include "base/armour.h"

#include <cstring>

namespace v5 {

namespace {

// Every marker is a line feed, five hyphens and one of these; the kinds add a suffix.
constexpr std::string_view kHyphens = "-----";
constexpr std::string_view kBeginPGP = "BEGIN PGP";
constexpr std::string_view kEndPGP = "END PGP";
constexpr std::string_view kPublicKeySuffix = " PUBLIC KEY";
constexpr std::string_view kSignSuffix = " SIGN";
constexpr std::string_view kMessageSuffix = " MESSAGE";

// The armour lines that a mailer indented by one blank.
constexpr std::string_view kIndentedBegin = " -----BEGIN PGP ";
constexpr std::string_view kIndentedEnd = " -----END PGP ";

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.size() - at >= prefix.size() && std::memcmp(text.data() + at, prefix.data(), prefix.size()) == 0;
}

// Bits of the eight markers, begin and end for each kind.
enum : unsigned {
    mBeginAny = 1u << 0, mEndAny = 1u << 1,
    mBeginKey = 1u << 2, mEndKey = 1u << 3,
    mBeginSign = 1u << 4, mEndSign = 1u << 5,
    mBeginMessage = 1u << 6, mEndMessage = 1u << 7,
    mAll = 0xFFu,
};

// The markers that stand at `at`, the position just after a line feed (or the start of the text,
// which counts as if a line feed stood before it).
unsigned markersAt(std::string_view text, std::size_t at) {
    if (!startsWith(text, at, kHyphens)) return 0;
    at += kHyphens.size();
    unsigned any, key, sign, message;
    if (startsWith(text, at, kBeginPGP)) {
        at += kBeginPGP.size();
        any = mBeginAny, key = mBeginKey, sign = mBeginSign, message = mBeginMessage;
    } else if (startsWith(text, at, kEndPGP)) {
        at += kEndPGP.size();
        any = mEndAny, key = mEndKey, sign = mEndSign, message = mEndMessage;
    } else {
        return 0;
    }
    unsigned found = any;
    if (startsWith(text, at, kPublicKeySuffix)) found |= key;
    else if (startsWith(text, at, kSignSuffix)) found |= sign;
    else if (startsWith(text, at, kMessageSuffix)) found |= message;
    return found;
}

}  // namespace

TPGPContent ClassifyPGPText(std::string_view text) {
    // A marker counts only at the start of a line: after a line feed, or at the very start of the
    // text. Every marker begins with a hyphen, and hyphens are rare in prose and absent from the
    // base64 of armour, so the scan goes from hyphen to hyphen, passing over whole stretches of
    // lines at once; a hyphen that does not begin its line sends it on to the next line. Each
    // character is looked at a bounded number of times, and the scan ends as soon as all eight
    // markers have been seen.
    unsigned found = 0;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    while (found != mAll && p < end) {
        p = static_cast<const char*>(std::memchr(p, '-', static_cast<std::size_t>(end - p)));
        if (!p) break;
        const std::size_t at = static_cast<std::size_t>(p - begin);
        if (at == 0 || text[at - 1] == '\n') found |= markersAt(text, at);
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (!p) break;
        ++p;
    }
    TPGPContent content;
    content.AnyBlock = (found & (mBeginAny | mEndAny)) == (mBeginAny | mEndAny);
    content.PublicKey = (found & (mBeginKey | mEndKey)) == (mBeginKey | mEndKey);
    content.Signed = (found & (mBeginSign | mEndSign)) == (mBeginSign | mEndSign);
    content.Message = (found & (mBeginMessage | mEndMessage)) == (mBeginMessage | mEndMessage);
    return content;
}

std::string UnwrapPGPText(std::string_view text) {
    // The repair drops the blank of each " -----BEGIN PGP " at the start of the text and of each
    // "\n -----BEGIN PGP " and "\n -----END PGP " anywhere. Dropping one such blank can never make
    // a new occurrence: the line feed then stands directly before the hyphens, and neither pattern
    // holds a line feed followed by a hyphen, nor ends with a line feed, nor starts with a hyphen.
    // Occurrences cannot overlap either, since each holds only its one leading line feed. So
    // repeating the replacement from the start until none remains removes exactly the blanks found
    // in one pass over the original text, and one pass is what is done here.
    std::string out;
    std::size_t copied = 0;  // text before this position is already in `out` (or dropped)
    auto dropBlankAt = [&](std::size_t blank) {
        if (out.empty()) out.reserve(text.size());
        out.append(text.data() + copied, blank - copied);
        copied = blank + 1;
    };
    if (startsWith(text, 0, kIndentedBegin)) dropBlankAt(0);

    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    while (p < end) {
        const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (!lf) break;
        const std::size_t blank = static_cast<std::size_t>(static_cast<const char*>(lf) - begin) + 1;
        if (blank + 1 < text.size() && text[blank] == ' ' && text[blank + 1] == '-' &&
            (startsWith(text, blank, kIndentedBegin) || startsWith(text, blank, kIndentedEnd)))
            dropBlankAt(blank);
        p = begin + blank;
    }
    if (copied == 0) return std::string(text);
    out.append(text.data() + copied, text.size() - copied);
    return out;
}

}  // namespace v5
