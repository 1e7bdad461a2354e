#include "shell/props_layout.h"

#include "shell/props.h"

namespace v5 {
namespace {

using K = ControlKind;

// Bindings of the common kinds: a button's click, a check box's flag, a radio group's item, a
// list's entries with its selection and handlers.
constexpr PropsBinding Pressed(PropsHandler handler) { return {.handler = handler, .sender = "TButton"}; }
constexpr PropsBinding Pressed(PropsHandler handler, bool (*enabledWhile)(const TfrmProps&)) {
    return {.enabledWhile = enabledWhile, .handler = handler, .sender = "TButton"};
}
constexpr PropsBinding Ticked(bool PropsState::*flag) { return {.field = {.flag = flag}}; }
constexpr PropsBinding ItemOf(std::int32_t PropsState::*item) { return {.field = {.number = item}}; }
constexpr PropsBinding Listed(std::vector<std::string> PropsState::*entries, int PropsState::*selected,
                              PropsHandler click, PropsHandler doubleClick) {
    return {.field = {.entries = entries, .selected = selected}, .handler = click, .doubleClick = doubleClick,
            .sender = "TListBox"};
}

// What the window reads from the model beyond the state.
bool AddressMayBeAdded(const TfrmProps& m) { return m.Window().btnMailingListAddressAddEnabled; }
bool AddressMayBeRemoved(const TfrmProps& m) { return m.Window().btnMailingListAddressRemoveEnabled; }
bool AddressesMayBeChosen(const TfrmProps& m) { return m.Window().lstMailingListAddressEnabled; }
bool NoRunInProgress(const TfrmProps& m) { return m.Window().runButtonsEnabled; }
bool PgpToolsFound(const TfrmProps& m) { return m.Props().btnToolsVisible; }
bool NoMailersInTheActiveList(const TfrmProps& m) { return m.Window().lblNoMailersVisible; }
const std::string& AboutTextOf(const TfrmProps& m) { return m.AboutText(); }
const std::string& VersionValueOf(const TfrmProps& m) { return m.VersionLabel1.Caption(); }

// The page control fills the window above the bottom row of buttons; each page's controls lie in
// its display area (x 12..541, y 30..364). Rows are in tab order; a frame comes before what it
// holds, and the notice before the list it covers.
constexpr PropsControl kControls[] = {
    // kind, name, caption, x, y, w, h, id, flags, hint, page, help, frame, item height; binding
    {{K::PageControl, "PageControl1", "", 8, 8, 537, 360, idPageControl1, cfNone, "", pgNone}},

    // Routine
    {{K::GroupBox, "optProcessing", " Outward &Mail ", 16, 40, 200, 96, 1100, cfNone, "", pgRoutine, 1004},
     ItemOf(&PropsState::optProcessing)},
    {{K::RadioButton, "optProcessing0", "&Encrypt", 28, 60, 176, 20, 1101, cfGroupStart, "", pgRoutine, 0, "optProcessing"}},
    {{K::RadioButton, "optProcessing1", "S&ign", 28, 82, 176, 20, 1102, cfNone, "", pgRoutine, 0, "optProcessing"}},
    {{K::RadioButton, "optProcessing2", "Encrypt &and Sign", 28, 104, 176, 20, 1103, cfNone, "", pgRoutine, 0, "optProcessing"}},
    {{K::Button, "btnRunRoutine", "R&un", 232, 104, 75, 25, 1104, cfDefault, "", pgRoutine},
     Pressed(&TfrmProps::btnRunRoutineClick, NoRunInProgress)},
    {{K::GroupBox, "GroupBox1", " Sign Outward &Forum/News/Mailing List Posting ", 16, 144, 521, 216, 1105, cfNone, "", pgRoutine, 1005}},
    {{K::Label, "lblNewAddress", "&New Mailing List Address", 28, 164, 300, 14, 1106, cfNone, "", pgRoutine, 0, "GroupBox1"}},
    {{K::Edit, "txtMailingListAddress", "", 28, 180, 400, 21, 1107, cfNone, "", pgRoutine, 9101, "GroupBox1"},
     {.field = {.text = &PropsState::txtMailingListAddress}, .handler = &TfrmProps::txtMailingListAddressChange, .sender = "TEdit"}},
    {{K::Button, "btnMailingListAddressAdd", "A&dd", 444, 178, 75, 25, 1108, cfNone, "Add to the list", pgRoutine, 9103, "GroupBox1"},
     {.enabledWhile = AddressMayBeAdded, .handler = &TfrmProps::btnMailingListAddressAddClick, .sender = "TButton"}},
    {{K::Label, "lblMailingListAddresses", "Mail &to these mailing list addresses will be considered \"posts\" and signed - not encrypted", 28, 210, 500, 14, 1109, cfNone, "", pgRoutine, 0, "GroupBox1"}},
    {{K::ListBox, "lstMailingListAddress", "", 28, 226, 400, 124, 1110, cfNone, "", pgRoutine, 9102, "GroupBox1"},
     {.field = {.entries = &PropsState::lstMailingListAddress, .selected = &PropsState::mailingListItemIndex},
      .enabledWhile = AddressesMayBeChosen, .handler = &TfrmProps::lstMailingListAddressClick, .sender = "TListBox"}},
    {{K::Button, "btnMailingListAddressRemove", "Remo&ve", 444, 226, 75, 25, 1111, cfNone, "Remove from the list", pgRoutine, 9104, "GroupBox1"},
     {.enabledWhile = AddressMayBeRemoved, .handler = &TfrmProps::btnMailingListAddressRemoveClick, .sender = "TButton"}},

    // Special
    {{K::GroupBox, "optOutward", " Outward ", 16, 40, 200, 96, 1200, cfNone, "", pgSpecial, 1004},
     ItemOf(&PropsState::optOutward)},
    {{K::RadioButton, "optOutward0", "&Encrypt", 28, 60, 176, 20, 1201, cfGroupStart, "", pgSpecial, 0, "optOutward"}},
    {{K::RadioButton, "optOutward1", "S&ign", 28, 82, 176, 20, 1202, cfNone, "", pgSpecial, 0, "optOutward"}},
    {{K::RadioButton, "optOutward2", "Encrypt &and Sign", 28, 104, 176, 20, 1203, cfNone, "", pgSpecial, 0, "optOutward"}},
    {{K::CheckBox, "chkForceKeyRead", "&Prefer key import over message reading", 232, 48, 297, 20, 1204, cfNone, "", pgSpecial, 3},
     Ticked(&PropsState::chkForceKeyRead)},
    {{K::Button, "btnRun", "R&un", 232, 104, 75, 25, 1205, cfNone, "", pgSpecial, 9200},
     Pressed(&TfrmProps::btnRunClick, NoRunInProgress)},
    {{K::Text, "lblSpecialNote", "Use the options above for the occasional message that requires different processing from the majority of your work. Select the required option above and then press Run to process.", 16, 148, 521, 42, 1206, cfNone, "", pgSpecial}},
    {{K::GroupBox, "GroupBox6", " Direct access to PGP ", 16, 200, 521, 60, 1207, cfNone, "", pgSpecial, 9050}},
    {{K::Button, "btnPGPKeys", "PGP&Keys", 28, 224, 90, 25, 1208, cfNone, "", pgSpecial, 0, "GroupBox6"},
     Pressed(&TfrmProps::btnPGPKeysClick)},
    {{K::Button, "btnPAPTray", "PGP&Tray", 128, 224, 90, 25, 1209, cfNone, "", pgSpecial, 0, "GroupBox6"},
     Pressed(&TfrmProps::btnPAPTrayClick)},
    {{K::Button, "btnTools", "&PGPTools", 228, 224, 90, 25, 1210, cfNone, "", pgSpecial, 0, "GroupBox6"},
     {.shownWhile = PgpToolsFound, .handler = &TfrmProps::btnToolsClick, .sender = "TButton"}},
    {{K::Button, "Button1", "Pre&ferences", 328, 224, 90, 25, 1211, cfNone, "", pgSpecial, 0, "GroupBox6"},
     Pressed(&TfrmProps::Button1Click)},
    {{K::Button, "btnPGPHelp", "Hel&p File", 428, 224, 90, 25, 1212, cfNone, "", pgSpecial, 0, "GroupBox6"},
     Pressed(&TfrmProps::btnPGPHelpClick)},

    // Mailer Choice
    {{K::GroupBox, "GroupBox2", "", 16, 36, 521, 324, 1300, cfNone, "", pgMailerChoice}},
    {{K::Label, "lblLibrary", "&Library: Drag mailers from this list to the active list", 28, 52, 240, 28, 1301, cfNone, "", pgMailerChoice, 0, "GroupBox2"}},
    {{K::ListBox, "lstLibrary", "", 28, 82, 240, 268, 1302, cfSorted, "", pgMailerChoice, 2000, "GroupBox2", 16},
     Listed(&PropsState::lstLibrary, &PropsState::libraryItemIndex, &TfrmProps::lstLibraryClick, &TfrmProps::lstLibraryDblClick)},
    {{K::Label, "lblActive", "&Active List", 285, 52, 240, 28, 1303, cfNone, "", pgMailerChoice, 0, "GroupBox2"}},
    {{K::Notice, "lblNoMailers", "No mailers are in the Active list. You must move at least one from the Library into the Active list.", 293, 90, 224, 60, 1304, cfNone, "", pgMailerChoice, 0, "GroupBox2"},
     {.shownWhile = NoMailersInTheActiveList}},
    {{K::ListBox, "lstActive", "", 285, 82, 240, 268, 1305, cfSorted, "", pgMailerChoice, 2001, "GroupBox2", 13},
     Listed(&PropsState::lstActive, &PropsState::activeItemIndex, &TfrmProps::lstActiveClick, &TfrmProps::lstActiveDblClick)},

    // Options
    {{K::GroupBox, "GroupBox4", " &Tip of the day ", 16, 40, 260, 60, 1400, cfNone, "", pgOptions}},
    {{K::CheckBox, "chkShowTips", "&Enable", 28, 64, 100, 20, 1401, cfNone, "", pgOptions, 9020, "GroupBox4"},
     {.field = {.flag = &PropsState::chkShowTips}, .handler = &TfrmProps::chkShowTipsClick, .sender = "TCheckBox"}},
    {{K::Button, "btnNow", "Show &Now", 150, 62, 90, 25, 1402, cfNone, "", pgOptions, 9020, "GroupBox4"},
     Pressed(&TfrmProps::btnNowClick)},
    {{K::CheckBox, "chkIgnoreWrappedKeys", "Ignore &Wrapped Keys", 16, 116, 260, 20, 1403, cfNone, "", pgOptions, 9022},
     Ticked(&PropsState::chkIgnoreWrappedKeys)},

    // About
    {{K::Image, "Image1", "ABOUTICON", 24, 48, 32, 32, 1500, cfNone, "", pgAbout}},
    {{K::Memo, "txtAbout", "", 72, 44, 457, 312, 1501, cfReadOnly | cfCentred, "", pgAbout}, {.shows = AboutTextOf}},
    // Placed beyond the right edge: it reads version values and is never seen.
    {{K::VersionLabel, "VersionLabel1", "", 560, 44, 150, 14, 1502, cfNone, "", pgAbout}, {.shows = VersionValueOf}},

    // The bottom row, left to right.
    {{K::Button, "btnUnload", "&Unload", 8, 376, 75, 25, idBtnUnload, cfNone, "Remove Vostrel 5 from memory", pgNone, 19},
     Pressed(&TfrmProps::btnUnloadClick)},
    {{K::Button, "btnOk", "&Ok", 304, 376, 75, 25, idBtnOk, cfDefault, "Confirm the changes you made", pgNone},
     Pressed(&TfrmProps::btnOkClick)},
    {{K::Button, "btnCancel", "&Cancel", 387, 376, 75, 25, idBtnCancel, cfCancel, "Close without changes", pgNone},
     Pressed(&TfrmProps::btnCancelClick)},
    {{K::Button, "btnHelp", "&Help", 470, 376, 75, 25, idBtnHelp, cfNone, "", pgNone},
     Pressed(&TfrmProps::btnHelpClick)},

    // The text box through which a processing run hands its result over.
    {{K::Edit, "txtClipboardReceiver", "", 560, 376, 75, 21, idTxtClipboardReceiver, cfHidden, "", pgNone},
     {.field = {.text = &PropsState::txtClipboardReceiver}, .handler = &TfrmProps::txtClipboardReceiverChange, .sender = "TMemo"}},
};

constexpr std::array<PageSpec, kPageCount> kPages = {{
    {"Routine", 4000, true},
    {"Special", 0, true},
    {"Mailer Choice", 4002, false},
    {"Options", 4003, true},
    {"About", 4004, false},
}};

constexpr MenuItemSpec kMenuItems[] = {
    {"popLibrary", "Details1", "&Details", 2101, &TfrmProps::Details1Click},
    {"popLibrary", "MakeActive1", "Make &Active", 2102, &TfrmProps::MakeActive1Click},
    {"PopupMenu1", "detActive", "Details", 2111, &TfrmProps::detActiveClick},
    {"PopupMenu1", "Tolibrary1", "&Return to library", 2112, &TfrmProps::Tolibrary1Click},
    {"PopupMenu2", "popPrintClipboard", "&Print", 2121},
    {"PopupMenu2", "popQuoteClipboard", "&Quote ", 2122},
    {"PopupMenu2", "popSaveClipboard", "&Save to file", 2123},
    {"PopupMenu2", "", "", 0},
    {"PopupMenu2", "popHelp", "&Help", 2125},
    {"PopupMenu2", "", "", 0},
    {"PopupMenu2", "popExit", "E&xit", 2127},
};

}  // namespace

const std::array<PageSpec, kPageCount>& PropsPages() { return kPages; }

std::span<const PropsControl> PropsControls() { return kControls; }

const PropsControl* FindControl(std::string_view name) { return RowNamed(PropsControls(), name); }

const PropsControl* FindControlById(int id) { return RowWithId(PropsControls(), id); }

RadioItem RadioItemOf(const ControlSpec& radio) {
    int item = 0;
    for (const PropsControl& c : kControls) {
        if (&c == &radio) {
            const PropsControl* group = FindControl(radio.container);
            return {group ? group->bind.field.number : nullptr, item};
        }
        if (c.kind == K::RadioButton && std::string_view(c.container) == radio.container) ++item;
    }
    return {nullptr, -1};
}

int RadioItemCount(const ControlSpec& group) {
    int count = 0;
    for (const PropsControl& c : kControls)
        if (c.kind == K::RadioButton && std::string_view(c.container) == group.name) ++count;
    return count;
}

int HelpTopicOf(std::string_view controlName) {
    const PropsControl* control = FindControl(controlName);
    if (!control) return 0;
    if (control->helpTopic) return control->helpTopic;
    if (const PropsControl* frame = FindControl(control->container); frame && frame->helpTopic)
        return frame->helpTopic;
    if (control->page >= 0 && control->page < kPageCount) return kPages[control->page].helpTopic;
    return 0;
}

std::span<const MenuItemSpec> PropsMenuItems() { return kMenuItems; }

}  // namespace v5
