#include "drivers/win32/mailer_dialogs.h"

#include <commctrl.h>

#include "platform/win32/modal_dialog.h"

namespace v5::win32 {
namespace {

constexpr int kButtonLeft = 393;
constexpr int kButtonWidth = 69;
constexpr int kButtonHeight = 24;

void AddHint(HWND tips, HWND dialog, HWND control, const char* text) {
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

class ChooseMailerHandler : public DialogHandler {
public:
    explicit ChooseMailerHandler(TfrmChooseMailer& form) : form_(form) {}

    void create(HWND dialog) override {
        list_ = MakeControl(dialog, "LISTBOX", "", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                            kChooseListId, 8, 8, 377, 73, WS_EX_CLIENTEDGE);
        ok_ = MakeControl(dialog, "BUTTON", "&Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, kButtonLeft, 4, kButtonWidth,
                          kButtonHeight);
        HWND cancel = MakeControl(dialog, "BUTTON", "&Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, kButtonLeft, 33,
                                  kButtonWidth, kButtonHeight);
        MakeControl(dialog, "BUTTON", "&Help", BS_PUSHBUTTON | WS_TABSTOP, kChooseHelpId, kButtonLeft, 63,
                    kButtonWidth, kButtonHeight);
        HWND tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, nullptr, nullptr);
        if (tips) {
            AddHint(tips, dialog, list_, "Choose the one to process");
            AddHint(tips, dialog, ok_, "Confirm the selection");
            AddHint(tips, dialog, cancel, "Abandon processing");
        }
        for (const std::string& entry : form_.lstRunningMailers)
            SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        form_.FormShow();
        render();
        SetFocus(list_);
    }

    void command(HWND dialog, int id, int code) override {
        bool close = false;
        if (id == kChooseListId && code == LBN_SELCHANGE) {
            const LRESULT index = SendMessageA(list_, LB_GETCURSEL, 0, 0);
            form_.lstRunningMailersClick(index == LB_ERR ? -1 : static_cast<int>(index));
        } else if (id == kChooseListId && code == LBN_DBLCLK) {
            close = form_.lstRunningMailersDblClick();
        } else if (id == IDOK && code == BN_CLICKED) {
            close = form_.btnOkClick();
        } else if (id == IDCANCEL && code == BN_CLICKED) {
            form_.btnCancelClick();
            close = true;
        } else if (id == kChooseHelpId && code == BN_CLICKED) {
            form_.btnHelpClick();
        }
        if (close) EndDialog(dialog, id);
        else render();
    }

private:
    void render() {
        if (SendMessageA(list_, LB_GETCURSEL, 0, 0) != form_.itemIndex) SendMessageA(list_, LB_SETCURSEL, form_.itemIndex, 0);
        EnableWindow(ok_, form_.btnOkEnabled);
    }

    TfrmChooseMailer& form_;
    HWND list_ = nullptr;
    HWND ok_ = nullptr;
};

class ScriptInfoHandler : public DialogHandler {
public:
    explicit ScriptInfoHandler(const TfrmShowScriptInfo& form) : form_(form) {}
    ~ScriptInfoHandler() override {
        if (font_) DeleteObject(font_);
    }

    void create(HWND dialog) override {
        HWND memo = MakeControl(dialog, "EDIT", form_.Text1, ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_TABSTOP,
                                -1, 8, 8, 601, 257, WS_EX_CLIENTEDGE);
        font_ = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
        SendMessageA(memo, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        HWND icon = MakeControl(dialog, "STATIC", "", SS_ICON, -1, 8, 265, 32, 32);
        SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(GetModuleHandleA(nullptr), "MAINICON")), 0);
        HWND close = MakeControl(dialog, "BUTTON", "Close", BS_DEFPUSHBUTTON | WS_TABSTOP, kScriptInfoCloseId, 534, 268,
                                 75, 25);
        SetFocus(close);
    }
    void command(HWND dialog, int id, int code) override {
        if (id == kScriptInfoCloseId && code == BN_CLICKED) EndDialog(dialog, id);
    }

private:
    const TfrmShowScriptInfo& form_;
    HFONT font_ = nullptr;
};

}  // namespace

void Win32MailerChoice::showModal(TfrmChooseMailer& form) {
    ChooseMailerHandler handler(form);
    DialogFrame frame;
    frame.caption = kChooseMailerCaption;
    frame.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    frame.exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
    frame.clientWidth = kChooseMailerClientWidth;
    frame.clientHeight = kChooseMailerClientHeight;
    RunModalDialog(owner_, frame, handler);
    form.FormClose();
}

void Win32ScriptInfo::showModal(const TfrmShowScriptInfo& form) {
    ScriptInfoHandler handler(form);
    DialogFrame frame;
    frame.caption = form.Caption;
    frame.style = WS_POPUP | WS_CAPTION | WS_BORDER;
    frame.exStyle = 0;
    frame.clientWidth = 618;
    frame.clientHeight = 297;
    frame.fx = 0.33;
    frame.fy = 0.33;
    RunModalDialog(owner_, frame, handler);
}

}  // namespace v5::win32
