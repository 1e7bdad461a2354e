// The properties window's dialog keys: the key pressed, the window's state as the rules need it,
// and what the rules decide carried out on the real controls.
#include "platform/win32/toolkit/form_builder.h"
#include "shell/props_keyboard.h"
#include "shell/win32/props_window.h"

namespace v5::win32 {

bool PropsWindow::dialogKey(const MSG& msg) {
    if (!model_ || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)) return false;
    const bool alt = GetKeyState(VK_MENU) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_CONTROL) < 0) return false;
    DialogKey key = DialogKey::Letter;
    char letter = 0;
    switch (msg.wParam) {
        case VK_TAB: key = shift ? DialogKey::ShiftTab : DialogKey::Tab; break;
        case VK_UP: key = DialogKey::Up; break;
        case VK_DOWN: key = DialogKey::Down; break;
        case VK_LEFT: key = DialogKey::Left; break;
        case VK_RIGHT: key = DialogKey::Right; break;
        case VK_RETURN: key = DialogKey::Enter; break;
        case VK_ESCAPE: key = DialogKey::Escape; break;
        default:
            if (!((msg.wParam >= 'A' && msg.wParam <= 'Z') || (msg.wParam >= '0' && msg.wParam <= '9'))) return false;
            letter = static_cast<char>(msg.wParam);
    }
    if (alt && key != DialogKey::Letter) return false;
    const std::string focused = nameOf(GetFocus());
    DialogKeyContext context{focused, model_->Window().activePage,
                             [&](const ControlSpec& c) {
                                 HWND h = GetDlgItem(mainWindow_, c.id);
                                 const bool shown = h && IsWindowVisible(h);
                                 const bool named = c.kind == ControlKind::Label || c.kind == ControlKind::GroupBox;
                                 return shown && (named || IsWindowEnabled(h));
                             },
                             [&](const ControlSpec& c) { return IsChecked(GetDlgItem(mainWindow_, c.id)); }};
    const KeyOutcome outcome = PropsDialogKey(key, letter, alt, context);
    HWND target = outcome.control.empty() ? nullptr : item(outcome.control.c_str());
    switch (outcome.action) {
        case KeyAction::Pass: return false;
        case KeyAction::Ignore: return true;
        case KeyAction::Focus:
            SetFocus(target);
            // Text boxes reached from the keyboard come with their text selected, ready to retype.
            if (FindControl(outcome.control)->kind == ControlKind::Edit) SendMessageA(target, EM_SETSEL, 0, -1);
            return true;
        case KeyAction::Press:
            // A button's click goes straight to its handler, which checks for itself what it may
            // do; boxes and radio buttons change their state as a click does.
            if (FindControl(outcome.control)->kind == ControlKind::Button) {
                SendMessageA(mainWindow_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target), BN_CLICKED),
                             reinterpret_cast<LPARAM>(target));
                return true;
            }
            SetFocus(target);
            SendMessageA(target, BM_CLICK, 0, 0);
            return true;
    }
    return false;
}

}  // namespace v5::win32
