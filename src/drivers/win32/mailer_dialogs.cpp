#include "drivers/win32/mailer_dialogs.h"

#include "platform/win32/modal_dialog.h"
#include "platform/win32/toolkit/form_builder.h"

namespace v5::win32 {
namespace {

using K = ControlKind;

constexpr ControlSpec kChooseMailerControls[] = {
    {K::ListBox, "lstRunningMailers", "", 8, 8, 377, 73, kChooseListId, cfNone, "Choose the one to process"},
    {K::Button, "btnOk", "&Ok", 393, 4, 69, 24, IDOK, cfDefault, "Confirm the selection"},
    {K::Button, "btnCancel", "&Cancel", 393, 33, 69, 24, IDCANCEL, cfNone, "Abandon processing"},
    {K::Button, "btnHelp", "&Help", 393, 63, 69, 24, kChooseHelpId},
};

class ChooseMailerHandler : public DialogHandler {
public:
    explicit ChooseMailerHandler(TfrmChooseMailer& form) : form_(form) {}

    void create(HWND dialog) override {
        BuildForm(dialog, kChooseMailerControls);
        list_ = GetDlgItem(dialog, kChooseListId);
        ok_ = GetDlgItem(dialog, IDOK);
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

    void create(HWND dialog) override {
        const ControlSpec rows[] = {
            {K::Memo, "Text1", form_.Text1.c_str(), 8, 8, 601, 257, kNoControlId, cfReadOnly | cfLargeText},
            {K::Image, "Image1", "MAINICON", 8, 265, 32, 32},
            {K::Button, "btnClose", "Close", 534, 268, 75, 25, kScriptInfoCloseId, cfDefault},
        };
        BuildForm(dialog, rows);
        SetFocus(GetDlgItem(dialog, kScriptInfoCloseId));
    }
    void command(HWND dialog, int id, int code) override {
        if (id == kScriptInfoCloseId && code == BN_CLICKED) EndDialog(dialog, id);
    }

private:
    const TfrmShowScriptInfo& form_;
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
