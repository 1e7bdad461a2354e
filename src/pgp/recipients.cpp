#include "pgp/recipients.h"

#include "base/strings.h"

namespace v5 {
namespace {

// local@domain with something on each side of the one "@", and no blank or control character.
bool LooksLikeAddress(std::string_view s) {
    const std::size_t at = s.find('@');
    if (at == std::string_view::npos || at == 0 || at + 1 == s.size() || s.find('@', at + 1) != std::string_view::npos)
        return false;
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F) return false;
    }
    return true;
}

void AddOnce(std::vector<std::string>& addresses, std::string_view address) {
    for (const std::string& known : addresses)
        if (SameTextIgnoringCase(known, address)) return;
    addresses.emplace_back(address);
}

}  // namespace

std::vector<std::string> BareAddresses(std::string_view list) {
    std::vector<std::string> addresses;
    std::string outside;  // the entry's text outside quotes, comments and angle brackets
    std::string angle;    // what its angle brackets hold
    bool hasAngle = false;
    bool inQuote = false;
    bool inAngle = false;
    int commentDepth = 0;
    const auto endEntry = [&] {
        const std::string_view address = TrimControlAndBlanks(hasAngle ? angle : outside);
        if (LooksLikeAddress(address)) AddOnce(addresses, address);
        outside.clear();
        angle.clear();
        hasAngle = false;
    };
    for (std::size_t i = 0; i < list.size(); ++i) {
        const char c = list[i];
        if (inQuote) {
            if (c == '\\') ++i;
            else if (c == '"') inQuote = false;
        } else if (commentDepth > 0) {
            if (c == '\\') ++i;
            else if (c == '(') ++commentDepth;
            else if (c == ')') --commentDepth;
        } else if (inAngle) {
            if (c == '>') inAngle = false;
            else angle += c;
        } else if (c == '"') {
            inQuote = true;
        } else if (c == '(') {
            commentDepth = 1;
        } else if (c == '<') {
            inAngle = hasAngle = true;
            angle.clear();
        } else if (c == ',' || c == ';') {
            endEntry();
        } else if (c == ':') {
            outside.clear();  // what came before was a group's name
        } else {
            outside += c;
        }
    }
    endEntry();
    return addresses;
}

RequestNote RequestNoteFor(const TMFDData& record) {
    RequestNote note;
    for (const std::string* list : {&record.To, &record.Cc})
        for (const std::string& address : BareAddresses(*list)) AddOnce(note.addresses, address);
    note.hasBcc = record.HasBcc;
    return note;
}

}  // namespace v5
