#pragma once
// The note Vostrel 5 sends the tray program's hidden window (WM_COPYDATA, tag kRequestNoteTag)
// right before a request: what the clipboard's text alone cannot tell, namely the message's
// recipients, whether it has blind copies, and the character set its text must be signed in.
// A tray program that does not know the tag ignores the message; ours treats the note as a hint
// for the one request that follows and forgets it afterwards.
//
// The text is a header, an empty line and the addresses, one per line (CR LF or LF):
//   Charset: UTF-8        absent: the system's code page
//   Bcc: yes              absent: no blind copies
//
//   alice@example.org
// Unknown header lines are passed over, so either side may grow the note.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace v5 {

// WM_COPYDATA's dwData for the note ("V5RN").
inline constexpr std::uint32_t kRequestNoteTag = 0x56355254u;
// What a receiver reads of a note at most; the rest is ignored.
inline constexpr std::size_t kRequestNoteLimit = 64 * 1024;
inline constexpr std::size_t kRequestNoteAddressLimit = 500;

struct RequestNote {
    std::vector<std::string> addresses;  // bare addresses, as the message gives them
    bool hasBcc = false;
    bool utf8 = false;  // sign the text as UTF-8 rather than in the system's code page

    bool operator==(const RequestNote&) const = default;
};

std::string FormatRequestNote(const RequestNote& note);
// Reads a note from another process: bounded, never throws; what it cannot read is left out.
RequestNote ParseRequestNote(std::string_view text);

}  // namespace v5
