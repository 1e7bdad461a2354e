#pragma once
// The Win32 view of the properties window and the application's hidden top-level window.
#include <windows.h>

#include <string>

#include "shell/props.h"

namespace v5::win32 {

inline constexpr const char* kApplicationWindowClass = "TApplication";
inline constexpr const char* kPropsWindowClass = "TfrmProps";
inline constexpr UINT_PTR kTimer1Id = 1;
inline constexpr int kIdBtnUnload = 1001;

class PropsWindow : public PropsView {
public:
    // Creates the hidden application window and the (hidden) properties window.
    bool create(HINSTANCE instance, const std::string& title);
    void attach(TfrmProps& model, Diagnostics& diagnostics, Application& application);

    HWND applicationWindow() const { return appWindow_; }
    HWND mainWindow() const { return mainWindow_; }

    void hideWindow() override;
    void showWindow() override;
    bool windowVisible() const override;
    void bringToFront() override;
    void hideApplicationWindow() override;

    // Runs a model handler; whatever escapes it is reported with the given sender's class name.
    template <typename Handler>
    void guarded(const char* senderClass, Handler&& handler) {
        try {
            handler();
        } catch (...) {
            if (diagnostics_) diagnostics_->AppExceptionInFlight(senderClass);
        }
    }

    // Sees key presses before the focused control does.
    bool previewKey(const MSG& msg);

private:
    static LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMain(UINT message, WPARAM wParam, LPARAM lParam);

    HWND appWindow_ = nullptr;
    HWND mainWindow_ = nullptr;
    TfrmProps* model_ = nullptr;
    Diagnostics* diagnostics_ = nullptr;
    Application* application_ = nullptr;
};

}  // namespace v5::win32
