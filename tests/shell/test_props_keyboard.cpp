// The properties window's keys as a dialog answers them, over the window's own table.
#include <gtest/gtest.h>

#include <string>

#include "shell/props_keyboard.h"

namespace v5 {
namespace {

struct Case {
    const char* what;
    int page;
    const char* focused;
    DialogKey key;
    char letter;
    bool alt;
    KeyOutcome expected;
};

TEST(PropsKeyboard, KeysMoveAndPressAsInADialog) {
    using A = KeyAction;
    using D = DialogKey;
    const Case cases[] = {
        // Tab walks the shown, enabled controls in the table's order; a radio group is one stop,
        // at its selected item; the disabled "A&dd" is passed by.
        {"tab from nothing", pgRoutine, "", D::Tab, 0, false, {A::Focus, "PageControl1"}},
        {"tab into a radio group", pgRoutine, "PageControl1", D::Tab, 0, false, {A::Focus, "optProcessing1"}},
        {"tab out of it", pgRoutine, "optProcessing1", D::Tab, 0, false, {A::Focus, "btnRunRoutine"}},
        {"tab passes a disabled button", pgRoutine, "txtMailingListAddress", D::Tab, 0, false, {A::Focus, "lstMailingListAddress"}},
        {"tab goes round", pgRoutine, "btnHelp", D::Tab, 0, false, {A::Focus, "PageControl1"}},
        {"shift+tab back", pgRoutine, "btnRunRoutine", D::ShiftTab, 0, false, {A::Focus, "optProcessing1"}},
        {"shift+tab skips other pages", pgAbout, "btnUnload", D::ShiftTab, 0, false, {A::Focus, "txtAbout"}},
        // Arrows select within a radio group and go round in it; lists keep theirs.
        {"down in a group", pgRoutine, "optProcessing1", D::Down, 0, false, {A::Press, "optProcessing2"}},
        {"down wraps", pgRoutine, "optProcessing2", D::Right, 0, false, {A::Press, "optProcessing0"}},
        {"up wraps", pgSpecial, "optOutward0", D::Up, 0, false, {A::Press, "optOutward2"}},
        {"arrows on a button", pgRoutine, "btnOk", D::Down, 0, false, {A::Ignore, ""}},
        {"arrows in a list", pgMailerChoice, "lstLibrary", D::Down, 0, false, {A::Pass, ""}},
        // Enter: the focused button, "A&dd" in the address box, else the page's default.
        {"enter on a button", pgRoutine, "btnCancel", D::Enter, 0, false, {A::Press, "btnCancel"}},
        {"enter on Routine", pgRoutine, "optProcessing1", D::Enter, 0, false, {A::Press, "btnRunRoutine"}},
        {"enter elsewhere", pgOptions, "chkShowTips", D::Enter, 0, false, {A::Press, "btnOk"}},
        {"enter in the address box, Add disabled", pgRoutine, "txtMailingListAddress", D::Enter, 0, false, {A::Ignore, ""}},
        {"esc", pgMailerChoice, "lstActive", D::Escape, 0, false, {A::Press, "btnCancel"}},
        // Access keys: buttons and boxes are pressed, labels and frames move to what they name;
        // only controls on show count; plain letters are text in a text box.
        {"alt on a button", pgRoutine, "PageControl1", D::Letter, 'U', true, {A::Press, "btnRunRoutine"}},
        {"plain letter on a button", pgRoutine, "btnOk", D::Letter, 'C', false, {A::Press, "btnCancel"}},
        {"label", pgRoutine, "btnOk", D::Letter, 'N', true, {A::Focus, "txtMailingListAddress"}},
        {"frame of a radio group", pgRoutine, "btnOk", D::Letter, 'M', true, {A::Focus, "optProcessing1"}},
        {"frame of other controls", pgRoutine, "btnOk", D::Letter, 'F', true, {A::Focus, "txtMailingListAddress"}},
        {"frame on Options", pgOptions, "btnOk", D::Letter, 'T', true, {A::Focus, "chkShowTips"}},
        {"list label", pgMailerChoice, "btnOk", D::Letter, 'A', true, {A::Focus, "lstActive"}},
        {"radio item", pgRoutine, "btnOk", D::Letter, 'A', true, {A::Press, "optProcessing2"}},
        {"check box", pgOptions, "btnOk", D::Letter, 'W', true, {A::Press, "chkIgnoreWrappedKeys"}},
        {"hidden page's key", pgMailerChoice, "btnOk", D::Letter, 'E', true, {A::Pass, ""}},
        {"typing in a text box", pgRoutine, "txtMailingListAddress", D::Letter, 'C', false, {A::Pass, ""}},
        {"alt in a text box", pgRoutine, "txtMailingListAddress", D::Letter, 'C', true, {A::Press, "btnCancel"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogKeyContext context{c.focused, c.page,
                                 [&](const ControlSpec& x) {
                                     const std::string name = x.name;
                                     if ((x.flags & cfHidden) || name == "btnMailingListAddressAdd" ||
                                         name == "btnMailingListAddressRemove")
                                         return false;
                                     return x.page == pgNone || x.page == c.page;
                                 },
                                 [](const ControlSpec& x) {
                                     const std::string name = x.name;
                                     return name == "optProcessing1" || name == "optOutward0";
                                 }};
        const KeyOutcome got = PropsDialogKey(c.key, c.letter, c.alt, context);
        EXPECT_EQ(static_cast<int>(got.action), static_cast<int>(c.expected.action));
        EXPECT_EQ(got.control, c.expected.control);
    }
}

TEST(PropsKeyboard, EnterInTheAddressBoxAddsWhenItCan) {
    DialogKeyContext context{"txtMailingListAddress", pgRoutine,
                             [](const ControlSpec& x) { return x.page == pgNone || x.page == pgRoutine; }, {}};
    EXPECT_EQ(PropsDialogKey(DialogKey::Enter, 0, false, context),
              (KeyOutcome{KeyAction::Press, "btnMailingListAddressAdd"}));
}

}  // namespace
}  // namespace v5
