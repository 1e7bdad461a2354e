#pragma once
// The properties window from the keyboard, as a dialog answers it: Tab and Shift+Tab walk the
// controls in the table's order, the arrow keys move within a radio group, Enter presses the
// focused button or the page's default one (in the address box it presses "A&dd"), Esc presses
// "&Cancel", and an access key acts on its control (a label's or a frame's moves to what it names).
#include <functional>
#include <string>
#include <string_view>

#include "shell/props_layout.h"

namespace v5 {

enum class DialogKey { Tab, ShiftTab, Up, Down, Left, Right, Enter, Escape, Letter };

enum class KeyAction {
    Pass,    // not the window's: the focused control has the key
    Ignore,  // the window's, and nothing to do
    Focus,   // move the focus to `control`
    Press,   // press `control` (a button, check box or radio button), moving the focus to it
};

struct KeyOutcome {
    KeyAction action = KeyAction::Pass;
    std::string control;
    bool operator==(const KeyOutcome&) const = default;
};

// What the window shows at the moment of the key.
struct DialogKeyContext {
    std::string_view focused;  // name of the control that has the focus, "" for none
    int activePage = pgNone;
    // Shown and enabled; for labels and frames, shown.
    std::function<bool(const ControlSpec&)> available;
    // For radio buttons: whether it is the selected item of its group.
    std::function<bool(const ControlSpec&)> checked;
};

// letter: the character typed (for DialogKey::Letter); alt: typed with Alt held.
KeyOutcome PropsDialogKey(DialogKey key, char letter, bool alt, const DialogKeyContext& context);

}  // namespace v5
