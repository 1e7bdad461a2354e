#pragma once
// The properties window described as data: every control with its place in client pixels,
// caption, hint, help topic and page, the five pages and the window's menus. One routine of the
// Win32 view turns the rows into real controls; the tests read the same rows.
#include <array>
#include <span>
#include <string_view>

namespace v5 {

inline constexpr int kPropsClientWidth = 553;
inline constexpr int kPropsClientHeight = 409;
inline constexpr const char* kPropsFontName = "MS Sans Serif";
inline constexpr int kPropsFontPoints = 8;

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

enum class ControlKind {
    PageControl,  // the tabs; the pages' controls sit over its display area
    Button,
    GroupBox,     // a frame; a radio group is a GroupBox followed by its RadioButtons
    RadioButton,
    CheckBox,
    Edit,
    Memo,         // multi-line text box
    ListBox,
    Label,        // one- or two-line static text; its access key focuses the next control
    Text,         // word-wrapped static text
    Notice,       // highlighted static text (red on yellow, sunken)
    Image,        // an icon of the program's resources, named by the caption
    VersionLabel, // static text showing one version value
};

enum ControlFlags : unsigned {
    cfNone = 0,
    cfDefault = 1u << 0,     // marked as a default button
    cfCancel = 1u << 1,      // Esc presses it
    cfHidden = 1u << 2,      // never shown
    cfGroupStart = 1u << 3,  // first radio button of a group
    cfReadOnly = 1u << 4,
    cfCentred = 1u << 5,
    cfSorted = 1u << 6,      // the list keeps its entries sorted (its owner inserts in order)
};

struct ControlSpec {
    ControlKind kind;
    const char* name;
    const char* caption;   // "&" marks the access key
    int page;              // PropsPage
    int x, y, width, height;
    const char* hint;
    int helpTopic;         // 0: none of its own
    const char* container; // the group that frames it, "" for none
    unsigned flags;
    int id;                // control identifier
    int itemHeight;        // list boxes: pixels per entry, 0 for the default
};

std::span<const ControlSpec> PropsControls();
const ControlSpec* FindControl(std::string_view name);
const ControlSpec* FindControlById(int id);

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
};
std::span<const MenuItemSpec> PropsMenuItems();

inline constexpr int kToolsHelpTopic = 1099;
inline constexpr int kHelpTopicBase = 4000;  // the Help button: 4000 + RecentPage

}  // namespace v5
