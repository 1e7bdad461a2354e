#include "shell/win32/props_window.h"

#include "platform/win32/toolkit/form_builder.h"
#include "platform/win32/toolkit/window_class.h"
#include "platform/win32/win32_ports.h"

#include <commctrl.h>

namespace v5::win32 {
namespace {

// Windows draws the context-help button only on a window without a minimise button. The "?" is
// kept: it is the mouse's way to a control's help, while Ok, Cancel and the close box already
// send the window back to the tray.
constexpr DWORD kMainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP | WS_EX_CONTROLPARENT;
constexpr COLORREF kNoticeText = RGB(255, 0, 0);
constexpr COLORREF kNoticeBack = RGB(255, 255, 0);
// The About text is selected from its start for this many characters.
constexpr int kAboutSelectLength = 9999;

std::string ListItem(HWND list, int index) {
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    length = SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

// Rewrites only the entries that differ, in place, so the list keeps its scroll position.
void SyncList(HWND list, const std::vector<std::string>& items, int selected) {
    const int wanted = static_cast<int>(items.size());
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < wanted && i < count; ++i) {
        if (ListItem(list, i) == items[i]) continue;
        SendMessageA(list, LB_DELETESTRING, i, 0);
        SendMessageA(list, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(items[i].c_str()));
    }
    for (; count > wanted; --count) SendMessageA(list, LB_DELETESTRING, count - 1, 0);
    for (int i = count; i < wanted; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
    if (selected < 0 || selected >= wanted) selected = -1;
    if (SendMessageA(list, LB_GETCURSEL, 0, 0) != selected) SendMessageA(list, LB_SETCURSEL, selected, 0);
}

int ListSelection(HWND list) {
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

// A control's own visibility, whether or not the window around it is shown.
void SetVisible(HWND hwnd, bool visible) {
    if (((GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0) != visible) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void SetEnabled(HWND hwnd, bool enabled) {
    if ((IsWindowEnabled(hwnd) != FALSE) != enabled) EnableWindow(hwnd, enabled);
}

}  // namespace

PropsWindow::~PropsWindow() = default;

bool PropsWindow::create(HINSTANCE instance, const std::string& title) {
    instance_ = instance;
    INITCOMMONCONTROLSEX common{sizeof common, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    if (!RegisterClassOnce(instance, {kApplicationWindowClass, ApplicationProc, COLOR_BTNFACE, true, "MAINICON"}) ||
        !RegisterClassOnce(instance, {kPropsWindowClass, MainProc, COLOR_BTNFACE, true, "MAINICON"}))
        return false;
    appWindow_ = CreateWindowExA(0, kApplicationWindowClass, title.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                                 nullptr, instance, this);
    if (!appWindow_) return false;

    RECT frame{0, 0, kPropsClientWidth, kPropsClientHeight};
    AdjustWindowRectEx(&frame, kMainStyle, FALSE, kMainExStyle);
    // Owned by the application window, the properties window never gets a taskbar button of its own.
    mainWindow_ = CreateWindowExA(kMainExStyle, kPropsWindowClass, title.c_str(), kMainStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  appWindow_, nullptr, instance, this);
    if (!mainWindow_) return false;
    createControls();
    createMenus();
    SetTimer(mainWindow_, kTimer1Id, kTimer1IntervalMs, nullptr);
    return true;
}

void PropsWindow::createControls() {
    noticeBrush_.reset(CreateSolidBrush(kNoticeBack));
    // Every control starts hidden; the first render shows what belongs on screen.
    BuildForm(mainWindow_, PropsControls(), {FormFont::Program, true});
    subclassDriverLists();
    if (HWND about = item("txtAbout")) {
        SetWindowLongPtrA(about, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        aboutProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(about, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PropsWindow::AboutProc)));
    }
}

void PropsWindow::createMenus() {
    for (const MenuItemSpec& m : PropsMenuItems()) {
        const std::string menu = m.menu;
        OwnedMenu& target = menu == "PopupMenu2" ? toolsMenu_ : menu == "popLibrary" ? libraryMenu_ : activeMenu_;
        if (!target) target.reset(CreatePopupMenu());
        if (m.name[0])
            AppendMenuA(target.get(), MF_STRING, static_cast<UINT_PTR>(m.id), m.caption);
        else
            AppendMenuA(target.get(), MF_SEPARATOR, 0, nullptr);
    }
}

void PropsWindow::attach(TfrmProps& model, Diagnostics& diagnostics, Application& application) {
    model_ = &model;
    diagnostics_ = &diagnostics;
    application_ = &application;
    struct Icon {
        TaskIconWindow& window;
        TTaskIcon& icon;
        const char* name;
        const char* picture;
    } icons[] = {
        {taskIcon1Window_, model.TaskIcon1, "TaskIcon1", "MAINICON"},
        {taskIcon2Window_, model.TaskIcon2, "TaskIcon2", "TOOLSICON"},
    };
    for (Icon& i : icons) {
        TTaskIcon* icon = &i.icon;
        i.window.create(instance_, mainWindow_, i.name, [this, icon](std::uint32_t id, unsigned mouseMessage) {
            guarded("TTaskIcon", [&] { icon->HandleNotification(id, mouseMessage); });
        });
        icon->SetWindow(reinterpret_cast<std::uintptr_t>(i.window.handle()));
        icon->SetIcon(reinterpret_cast<std::uintptr_t>(LoadIconA(instance_, i.picture)));
    }
}

HWND PropsWindow::item(const char* name) const {
    const ControlSpec* c = FindControl(name);
    return c ? GetDlgItem(mainWindow_, c->id) : nullptr;
}

std::string PropsWindow::nameOf(HWND control) const {
    for (HWND h = control; h && h != mainWindow_; h = GetParent(h)) {
        if (GetParent(h) != mainWindow_) continue;
        if (const ControlSpec* c = FindControlById(GetDlgCtrlID(h))) return c->name;
    }
    return {};
}

void PropsWindow::collect(const PropsControl& control, HWND hwnd) {
    PropsState& p = model_->Props();
    const StateField& f = control.bind.field;
    if (control.kind == ControlKind::RadioButton) {
        const RadioItem radio = RadioItemOf(control);
        if (radio.field && IsChecked(hwnd)) p.*radio.field = radio.item;
    } else if (f.flag) {
        p.*f.flag = IsChecked(hwnd);
    } else if (f.text) {
        p.*f.text = ControlText(hwnd);
    } else if (f.selected) {
        p.*f.selected = ListSelection(hwnd);
    }
}

void PropsWindow::render() {
    if (!model_ || !mainWindow_ || rendering_) return;
    rendering_ = true;
    PropsState& p = model_->Props();
    const PropsWindowState& w = model_->Window();

    // The tabs: only the pages that are shown, the active one selected.
    std::vector<int> pages;
    for (int page = 0; page < kPageCount; ++page)
        if (w.tabVisible[page]) pages.push_back(page);
    HWND tabs = item("PageControl1");
    if (pages != tabPages_) {
        SendMessageA(tabs, TCM_DELETEALLITEMS, 0, 0);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            TCITEMA tab{};
            tab.mask = TCIF_TEXT;
            tab.pszText = const_cast<char*>(PropsPages()[pages[i]].caption);
            SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
        }
        tabPages_ = pages;
    }
    int selectedTab = -1;
    for (std::size_t i = 0; i < tabPages_.size(); ++i)
        if (tabPages_[i] == w.activePage) selectedTab = static_cast<int>(i);
    if (SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != selectedTab) SendMessageA(tabs, TCM_SETCURSEL, selectedTab, 0);

    const TfrmProps& model = *model_;
    for (const PropsControl& c : PropsControls()) {
        const bool shown = !(c.flags & cfHidden) && (c.page == pgNone || c.page == w.activePage) &&
                           (!c.bind.shownWhile || c.bind.shownWhile(model));
        SetVisible(GetDlgItem(mainWindow_, c.id), shown);
    }
    for (const PropsControl& c : PropsControls()) {
        HWND hwnd = GetDlgItem(mainWindow_, c.id);
        const StateField& f = c.bind.field;
        if (c.kind == ControlKind::RadioButton) {
            const RadioItem radio = RadioItemOf(c);
            if (radio.field) SetChecked(hwnd, p.*radio.field == radio.item);
        }
        if (f.flag) SetChecked(hwnd, p.*f.flag);
        if (f.text) SetControlText(hwnd, p.*f.text);
        if (f.entries) SyncList(hwnd, p.*f.entries, p.*f.selected);
        if (c.bind.shows) SetControlText(hwnd, c.bind.shows(model));
        if (c.bind.enabledWhile) SetEnabled(hwnd, c.bind.enabledWhile(model));
    }
    rendering_ = false;
}

void PropsWindow::hideWindow() { ShowWindow(mainWindow_, SW_HIDE); }

void PropsWindow::showWindow() {
    render();
    // A window minimised to the tray comes back in its normal size.
    ShowWindow(mainWindow_, IsIconic(mainWindow_) ? SW_RESTORE : SW_SHOW);
}

bool PropsWindow::windowVisible() const { return IsWindowVisible(mainWindow_) != FALSE; }

void PropsWindow::bringToFront() {
    SetForegroundWindow(mainWindow_);
    BringWindowToTop(mainWindow_);
    // As a dialog does, the window opens with its first control focused.
    SetFocus(mainWindow_);
    MSG tab{mainWindow_, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    dialogKey(tab);
}

void PropsWindow::hideApplicationWindow() { ShowWindow(appWindow_, SW_HIDE); }

PixelSize PropsWindow::windowSize() const {
    RECT r{};
    GetWindowRect(mainWindow_, &r);
    return {static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

PixelSize PropsWindow::screenSize() const { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

void PropsWindow::moveWindow(int left, int top) {
    SetWindowPos(mainWindow_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PropsWindow::bringApplicationToFront() { SetForegroundWindow(mainWindow_); }

void PropsWindow::selectAboutText() { SendMessageA(item("txtAbout"), EM_SETSEL, 0, kAboutSelectLength); }

void PropsWindow::popupToolsMenu(int x, int y) {
    // The menu closes when the user clicks elsewhere only if our window is in front.
    SetForegroundWindow(mainWindow_);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(toolsMenu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, mainWindow_, nullptr));
    PostMessageA(mainWindow_, WM_NULL, 0, 0);
    // "&Print", "&Quote " and "&Save to file" act on the clipboard; "E&xit" only closes the menu.
    for (const MenuItemSpec& m : PropsMenuItems()) {
        if (m.id == 0 || static_cast<UINT>(m.id) != chosen) continue;
        const std::string name = m.name;
        if (name == "popHelp")
            model_->mnuHelpClick();
        else if (toolsMenuHandler_)
            // Errors of an action are the popup menu's, as the menu's own window would report them.
            guarded("TPopupList", [&] { toolsMenuHandler_(name); });
    }
}

void PropsWindow::showHelp(const std::string& helpFile, int topic) {
    if (help_) help_->showTopic(helpFile, topic);
}

void PropsWindow::showHelpContents(const std::string& helpFile) {
    WinHelpA(mainWindow_, helpFile.c_str(), HELP_FINDER, 0);
}

bool PropsWindow::previewKey(const MSG& msg) {
    if (!model_ || (msg.hwnd != mainWindow_ && !IsChild(mainWindow_, msg.hwnd))) return false;
    bool handled = false;
    guarded(kPropsWindowClass, [&] {
        handled = model_->FormKeyDown(static_cast<int>(msg.wParam), GetKeyState(VK_CONTROL) < 0,
                                      GetKeyState(VK_MENU) < 0);
        if (!handled && msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
            model_->ShowHelpFor(nameOf(msg.hwnd));
            handled = true;
        }
    });
    return handled || dialogKey(msg);
}

LRESULT CALLBACK PropsWindow::ApplicationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PropsWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && self->model_) {
        switch (message) {
            // A close request to the application is the main window's close request: it goes
            // through the same question, refused while the window is visible.
            case WM_CLOSE:
                PostMessageA(self->mainWindow_, WM_CLOSE, 0, 0);
                return 0;
            case WM_ENDSESSION:
                self->endSession(wParam != 0);
                return 0;
            default:
                break;
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void PropsWindow::endSession(bool ending) {
    if (!ending) return;
    // Windows may end the process as soon as this message is answered: finish the run now.
    application_->terminate();
    EndOfRun();
}

LRESULT CALLBACK PropsWindow::AboutProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PropsWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    LRESULT result = CallWindowProcA(self->aboutProc_, hwnd, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN)
        self->guarded("TMemo", [&] { self->model_->txtAboutMouseDown(); });
    return result;
}

LRESULT CALLBACK PropsWindow::MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PropsWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || !self->model_) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->handleMain(message, wParam, lParam);
}

void PropsWindow::command(int id, int code) {
    if (rendering_) return;
    // Enter and Esc arrive as the dialog answers.
    if (id == IDOK) id = idBtnOk;
    if (id == IDCANCEL) id = idBtnCancel;
    if (driverMenuCommand(id)) return;
    const PropsControl* c = FindControlById(id);
    if (!c) return;
    collect(*c, GetDlgItem(mainWindow_, id));
    PropsHandler handler = nullptr;
    switch (c->kind) {
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            if (code != BN_CLICKED) return;
            // A click on a control without a handler of its own still shows the state again.
            if (!c->bind.handler) {
                guarded("TButton", [] {});
                return;
            }
            handler = c->bind.handler;
            break;
        case ControlKind::Edit:
        case ControlKind::Memo:
            if (code == EN_CHANGE) handler = c->bind.handler;
            break;
        case ControlKind::ListBox:
            if (code == LBN_SELCHANGE) handler = c->bind.handler;
            if (code == LBN_DBLCLK) handler = c->bind.doubleClick;
            break;
        default:
            break;
    }
    if (handler) guarded(c->bind.sender, [&] { (model_->*handler)(); });
}

LRESULT PropsWindow::handleMain(UINT message, WPARAM wParam, LPARAM lParam) {
    // Shown during a run, the window keeps the run's hourglass over it and its controls.
    if (SetBusyCursorFor(message)) return TRUE;
    switch (message) {
        case WM_TIMER:
            if (wParam == kTimer1Id) guarded("TTimer", [&] { model_->Timer1Timer(); });
            return 0;
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(idBtnOk, DC_HASDEFID);
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->idFrom == static_cast<UINT_PTR>(idPageControl1) && header->code == TCN_SELCHANGE && !rendering_) {
                const int tab = static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0));
                if (tab >= 0 && tab < static_cast<int>(tabPages_.size())) {
                    const int page = tabPages_[tab];
                    guarded("TPageControl", [&] {
                        model_->SelectPage(page);
                        model_->PageControl1Change(page);
                    });
                }
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            HWND control = reinterpret_cast<HWND>(lParam);
            if (GetDlgCtrlID(control) == FindControl("lblNoMailers")->id) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, kNoticeText);
                SetBkColor(dc, kNoticeBack);
                return reinterpret_cast<LRESULT>(noticeBrush_.get());
            }
            // Texts, frames and the read-only About text lie on the button face, as in a dialog.
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_HELP: {
            auto* info = reinterpret_cast<HELPINFO*>(lParam);
            if (info->iContextType == HELPINFO_WINDOW) {
                const std::string name = nameOf(static_cast<HWND>(info->hItemHandle));
                guarded(kPropsWindowClass, [&] { model_->ShowHelpFor(name); });
            }
            return TRUE;
        }
        case WM_SIZE:
            guarded(kPropsWindowClass, [&] { model_->FormResize(wParam == SIZE_MINIMIZED); });
            return 0;
        case WM_CLOSE: {
            bool mayClose = false;
            guarded(kPropsWindowClass, [&] { mayClose = model_->FormCloseQuery(); });
            if (mayClose) application_->terminate();
            return 0;
        }
        case WM_QUERYENDSESSION: {
            bool mayClose = false;
            guarded(kPropsWindowClass, [&] { mayClose = model_->FormCloseQuery(); });
            return mayClose ? TRUE : FALSE;
        }
        case WM_ENDSESSION:
            endSession(wParam != 0);
            return 0;
        default:
            return DefWindowProcA(mainWindow_, message, wParam, lParam);
    }
}

}  // namespace v5::win32
