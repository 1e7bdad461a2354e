#pragma once
// The recipients of an outgoing message as the tray program is told them before a request: the
// bare addresses of the message's "To:" and "Cc:" and whether it has blind copies.
#include <string>
#include <string_view>
#include <vector>

#include "base/request_note.h"
#include "drivers/mfd.h"

namespace v5 {

// The bare addresses of an address list as mailers write it: entries separated by commas or
// semicolons, each either an address alone or a display name with the address in angle
// brackets; a comma or semicolon inside a quoted name or a comment separates nothing. Group
// names ("Team: a@b.example;") are passed over, and entries without an "@" are no addresses.
std::vector<std::string> BareAddresses(std::string_view list);

// The note for a request about the message: the addresses of To and Cc, in that order, each
// once (letter case ignored), and whether the message has blind copies. The character set is
// left to the caller.
RequestNote RequestNoteFor(const TMFDData& record);

}  // namespace v5
