#pragma once
// The standard message dialog over a dialog window of our own, for button sets the system
// message box does not offer. Tests find and answer it as they answer a message box.
#include <windows.h>

#include <string>

#include "platform/help.h"
#include "platform/message_dialog.h"

namespace v5::win32 {

class Win32MessageDialogs : public MessageDialogs {
public:
    explicit Win32MessageDialogs(std::string helpFile) : helpFile_(std::move(helpFile)) {}
    void setOwner(HWND owner) { owner_ = owner; }
    // Where the Help button opens its topic.
    void setHelp(Help* help) { help_ = help; }
    DialogResult show(const std::string& text, DialogKind kind, unsigned buttons, int helpContext) override;

private:
    HWND owner_ = nullptr;
    std::string helpFile_;
    Help* help_ = nullptr;
};

}  // namespace v5::win32
