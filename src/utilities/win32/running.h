#pragma once
// The progress window on the screen: a borderless strip, always on top, with the "PGP Running"
// panel, a small emblem and a progress bar.
#include <windows.h>

#include "platform/ports.h"
#include "platform/win32/toolkit/handles.h"
#include "utilities/running.h"

namespace v5::win32 {

inline constexpr const char* kRunningClassName = "TfrmRunning";

class Win32Running : public TfrmRunning {
public:
    // Creates the window near the mouse pointer, shows it and lets it paint once.
    Win32Running(HINSTANCE instance, Application& application);

    void SetProgress(int position) override;
    int Progress() const override { return position_; }
    HWND window() const { return window_.get(); }

private:
    OwnedWindow window_;
    HWND ProgressBar1_ = nullptr;  // a child: it goes with the window
    int position_ = kRunningStartPosition;
};

class Win32RunningWindows : public RunningWindows {
public:
    Win32RunningWindows(HINSTANCE instance, Application& application)
        : instance_(instance), application_(application) {}
    std::unique_ptr<TfrmRunning> Create() override {
        return std::make_unique<Win32Running>(instance_, application_);
    }

private:
    HINSTANCE instance_;
    Application& application_;
};

}  // namespace v5::win32
