#include "base/request_note.h"

#include "base/strings.h"

namespace v5 {
namespace {

// An address line holds no control characters and no blanks: anything else is not an address.
bool PlainAddress(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F) return false;
    }
    return true;
}

}  // namespace

std::string FormatRequestNote(const RequestNote& note) {
    std::string text;
    if (note.utf8) text += "Charset: UTF-8\r\n";
    if (note.hasBcc) text += "Bcc: yes\r\n";
    text += "\r\n";
    for (const std::string& address : note.addresses) text += address + "\r\n";
    return text;
}

RequestNote ParseRequestNote(std::string_view text) {
    RequestNote note;
    if (text.size() > kRequestNoteLimit) text = text.substr(0, kRequestNoteLimit);
    bool inHeader = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = TrimControlAndBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (inHeader) {
            if (line.empty()) {
                inHeader = false;
                continue;
            }
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos) continue;
            const std::string_view key = TrimControlAndBlanks(line.substr(0, colon));
            const std::string_view value = TrimControlAndBlanks(line.substr(colon + 1));
            if (SameTextIgnoringCase(key, "Charset")) note.utf8 = SameTextIgnoringCase(value, "UTF-8");
            if (SameTextIgnoringCase(key, "Bcc")) note.hasBcc = SameTextIgnoringCase(value, "yes");
            continue;
        }
        if (!PlainAddress(line) || note.addresses.size() >= kRequestNoteAddressLimit) continue;
        note.addresses.emplace_back(line);
    }
    return note;
}

}  // namespace v5
