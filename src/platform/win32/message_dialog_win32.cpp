#include "platform/win32/message_dialog_win32.h"

#include <algorithm>
#include <vector>

#include "platform/win32/modal_dialog.h"
#include "platform/win32/toolkit/handles.h"

namespace v5::win32 {
namespace {

struct ButtonKind {
    DialogButton bit;
    const char* caption;
    int id;
    DialogResult result;
};

constexpr ButtonKind kButtons[] = {
    {dbYes, "&Yes", IDYES, DialogResult::drYes},       {dbNo, "&No", IDNO, DialogResult::drNo},
    {dbOk, "OK", IDOK, DialogResult::drOk},             {dbCancel, "Cancel", IDCANCEL, DialogResult::drCancel},
    {dbAbort, "&Abort", IDABORT, DialogResult::drAbort}, {dbRetry, "&Retry", IDRETRY, DialogResult::drRetry},
    {dbIgnore, "&Ignore", IDIGNORE, DialogResult::drIgnore}, {dbHelp, "&Help", IDHELP, DialogResult::drNone},
};

constexpr int kMargin = 12;
constexpr int kIconSide = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;
constexpr int kMaxTextWidth = 420;

LPCSTR IconOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning: return IDI_EXCLAMATION;
        case DialogKind::Error: return IDI_HAND;
        case DialogKind::Information: return IDI_ASTERISK;
        case DialogKind::Confirmation: return IDI_QUESTION;
    }
    return IDI_HAND;
}

SIZE TextSize(const std::string& text) {
    const WindowDC screen(nullptr);
    const SelectedObject font(screen.get(), DialogFont());
    RECT r{0, 0, kMaxTextWidth, 0};
    DrawTextA(screen.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return {r.right - r.left, r.bottom - r.top};
}

class MessageDialogHandler : public DialogHandler {
public:
    MessageDialogHandler(const std::string& text, DialogKind kind, unsigned buttons, int helpContext,
                         const std::string& helpFile, Help* help)
        : text_(text), kind_(kind), buttons_(buttons), helpContext_(helpContext), helpFile_(helpFile), help_(help) {
        for (const ButtonKind& b : kButtons)
            if (buttons & b.bit) shown_.push_back(&b);
        textSize_ = TextSize(text);
    }
    int clientWidth() const {
        const int row = static_cast<int>(shown_.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
        return std::max(row, kIconSide + kMargin + static_cast<int>(textSize_.cx)) + 2 * kMargin;
    }
    int clientHeight() const {
        return kMargin + std::max(kIconSide, static_cast<int>(textSize_.cy)) + kMargin + kButtonHeight + kMargin;
    }
    void create(HWND dialog) override {
        HWND icon = MakeControl(dialog, "STATIC", "", SS_ICON, -1, kMargin, kMargin, kIconSide, kIconSide);
        SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IconOf(kind_))), 0);
        MakeControl(dialog, "STATIC", text_, SS_LEFT | SS_NOPREFIX, -1, kMargin + kIconSide + kMargin, kMargin,
                    textSize_.cx, textSize_.cy);
        const int row = static_cast<int>(shown_.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
        int x = (clientWidth() - row) / 2;
        const int y = clientHeight() - kMargin - kButtonHeight;
        bool first = true;
        for (const ButtonKind* b : shown_) {
            HWND button = MakeControl(dialog, "BUTTON", b->caption,
                                      WS_TABSTOP | (first ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), b->id, x, y,
                                      kButtonWidth, kButtonHeight);
            if (first) SetFocus(button);
            first = false;
            x += kButtonWidth + kButtonGap;
        }
    }
    void command(HWND dialog, int id, int code) override {
        if (code != BN_CLICKED) return;
        if (id == IDHELP) {
            if (help_)
                help_->showTopic(helpFile_, helpContext_);
            else
                WinHelpA(dialog, helpFile_.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(helpContext_));
            return;
        }
        for (const ButtonKind* b : shown_)
            if (b->id == id) {
                result = b->result;
                EndDialog(dialog, id);
                return;
            }
        // Esc without a Cancel button closes the dialog unanswered.
        if (id == IDCANCEL) EndDialog(dialog, 0);
    }
    DialogResult result = DialogResult::drNone;

private:
    std::string text_;
    DialogKind kind_;
    unsigned buttons_;
    int helpContext_;
    std::string helpFile_;
    Help* help_;
    std::vector<const ButtonKind*> shown_;
    SIZE textSize_{};
};

}  // namespace

DialogResult Win32MessageDialogs::show(const std::string& text, DialogKind kind, unsigned buttons, int helpContext) {
    MessageDialogHandler handler(text, kind, buttons, helpContext, helpFile_, help_);
    DialogFrame frame;
    frame.caption = DialogCaption(kind);
    frame.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    frame.clientWidth = handler.clientWidth();
    frame.clientHeight = handler.clientHeight();
    RunModalDialog(owner_, frame, handler);
    return handler.result;
}

}  // namespace v5::win32
