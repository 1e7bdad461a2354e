#pragma once
// The windows of the mail form drivers: the mailer choice and the Details of a driver script.
#include <windows.h>

#include "drivers/detection.h"
#include "drivers/driver_library.h"

namespace v5::win32 {

inline constexpr int kChooseListId = 101;
inline constexpr int kChooseHelpId = 102;
inline constexpr int kScriptInfoCloseId = IDCANCEL;

class Win32MailerChoice : public MailerChoiceView {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    void showModal(TfrmChooseMailer& form) override;

private:
    HWND owner_ = nullptr;
};

class Win32ScriptInfo : public ScriptInfoView {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    void showModal(const TfrmShowScriptInfo& form) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace v5::win32
