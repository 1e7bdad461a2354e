#include "shell/props_layout.h"

namespace v5 {
namespace {

using K = ControlKind;

// The page control fills the window above the bottom row of buttons; each page's controls lie in
// its display area (x 12..541, y 30..364). Rows are in tab order; a frame comes before what it
// holds, and the notice before the list it covers.
constexpr ControlSpec kControls[] = {
    // kind, name, caption, page, x, y, w, h, hint, help, container, flags, id, item height
    {K::PageControl, "PageControl1", "", pgNone, 8, 8, 537, 360, "", 0, "", cfNone, idPageControl1, 0},

    // Routine
    {K::GroupBox, "optProcessing", " Outward &Mail ", pgRoutine, 16, 40, 200, 96, "", 1004, "", cfNone, 1100, 0},
    {K::RadioButton, "optProcessing0", "&Encrypt", pgRoutine, 28, 60, 176, 20, "", 0, "optProcessing", cfGroupStart, 1101, 0},
    {K::RadioButton, "optProcessing1", "S&ign", pgRoutine, 28, 82, 176, 20, "", 0, "optProcessing", cfNone, 1102, 0},
    {K::RadioButton, "optProcessing2", "Encrypt &and Sign", pgRoutine, 28, 104, 176, 20, "", 0, "optProcessing", cfNone, 1103, 0},
    {K::Button, "btnRunRoutine", "R&un", pgRoutine, 232, 104, 75, 25, "", 0, "", cfDefault, 1104, 0},
    {K::GroupBox, "GroupBox1", " Sign Outward &Forum/News/Mailing List Posting ", pgRoutine, 16, 144, 521, 216, "", 1005, "", cfNone, 1105, 0},
    {K::Label, "lblNewAddress", "&New Mailing List Address", pgRoutine, 28, 164, 300, 14, "", 0, "GroupBox1", cfNone, 1106, 0},
    {K::Edit, "txtMailingListAddress", "", pgRoutine, 28, 180, 400, 21, "", 9101, "GroupBox1", cfNone, 1107, 0},
    {K::Button, "btnMailingListAddressAdd", "A&dd", pgRoutine, 444, 178, 75, 25, "Add to the list", 9103, "GroupBox1", cfNone, 1108, 0},
    {K::Label, "lblMailingListAddresses", "Mail &to these mailing list addresses will be considered \"posts\" and signed - not encrypted", pgRoutine, 28, 210, 500, 14, "", 0, "GroupBox1", cfNone, 1109, 0},
    {K::ListBox, "lstMailingListAddress", "", pgRoutine, 28, 226, 400, 124, "", 9102, "GroupBox1", cfNone, 1110, 0},
    {K::Button, "btnMailingListAddressRemove", "Remo&ve", pgRoutine, 444, 226, 75, 25, "Remove from the list", 9104, "GroupBox1", cfNone, 1111, 0},

    // Special
    {K::GroupBox, "optOutward", " Outward ", pgSpecial, 16, 40, 200, 96, "", 1004, "", cfNone, 1200, 0},
    {K::RadioButton, "optOutward0", "&Encrypt", pgSpecial, 28, 60, 176, 20, "", 0, "optOutward", cfGroupStart, 1201, 0},
    {K::RadioButton, "optOutward1", "S&ign", pgSpecial, 28, 82, 176, 20, "", 0, "optOutward", cfNone, 1202, 0},
    {K::RadioButton, "optOutward2", "Encrypt &and Sign", pgSpecial, 28, 104, 176, 20, "", 0, "optOutward", cfNone, 1203, 0},
    {K::CheckBox, "chkForceKeyRead", "&Prefer key import over message reading", pgSpecial, 232, 48, 297, 20, "", 3, "", cfNone, 1204, 0},
    {K::Button, "btnRun", "R&un", pgSpecial, 232, 104, 75, 25, "", 9200, "", cfNone, 1205, 0},
    {K::Text, "lblSpecialNote", "Use the options above for the occasional message that requires different processing from the majority of your work. Select the required option above and then press Run to process.", pgSpecial, 16, 148, 521, 42, "", 0, "", cfNone, 1206, 0},
    {K::GroupBox, "GroupBox6", " Direct access to PGP ", pgSpecial, 16, 200, 521, 60, "", 9050, "", cfNone, 1207, 0},
    {K::Button, "btnPGPKeys", "PGP&Keys", pgSpecial, 28, 224, 90, 25, "", 0, "GroupBox6", cfNone, 1208, 0},
    {K::Button, "btnPAPTray", "PGP&Tray", pgSpecial, 128, 224, 90, 25, "", 0, "GroupBox6", cfNone, 1209, 0},
    {K::Button, "btnTools", "&PGPTools", pgSpecial, 228, 224, 90, 25, "", 0, "GroupBox6", cfNone, 1210, 0},
    {K::Button, "Button1", "Pre&ferences", pgSpecial, 328, 224, 90, 25, "", 0, "GroupBox6", cfNone, 1211, 0},
    {K::Button, "btnPGPHelp", "Hel&p File", pgSpecial, 428, 224, 90, 25, "", 0, "GroupBox6", cfNone, 1212, 0},

    // Mailer Choice
    {K::GroupBox, "GroupBox2", "", pgMailerChoice, 16, 36, 521, 324, "", 0, "", cfNone, 1300, 0},
    {K::Label, "lblLibrary", "&Library: Drag mailers from this list to the active list", pgMailerChoice, 28, 52, 240, 28, "", 0, "GroupBox2", cfNone, 1301, 0},
    {K::ListBox, "lstLibrary", "", pgMailerChoice, 28, 82, 240, 268, "", 2000, "GroupBox2", cfSorted, 1302, 16},
    {K::Label, "lblActive", "&Active List", pgMailerChoice, 285, 52, 240, 28, "", 0, "GroupBox2", cfNone, 1303, 0},
    {K::Notice, "lblNoMailers", "No mailers are in the Active list. You must move at least one from the Library into the Active list.", pgMailerChoice, 293, 90, 224, 60, "", 0, "GroupBox2", cfNone, 1304, 0},
    {K::ListBox, "lstActive", "", pgMailerChoice, 285, 82, 240, 268, "", 2001, "GroupBox2", cfSorted, 1305, 13},

    // Options
    {K::GroupBox, "GroupBox4", " &Tip of the day ", pgOptions, 16, 40, 260, 60, "", 0, "", cfNone, 1400, 0},
    {K::CheckBox, "chkShowTips", "&Enable", pgOptions, 28, 64, 100, 20, "", 9020, "GroupBox4", cfNone, 1401, 0},
    {K::Button, "btnNow", "Show &Now", pgOptions, 150, 62, 90, 25, "", 9020, "GroupBox4", cfNone, 1402, 0},
    {K::CheckBox, "chkIgnoreWrappedKeys", "Ignore &Wrapped Keys", pgOptions, 16, 116, 260, 20, "", 9022, "", cfNone, 1403, 0},

    // About
    {K::Image, "Image1", "ABOUTICON", pgAbout, 24, 48, 32, 32, "", 0, "", cfNone, 1500, 0},
    {K::Memo, "txtAbout", "", pgAbout, 72, 44, 457, 312, "", 0, "", cfReadOnly | cfCentred, 1501, 0},
    // Placed beyond the right edge: it reads version values and is never seen.
    {K::VersionLabel, "VersionLabel1", "", pgAbout, 560, 44, 150, 14, "", 0, "", cfNone, 1502, 0},

    // The bottom row, left to right.
    {K::Button, "btnUnload", "&Unload", pgNone, 8, 376, 75, 25, "Remove Vostrel 5 from memory", 19, "", cfNone, idBtnUnload, 0},
    {K::Button, "btnOk", "&Ok", pgNone, 304, 376, 75, 25, "Confirm the changes you made", 0, "", cfDefault, idBtnOk, 0},
    {K::Button, "btnCancel", "&Cancel", pgNone, 387, 376, 75, 25, "Close without changes", 0, "", cfCancel, idBtnCancel, 0},
    {K::Button, "btnHelp", "&Help", pgNone, 470, 376, 75, 25, "", 0, "", cfNone, idBtnHelp, 0},

    // The text box through which a processing run hands its result over.
    {K::Edit, "txtClipboardReceiver", "", pgNone, 560, 376, 75, 21, "", 0, "", cfHidden, idTxtClipboardReceiver, 0},
};

constexpr std::array<PageSpec, kPageCount> kPages = {{
    {"Routine", 4000, true},
    {"Special", 0, true},
    {"Mailer Choice", 4002, false},
    {"Options", 4003, true},
    {"About", 4004, false},
}};

constexpr MenuItemSpec kMenuItems[] = {
    {"popLibrary", "Details1", "&Details", 2101},
    {"popLibrary", "MakeActive1", "Make &Active", 2102},
    {"PopupMenu1", "detActive", "Details", 2111},
    {"PopupMenu1", "Tolibrary1", "&Return to library", 2112},
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

std::span<const ControlSpec> PropsControls() { return kControls; }

const ControlSpec* FindControl(std::string_view name) {
    for (const ControlSpec& c : kControls)
        if (name == c.name) return &c;
    return nullptr;
}

const ControlSpec* FindControlById(int id) {
    for (const ControlSpec& c : kControls)
        if (c.id == id) return &c;
    return nullptr;
}

int HelpTopicOf(std::string_view controlName) {
    const ControlSpec* control = FindControl(controlName);
    if (!control) return 0;
    if (control->helpTopic) return control->helpTopic;
    if (const ControlSpec* frame = FindControl(control->container); frame && frame->helpTopic)
        return frame->helpTopic;
    if (control->page >= 0 && control->page < kPageCount) return kPages[control->page].helpTopic;
    return 0;
}

std::span<const MenuItemSpec> PropsMenuItems() { return kMenuItems; }

}  // namespace v5
