#pragma once
// The help viewer: the classic help file through WinHelpA when it is installed beside the
// program, otherwise the compiled HTML help beside it through HtmlHelpA.
#include <windows.h>

#include <string>
#include <utility>

#include "platform/help.h"
#include "platform/win32/toolkit/handles.h"

namespace v5::win32 {

class Win32Help : public Help {
public:
    Win32Help(HWND owner, std::string installDir) : owner_(owner), installDir_(std::move(installDir)) {}

    void showTopic(const std::string& helpFile, int topic) override;
    // The viewer window the last topic opened in; null when the help had no such topic.
    HWND lastViewer() const { return lastViewer_; }

private:
    HWND owner_;
    std::string installDir_;
    OwnedLibrary htmlHelp_;
    HWND lastViewer_ = nullptr;
};

}  // namespace v5::win32
