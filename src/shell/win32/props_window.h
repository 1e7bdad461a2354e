#pragma once
// The Win32 view of the properties window and the application's hidden top-level window.
// The controls are made from the table of props_layout; every event goes to the model, and the
// model's state is shown again afterwards.
#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>
#include <string>
#include <vector>

#include "platform/help.h"
#include "platform/win32/toolkit/handles.h"
#include "shell/props.h"
#include "shell/win32/TaskIcon_win32.h"

namespace v5::win32 {

inline constexpr const char* kApplicationWindowClass = "TApplication";
inline constexpr const char* kPropsWindowClass = "TfrmProps";
inline constexpr UINT_PTR kTimer1Id = 1;
inline constexpr int kIdBtnUnload = idBtnUnload;

class PropsWindow : public PropsView {
public:
    PropsWindow() = default;
    ~PropsWindow() override;
    PropsWindow(const PropsWindow&) = delete;
    PropsWindow& operator=(const PropsWindow&) = delete;

    // Creates the hidden application window and the (hidden) properties window with its controls.
    bool create(HINSTANCE instance, const std::string& title);
    // Connects the model: its tray icons get their windows and pictures here.
    void attach(TfrmProps& model, Diagnostics& diagnostics, Application& application);
    // Where the Help button, F1, the "?" button and the tools menu open their topics.
    void setHelp(Help* help) { help_ = help; }

    HWND applicationWindow() const { return appWindow_; }
    HWND mainWindow() const { return mainWindow_; }

    void hideWindow() override;
    void showWindow() override;
    bool windowVisible() const override;
    void bringToFront() override;
    void hideApplicationWindow() override;
    PixelSize windowSize() const override;
    PixelSize screenSize() const override;
    void moveWindow(int left, int top) override;
    void bringApplicationToFront() override;
    void selectAboutText() override;
    void popupToolsMenu(int x, int y) override;
    void showHelp(const std::string& helpFile, int topic) override;
    void showHelpContents(const std::string& helpFile) override;

    // Runs a model handler; whatever escapes it is reported with the given sender's class name.
    // The model's state is shown afterwards.
    template <typename Handler>
    void guarded(const char* senderClass, Handler&& handler) {
        ++depth_;
        try {
            handler();
        } catch (...) {
            if (diagnostics_) diagnostics_->AppExceptionInFlight(senderClass);
        }
        --depth_;
        if (depth_ == 0) render();
    }

    // Runs the tools menu's clipboard entries, given the entry's name.
    void setToolsMenuHandler(std::function<bool(std::string_view)> handler) { toolsMenuHandler_ = std::move(handler); }

    // Sees key presses before the focused control does.
    bool previewKey(const MSG& msg);
    // The dialog keys (Tab, arrows, Enter, Esc, access keys) as the window's own navigation
    // answers them; false when the key belongs to the focused control.
    bool dialogKey(const MSG& msg);

private:
    static LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK AboutProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The Mailer Choice page's lists and notice: the right-button menus and drag and drop.
    static LRESULT CALLBACK DriverListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void subclassDriverLists();
    LRESULT driverListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    void drop(HWND source, POINT screenPoint);
    // A command of the lists' menus; false for other identifiers.
    bool driverMenuCommand(int id);
    LRESULT handleMain(UINT message, WPARAM wParam, LPARAM lParam);
    void endSession(bool ending);
    void command(int id, int code);
    void createControls();
    void createMenus();
    HWND item(const char* name) const;
    std::string nameOf(HWND control) const;
    // The value of the control that sent a notification, into the model; the model's state onto
    // the controls.
    void collect(const PropsControl& control, HWND hwnd);
    void render();

    HWND appWindow_ = nullptr;
    HWND mainWindow_ = nullptr;
    OwnedBrush noticeBrush_;
    WNDPROC aboutProc_ = nullptr;
    WNDPROC listProc_ = nullptr;
    HWND dragSource_ = nullptr;
    POINT dragStart_{};
    bool dragging_ = false;
    OwnedMenu toolsMenu_;
    OwnedMenu libraryMenu_;
    OwnedMenu activeMenu_;
    std::vector<int> tabPages_;  // page index of each tab shown
    bool rendering_ = false;
    int depth_ = 0;
    HINSTANCE instance_ = nullptr;
    TaskIconWindow taskIcon1Window_;
    TaskIconWindow taskIcon2Window_;
    TfrmProps* model_ = nullptr;
    Diagnostics* diagnostics_ = nullptr;
    Application* application_ = nullptr;
    std::function<bool(std::string_view)> toolsMenuHandler_;
    Help* help_ = nullptr;
};

}  // namespace v5::win32
