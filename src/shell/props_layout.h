#pragma once
// The properties window described as data: every control with its place in client pixels,
// caption, hint, help topic and page, bound to the field of the state it shows and to the handler
// its event runs; the five pages and the window's menus. The form builder turns the rows into real
// controls, and the Win32 view walks them to show the state, collect what the user changed and run
// the handlers; the tests read the same rows.
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "platform/form_spec.h"
#include "shell/props_state.h"

namespace v5 {

inline constexpr int kPropsClientWidth = 553;
inline constexpr int kPropsClientHeight = 409;

// Page indexes in page order.
enum PropsPage : int {
    pgNone = -1,  // on the window itself, outside the page control
    pgRoutine = 0,
    pgSpecial = 1,
    pgMailerChoice = 2,
    pgOptions = 3,
    pgAbout = 4,
};
inline constexpr int kPageCount = 5;

struct PageSpec {
    const char* caption;
    int helpTopic;         // 0: none of its own
    bool needsMailers;     // shown only while the Active list holds a mailer
};
const std::array<PageSpec, kPageCount>& PropsPages();

class TfrmProps;

// A handler of the model, run by a control's event.
using PropsHandler = void (TfrmProps::*)();

// What ties a control to the model.
struct PropsBinding {
    // The field of the state that the control shows and, where the user changes it, collects: a
    // check box's flag, a radio group's selected item (bound on the group's frame), an edit's text,
    // a list's entries and selected entry.
    StateField field{};
    // What the control shows of the model beyond the state, and the conditions under which it is
    // shown (its page permitting) and enabled; null: nothing, always, always.
    const std::string& (*shows)(const TfrmProps&) = nullptr;
    bool (*shownWhile)(const TfrmProps&) = nullptr;
    bool (*enabledWhile)(const TfrmProps&) = nullptr;
    // The handler of a click (buttons and boxes), a change (edits) or a new selection (lists), and
    // of a list's double click; the class name that the error report gives for the sender.
    PropsHandler handler = nullptr;
    PropsHandler doubleClick = nullptr;
    const char* sender = "";
};

// A row of the window's table: the control and its binding.
struct PropsControl : ControlSpec {
    PropsBinding bind{};
};

std::span<const PropsControl> PropsControls();
const PropsControl* FindControl(std::string_view name);
const PropsControl* FindControlById(int id);

// A radio button's item number in its group, and the field its group (the frame) is bound to,
// null when the group binds none.
struct RadioItem {
    std::int32_t PropsState::*field;
    int item;
};
RadioItem RadioItemOf(const ControlSpec& radio);
// The number of radio buttons in a group.
int RadioItemCount(const ControlSpec& group);

// The help topic that F1 or the "?" button gives for a control: its own, else its frame's,
// else its page's; 0 when there is none.
int HelpTopicOf(std::string_view controlName);

// Identifiers the view and the tests rely on.
enum PropsControlId : int {
    idBtnUnload = 1001,
    idBtnOk = 1002,
    idBtnCancel = 1003,
    idBtnHelp = 1004,
    idTxtClipboardReceiver = 1005,
    idPageControl1 = 1010,
};

struct MenuItemSpec {
    const char* menu;     // popLibrary, PopupMenu1, PopupMenu2
    const char* name;     // "" for a separator
    const char* caption;  // "" for a separator
    int id;
    // The handler a choice on the lists' menus runs; the tools menu's entries go to the clipboard
    // actions and the help instead.
    PropsHandler handler = nullptr;
};
std::span<const MenuItemSpec> PropsMenuItems();

inline constexpr int kToolsHelpTopic = 1099;
inline constexpr int kHelpTopicBase = 4000;  // the Help button: 4000 + RecentPage

}  // namespace v5
