#pragma once
// The processing run's screen and clipboard over Win32.
#include <windows.h>

#include <functional>
#include <utility>

#include "pgp/processing_run.h"
#include "platform/ports.h"
#include "platform/win32/desktop_win32.h"

namespace v5::win32 {

class Win32RunScreen : public RunScreen {
public:
    Win32RunScreen(std::function<void()> hideMainWindow, Application& application)
        : hideMainWindow_(std::move(hideMainWindow)), application_(application) {}
    void hideMainWindow() override { hideMainWindow_(); }
    void setHourglass(bool busy) override;
    void bringWindowToTop(WindowHandle window) override { BringWindowToTop(ToHwnd(window)); }
    void processMessages() override { application_.processMessages(); }

private:
    std::function<void()> hideMainWindow_;
    Application& application_;
};

class Win32RunClipboard : public RunClipboard {
public:
    std::string text() override { return clipboard_.text(); }
    void setText(const std::string& text) override { clipboard_.setText(text); }

private:
    Win32Clipboard clipboard_;
};

}  // namespace v5::win32
