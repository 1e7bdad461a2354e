#pragma once
// A driver script as the script engine reads it: a profile-style text whose sections say which
// mailer it serves, how to find the mailer's window and its text window, and how to read and
// replace the text. The format is described for driver writers in docs/driver-package.md.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "drivers/winop.h"

namespace v5::sbm {

// A script that cannot be carried out; the message names the line or the key at fault.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TextAccess { WindowText, Menu };

// A menu entry: the menu of the bar, and the entry in it (each found by a part of its text).
struct MenuPath {
    std::string menu;
    std::string item;
};

struct SbmScript {
    std::string Short;
    std::string Information;
    std::int32_t Wtype = 1;
    // Leading "To:", "Cc:", "Bcc:" and "Subject:" lines up to the first empty line are the
    // message's header: split off on reading, kept above the new body on writing.
    bool headerLines = false;
    WINDOW mailer;      // the mailer's window
    WINDOW textWindow;  // its text window; Parent holds the mailer's criteria
    TextAccess read = TextAccess::WindowText;
    TextAccess write = TextAccess::WindowText;
    MenuPath selectAll, copy, paste;
};

// Throws ScriptError for anything the engine could not act on safely: a missing section or
// key, an unknown section or key, a key given twice, a value out of its choices, a line that
// is neither a section, a key nor a comment.
SbmScript ParseSbmScript(std::string_view text);

}  // namespace v5::sbm
