#include "drivers/mfd.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "base/strings.h"

namespace v5 {
namespace {

// The header's line keys, in the order in which the lines are written.
enum KeyIndex {
    kProtocolVersion,
    kWrapColumn,
    kWtype,
    kInformation,
    kTitle,
    kShort,
    kTo,
    kCc,
    kBcc,
    kSubject,
    kAttachment,
    kCommand,
    kLacking,
    kMfdState,
    kDefaultMailDomain,
    kKeyCount
};

constexpr std::array<std::string_view, kKeyCount> kLineKeys = {
    "MFD-Protocol-Version", "Wrap-Column", "Wtype",   "Information", "Title",
    "Short",                "To",          "Cc",      "Bcc",         "Subject",
    "Attachment",           "Command",     "Lacking", "MFD-State",   "Default-Mail-Domain",
};

constexpr std::string_view kKeyEnd = ": ";     // between a key and its value when written
constexpr std::string_view kLineEnd = "\r\n";  // ends every header line, and is the empty line
constexpr std::string_view kBlankLine = "\r\n\r\n";
constexpr std::int32_t kBothOutwardBits = wtOutward | wtPosting;

inline unsigned char Fold(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + 32) : u;
}

// True when the text at pos holds the key (its ASCII letters in either case) followed by `tail`
// (the colon, for the fixed keys; nothing for a caller's key, which carries its own colon).
bool KeyAt(std::string_view text, std::size_t pos, std::string_view key, std::string_view tail) {
    if (text.size() - pos < key.size() + tail.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i)
        if (Fold(text[pos + i]) != Fold(key[i])) return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (Fold(text[pos + key.size() + i]) != Fold(tail[i])) return false;
    return true;
}

// Calls visit(pos) for each position that begins a line: every position right after an LF, and
// the start of the text when `startBeginsLine`. Stops early when visit returns false.
template <class Visit>
void ForEachLineStart(std::string_view text, bool startBeginsLine, Visit&& visit) {
    if (startBeginsLine && !visit(std::size_t{0})) return;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    while (p < end) {
        const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (!lf) return;
        p = static_cast<const char*>(lf) + 1;
        if (!visit(static_cast<std::size_t>(p - begin))) return;
    }
}

// Finds the first CR at or after a position; asked with positions that never decrease, it scans
// the text once in all.
class NextCr {
public:
    explicit NextCr(std::string_view text) : text_(text) {}
    std::size_t from(std::size_t start) {
        if (searched_ && (at_ == std::string_view::npos || at_ >= start)) return at_;
        searched_ = true;
        const void* cr =
            start < text_.size() ? std::memchr(text_.data() + start, '\r', text_.size() - start) : nullptr;
        at_ = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - text_.data())
                 : std::string_view::npos;
        return at_;
    }

private:
    std::string_view text_;
    bool searched_ = false;
    std::size_t at_ = std::string_view::npos;
};

// The value that begins at valueStart: up to and including the next CR, trimmed; empty when no
// CR follows.
std::string_view ValueFrom(std::string_view header, std::size_t valueStart, NextCr& nextCr) {
    const std::size_t cr = nextCr.from(valueStart);
    if (cr == std::string_view::npos) return {};
    return TrimControlAndBlanks(header.substr(valueStart, cr + 1 - valueStart));
}

// Every fixed key's value in one pass over the header part. The start of the header part counts
// as the beginning of a line, as though an LF stood in front of it.
std::array<std::string_view, kKeyCount> LookUpValues(std::string_view header) {
    constexpr std::size_t kNotFound = std::string_view::npos;
    std::array<std::size_t, kKeyCount> valueStart;
    valueStart.fill(kNotFound);
    int missing = kKeyCount;
    ForEachLineStart(header, true, [&](std::size_t pos) {
        if (pos >= header.size()) return false;
        const unsigned char first = Fold(header[pos]);
        for (int k = 0; k < kKeyCount; ++k) {
            if (valueStart[k] != kNotFound || Fold(kLineKeys[k][0]) != first) continue;
            if (KeyAt(header, pos, kLineKeys[k], ":")) {
                valueStart[k] = pos + kLineKeys[k].size() + 1;
                --missing;
                break;  // no key is another key followed by a colon
            }
        }
        return missing > 0;
    });

    std::array<int, kKeyCount> order;
    int found = 0;
    for (int k = 0; k < kKeyCount; ++k)
        if (valueStart[k] != kNotFound) order[found++] = k;
    std::sort(order.begin(), order.begin() + found,
              [&](int a, int b) { return valueStart[a] < valueStart[b]; });

    std::array<std::string_view, kKeyCount> values{};
    NextCr nextCr(header);
    for (int i = 0; i < found; ++i) values[order[i]] = ValueFrom(header, valueStart[order[i]], nextCr);
    return values;
}

// Appends "Key: value" CR LF. A CR or LF inside the value would end the line early and let the
// rest pass for a header line of its own, so each is written as a blank.
void AppendTextLine(std::string& out, KeyIndex key, std::string_view value) {
    out.append(kLineKeys[key]);
    out.append(kKeyEnd);
    const std::size_t from = out.size();
    out.append(value);
    for (std::size_t i = from; i < out.size(); ++i)
        if (out[i] == '\r' || out[i] == '\n') out[i] = ' ';
    out.append(kLineEnd);
}

void AppendNumberLine(std::string& out, KeyIndex key, std::int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    AppendTextLine(out, key, std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

}  // namespace

void ClearMFDData(TMFDData& record) { record = TMFDData{}; }

std::string GetMFDValue(std::string_view key, std::string_view header) {
    std::size_t valueStart = std::string_view::npos;
    ForEachLineStart(header, false, [&](std::size_t pos) {
        if (!KeyAt(header, pos, key, {})) return true;
        valueStart = pos + key.size();
        return false;
    });
    if (valueStart == std::string_view::npos) return {};
    NextCr nextCr(header);
    return std::string(ValueFrom(header, valueStart, nextCr));
}

namespace {

// Where the body begins: after the first empty line; npos when there is none.
std::size_t BodyStart(std::string_view text) {
    const std::size_t blankLine = text.find(kBlankLine);
    return blankLine == std::string_view::npos ? blankLine : blankLine + kBlankLine.size();
}

// Every field but the body from the header part.
void ParseHeader(std::string_view header, TMFDData& record) {
    const std::array<std::string_view, kKeyCount> v = LookUpValues(header);
    record.ProtocolVersion = StrToIntOrZero(v[kProtocolVersion]);
    record.WrapColumn = StrToIntOrZero(v[kWrapColumn]);
    record.Wtype = StrToIntOrZero(v[kWtype]);
    record.Command = StrToIntOrZero(v[kCommand]);
    record.Lacking = StrToIntOrZero(v[kLacking]);
    record.Information.assign(v[kInformation]);
    record.Title.assign(v[kTitle]);
    record.Short.assign(v[kShort]);
    record.To.assign(v[kTo]);
    record.Cc.assign(v[kCc]);
    record.Bcc.assign(v[kBcc]);
    record.Subject.assign(v[kSubject]);
    record.Attachment.assign(v[kAttachment]);
    record.MfdState.assign(v[kMfdState]);
    record.DefaultMailDomain.assign(v[kDefaultMailDomain]);
    record.HasTo = !record.To.empty();
    record.HasCc = !record.Cc.empty();
    record.HasBcc = !record.Bcc.empty();
    record.HasSubject = !record.Subject.empty();
    record.HasAttachment = !record.Attachment.empty();

    // Both outward bits at once make no sense to the run; drivers mean an inward message by it.
    if (record.Wtype == kBothOutwardBits) record.Wtype = wtInward;
}

}  // namespace

TMFDData ParseMFDText(std::string_view text) {
    TMFDData record;
    const std::size_t bodyStart = BodyStart(text);
    ParseHeader(text.substr(0, bodyStart), record);
    if (bodyStart != std::string_view::npos) record.Body.assign(text.substr(bodyStart));
    record.HasBody = !record.Body.empty();
    return record;
}

std::string FormatMFDText(const TMFDData& record) { return FormatMFDText(record, record.Body); }

std::string FormatMFDText(const TMFDData& r, std::string_view body) {
    std::size_t size = body.size() + kLineEnd.size();
    for (std::string_view key : kLineKeys) size += key.size() + kKeyEnd.size() + kLineEnd.size() + 11;
    for (const std::string* text : {&r.Information, &r.Title, &r.Short, &r.To, &r.Cc, &r.Bcc,
                                    &r.Subject, &r.Attachment, &r.MfdState, &r.DefaultMailDomain})
        size += text->size();

    std::string out;
    out.reserve(size);
    AppendNumberLine(out, kProtocolVersion, r.ProtocolVersion);
    AppendNumberLine(out, kWrapColumn, r.WrapColumn);
    AppendNumberLine(out, kWtype, r.Wtype);
    AppendTextLine(out, kInformation, r.Information);
    if (!r.Title.empty()) AppendTextLine(out, kTitle, r.Title);
    if (!r.Short.empty()) AppendTextLine(out, kShort, r.Short);
    if (r.HasTo) AppendTextLine(out, kTo, r.To);
    if (r.HasCc) AppendTextLine(out, kCc, r.Cc);
    if (r.HasBcc) AppendTextLine(out, kBcc, r.Bcc);
    if (r.HasSubject) AppendTextLine(out, kSubject, r.Subject);
    if (r.HasAttachment) AppendTextLine(out, kAttachment, r.Attachment);
    AppendNumberLine(out, kCommand, r.Command);
    AppendNumberLine(out, kLacking, r.Lacking);
    AppendTextLine(out, kMfdState, r.MfdState);
    AppendTextLine(out, kDefaultMailDomain, r.DefaultMailDomain);
    if (r.HasBody) {
        out.append(kLineEnd);
        out.append(body);
    }
    return out;
}

TMFDData ReadMFDFile(const std::string& path) {
    // As ParseMFDText of the file's text, but read in pieces: the header gathers up to its empty
    // line and from there the pieces go straight into the body, so a long message is copied once,
    // from the file into the record.
    TMFDData record;
    std::string header;
    std::size_t fileSize = 0;
    bool inBody = false;
    ReadFilePieces(
        path, [&](std::size_t size) { fileSize = size; },
        [&](std::string_view piece) {
            if (inBody) {
                record.Body.append(piece);
                return;
            }
            // The empty line may straddle two pieces.
            const std::size_t searchFrom = header.size() < kBlankLine.size() ? 0 : header.size() - kBlankLine.size() + 1;
            header.append(piece);
            const std::size_t bodyStart = BodyStart(std::string_view(header).substr(searchFrom));
            if (bodyStart == std::string_view::npos) return;
            const std::size_t headerEnd = searchFrom + bodyStart;
            if (fileSize > headerEnd) record.Body.reserve(fileSize - headerEnd);
            record.Body.append(header, headerEnd);
            header.resize(headerEnd);
            inBody = true;
        });
    ParseHeader(header, record);
    record.HasBody = !record.Body.empty();
    return record;
}

bool WriteMFDFile(const TMFDData& record, const std::string& path, Diagnostics& diagnostics) {
    return WriteMFDFile(record, record.Body, path, diagnostics);
}

bool WriteMFDFile(const TMFDData& record, std::string_view body, const std::string& path, Diagnostics& diagnostics,
                  const PiecesWriter& write) {
    // The header lines (with the empty line when there is a body), then the body as it is: a long
    // body goes into the file without first being joined to the header.
    const std::string header = FormatMFDText(record, {});
    return diagnostics.WriteFilePieces(path, {header, record.HasBody ? body : std::string_view()}, write);
}

}  // namespace v5
