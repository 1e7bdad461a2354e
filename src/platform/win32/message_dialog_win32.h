#pragma once
// The standard message dialog over a dialog window of our own, for button sets the system
// message box does not offer. Tests find and answer it as they answer a message box.
#include <windows.h>

#include <string>

#include "platform/message_dialog.h"

namespace v5::win32 {

class Win32MessageDialogs : public MessageDialogs {
public:
    explicit Win32MessageDialogs(std::string helpFile) : helpFile_(std::move(helpFile)) {}
    void setOwner(HWND owner) { owner_ = owner; }
    DialogResult show(const std::string& text, DialogKind kind, unsigned buttons, int helpContext) override;

private:
    HWND owner_ = nullptr;
    std::string helpFile_;
};

}  // namespace v5::win32
