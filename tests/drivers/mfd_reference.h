#pragma once
// A deliberately plain reading of the mail form data file, step by step and with whole copies,
// used to check the fast one in tests and under the fuzzer. Keys are spelled out here on purpose:
// a typo in the product's key table must not be mirrored by the check.
#include <string>
#include <string_view>

#include "base/strings.h"
#include "drivers/mfd.h"

namespace v5::testing {

inline std::string ReferenceFold(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// header: the header part with the LF already put in front; folded: the same, folded.
inline std::string ReferenceValue(std::string_view key, const std::string& header, const std::string& folded) {
    const std::string needle = "\n" + ReferenceFold(key);
    const std::size_t at = folded.find(needle);
    if (at == std::string::npos) return {};
    const std::size_t start = at + needle.size();
    const std::size_t cr = header.find('\r', start);
    if (cr == std::string::npos) return {};
    return std::string(TrimControlAndBlanks(std::string_view(header).substr(start, cr - start + 1)));
}

inline TMFDData ReferenceParse(std::string_view text) {
    TMFDData r;
    std::string header;
    const std::size_t blank = text.find("\r\n\r\n");
    if (blank != std::string_view::npos) {
        r.Body = std::string(text.substr(blank + 4));
        r.HasBody = !r.Body.empty();
        header = std::string(text.substr(0, blank + 4));
    } else {
        header = std::string(text);
    }
    header.insert(header.begin(), '\n');
    const std::string folded = ReferenceFold(header);
    auto value = [&](std::string_view key) { return ReferenceValue(key, header, folded); };
    r.ProtocolVersion = StrToIntOrZero(value("MFD-Protocol-Version:"));
    r.WrapColumn = StrToIntOrZero(value("Wrap-Column:"));
    r.Wtype = StrToIntOrZero(value("Wtype:"));
    r.Command = StrToIntOrZero(value("Command:"));
    r.Lacking = StrToIntOrZero(value("Lacking:"));
    r.Information = value("Information:");
    r.Title = value("Title:");
    r.Short = value("Short:");
    r.To = value("To:");
    r.Cc = value("Cc:");
    r.Bcc = value("Bcc:");
    r.Subject = value("Subject:");
    r.Attachment = value("Attachment:");
    r.MfdState = value("MFD-State:");
    r.DefaultMailDomain = value("Default-Mail-Domain:");
    r.HasTo = !r.To.empty();
    r.HasCc = !r.Cc.empty();
    r.HasBcc = !r.Bcc.empty();
    r.HasSubject = !r.Subject.empty();
    r.HasAttachment = !r.Attachment.empty();
    if (r.Wtype == 3) r.Wtype = 8;
    return r;
}

// What a parsed record becomes after one write and read: CR and LF in header texts turn into
// blanks (a parsed text never has them at either end, so nothing more is trimmed).
inline TMFDData AsWrittenAndRead(TMFDData r) {
    for (std::string* text : {&r.Information, &r.Title, &r.Short, &r.To, &r.Cc, &r.Bcc, &r.Subject,
                              &r.Attachment, &r.MfdState, &r.DefaultMailDomain})
        for (char& c : *text)
            if (c == '\r' || c == '\n') c = ' ';
    return r;
}

}  // namespace v5::testing
