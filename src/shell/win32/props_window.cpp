#include "shell/win32/props_window.h"

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
constexpr int kNoticeFontPixels = 13;
// The About text is selected from its start for this many characters.
constexpr int kAboutSelectLength = 9999;

struct Made {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

// The window class and styles that stand for each kind of control.
Made WindowFor(const ControlSpec& c) {
    const DWORD tab = WS_TABSTOP;
    switch (c.kind) {
        case ControlKind::PageControl: return {WC_TABCONTROLA, WS_CLIPSIBLINGS | tab, 0};
        case ControlKind::Button:
            return {"BUTTON", static_cast<DWORD>((c.flags & cfDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | tab, 0};
        case ControlKind::GroupBox: return {"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::RadioButton:
            return {"BUTTON", BS_AUTORADIOBUTTON | static_cast<DWORD>((c.flags & cfGroupStart) ? WS_GROUP | tab : 0), 0};
        case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | tab, 0};
        case ControlKind::Edit: return {"EDIT", ES_AUTOHSCROLL | WS_BORDER | tab, 0};
        case ControlKind::Memo: {
            DWORD style = ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | tab;
            if (c.flags & cfReadOnly) style |= ES_READONLY;
            if (c.flags & cfCentred) style |= ES_CENTER;
            return {"EDIT", style, WS_EX_CLIENTEDGE};
        }
        case ControlKind::ListBox: return {"LISTBOX", LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | tab, WS_EX_CLIENTEDGE};
        case ControlKind::Label: return {"STATIC", SS_LEFT, 0};
        case ControlKind::Text: return {"STATIC", SS_LEFT, 0};
        case ControlKind::Notice: return {"STATIC", SS_CENTER | SS_NOTIFY, WS_EX_STATICEDGE};
        case ControlKind::Image: return {"STATIC", SS_ICON, 0};
        case ControlKind::VersionLabel: return {"STATIC", SS_LEFT, 0};
    }
    return {"STATIC", 0, 0};
}

std::string TextOf(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    length = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

void SetTextIfChanged(HWND hwnd, const std::string& text) {
    if (TextOf(hwnd) != text) SetWindowTextA(hwnd, text.c_str());
}

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

void SetChecked(HWND button, bool checked) {
    const WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageA(button, BM_GETCHECK, 0, 0)) != state) SendMessageA(button, BM_SETCHECK, state, 0);
}

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A frame draws only its line and caption; its inside is filled here, beneath the controls it holds.
WNDPROC gButtonProc = nullptr;
LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT r{};
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    if (message == WM_PAINT) InvalidateRect(hwnd, nullptr, TRUE);
    return CallWindowProcA(gButtonProc, hwnd, message, wParam, lParam);
}

}  // namespace

PropsWindow::~PropsWindow() {
    for (HMENU menu : {toolsMenu_, libraryMenu_, activeMenu_})
        if (menu) DestroyMenu(menu);
    if (font_) DeleteObject(font_);
    if (noticeFont_) DeleteObject(noticeFont_);
    if (noticeBrush_) DeleteObject(noticeBrush_);
}

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
    createControls(instance);
    createMenus();
    SetTimer(mainWindow_, kTimer1Id, kTimer1IntervalMs, nullptr);
    return true;
}

void PropsWindow::createControls(HINSTANCE instance) {
    HDC screen = GetDC(nullptr);
    const int pointsHeight = -MulDiv(kPropsFontPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font_ = CreateFontA(pointsHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kPropsFontName);
    noticeFont_ = CreateFontA(-kNoticeFontPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                              kPropsFontName);
    noticeBrush_ = CreateSolidBrush(kNoticeBack);
    tooltips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, mainWindow_, nullptr, instance, nullptr);

    HWND pageControl = nullptr;
    std::vector<HWND> frames;
    for (const ControlSpec& c : PropsControls()) {
        const Made made = WindowFor(c);
        // Every control starts hidden; the first render shows what belongs on screen.
        const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | made.style;
        HWND hwnd = CreateWindowExA(made.exStyle, made.className, c.caption, style, c.x, c.y, c.width, c.height,
                                    mainWindow_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance,
                                    nullptr);
        if (!hwnd) continue;
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.kind == ControlKind::Notice ? noticeFont_ : font_),
                     FALSE);
        if (c.kind == ControlKind::Image)
            SendMessageA(hwnd, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(instance, c.caption)), 0);
        if (c.kind == ControlKind::ListBox && c.itemHeight > 0) SendMessageA(hwnd, LB_SETITEMHEIGHT, 0, c.itemHeight);
        if (c.kind == ControlKind::PageControl) pageControl = hwnd;
        if (c.kind == ControlKind::GroupBox) {
            frames.push_back(hwnd);
            gButtonProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProc)));
        }
        if (c.hint[0] && tooltips_) {
            TOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V1_SIZE;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = mainWindow_;
            tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
            tool.lpszText = const_cast<char*>(c.hint);
            SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    // Frames and the tabs lie beneath what they hold.
    for (HWND frame : frames) SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (pageControl) SetWindowPos(pageControl, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

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
        HMENU& target = menu == "PopupMenu2" ? toolsMenu_ : menu == "popLibrary" ? libraryMenu_ : activeMenu_;
        if (!target) target = CreatePopupMenu();
        if (m.name[0])
            AppendMenuA(target, MF_STRING, static_cast<UINT_PTR>(m.id), m.caption);
        else
            AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
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

void PropsWindow::collect(const ControlSpec& control, HWND hwnd) {
    PropsState& p = model_->Props();
    const std::string name = control.name;
    if (name.rfind("optProcessing", 0) == 0 && control.kind == ControlKind::RadioButton && Checked(hwnd))
        p.optProcessing = name.back() - '0';
    else if (name.rfind("optOutward", 0) == 0 && control.kind == ControlKind::RadioButton && Checked(hwnd))
        p.optOutward = name.back() - '0';
    else if (name == "chkIgnoreWrappedKeys") p.chkIgnoreWrappedKeys = Checked(hwnd);
    else if (name == "chkForceKeyRead") p.chkForceKeyRead = Checked(hwnd);
    else if (name == "chkShowTips") p.chkShowTips = Checked(hwnd);
    else if (name == "txtMailingListAddress") p.txtMailingListAddress = TextOf(hwnd);
    else if (name == "lstMailingListAddress") p.mailingListItemIndex = ListSelection(hwnd);
    else if (name == "lstLibrary") p.libraryItemIndex = ListSelection(hwnd);
    else if (name == "lstActive") p.activeItemIndex = ListSelection(hwnd);
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

    for (const ControlSpec& c : PropsControls()) {
        HWND hwnd = GetDlgItem(mainWindow_, c.id);
        const std::string name = c.name;
        bool visible = !(c.flags & cfHidden) && (c.page == pgNone || c.page == w.activePage);
        if (name == "lblNoMailers") visible = visible && w.lblNoMailersVisible;
        if (name == "btnTools") visible = visible && p.btnToolsVisible;
        SetVisible(hwnd, visible);
    }

    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i);
        SetChecked(item(("optProcessing" + n).c_str()), p.optProcessing == i);
        SetChecked(item(("optOutward" + n).c_str()), p.optOutward == i);
    }
    SetChecked(item("chkIgnoreWrappedKeys"), p.chkIgnoreWrappedKeys);
    SetChecked(item("chkForceKeyRead"), p.chkForceKeyRead);
    SetChecked(item("chkShowTips"), p.chkShowTips);
    SetTextIfChanged(item("txtMailingListAddress"), p.txtMailingListAddress);
    SyncList(item("lstMailingListAddress"), p.lstMailingListAddress, p.mailingListItemIndex);
    SyncList(item("lstLibrary"), p.lstLibrary, p.libraryItemIndex);
    SyncList(item("lstActive"), p.lstActive, p.activeItemIndex);
    SetEnabled(item("btnMailingListAddressAdd"), w.btnMailingListAddressAddEnabled);
    SetEnabled(item("btnMailingListAddressRemove"), w.btnMailingListAddressRemoveEnabled);
    SetEnabled(item("lstMailingListAddress"), w.lstMailingListAddressEnabled);
    SetEnabled(item("btnRunRoutine"), w.runButtonsEnabled);
    SetEnabled(item("btnRun"), w.runButtonsEnabled);
    SetTextIfChanged(item("txtAbout"), model_->AboutText());
    SetTextIfChanged(item("VersionLabel1"), model_->VersionLabel1.Caption());
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
        TrackPopupMenu(toolsMenu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, mainWindow_, nullptr));
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
    const ControlSpec* c = FindControlById(id);
    if (!c) return;
    const std::string name = c->name;
    TfrmProps& m = *model_;
    collect(*c, GetDlgItem(mainWindow_, id));
    if (c->kind == ControlKind::Button || c->kind == ControlKind::CheckBox || c->kind == ControlKind::RadioButton) {
        if (code != BN_CLICKED) return;
        if (name == "btnOk") guarded("TButton", [&] { m.btnOkClick(); });
        else if (name == "btnCancel") guarded("TButton", [&] { m.btnCancelClick(); });
        else if (name == "btnUnload") guarded("TButton", [&] { m.btnUnloadClick(); });
        else if (name == "btnHelp") guarded("TButton", [&] { m.btnHelpClick(); });
        else if (name == "btnMailingListAddressAdd") guarded("TButton", [&] { m.btnMailingListAddressAddClick(); });
        else if (name == "btnMailingListAddressRemove") guarded("TButton", [&] { m.btnMailingListAddressRemoveClick(); });
        else if (name == "chkShowTips") guarded("TCheckBox", [&] { m.chkShowTipsClick(); });
        else if (name == "btnRunRoutine") guarded("TButton", [&] { m.btnRunRoutineClick(); });
        else if (name == "btnRun") guarded("TButton", [&] { m.btnRunClick(); });
        else if (name == "btnPGPKeys") guarded("TButton", [&] { m.btnPGPKeysClick(); });
        else if (name == "btnPAPTray") guarded("TButton", [&] { m.btnPAPTrayClick(); });
        else if (name == "btnTools") guarded("TButton", [&] { m.btnToolsClick(); });
        else if (name == "Button1") guarded("TButton", [&] { m.Button1Click(); });
        else if (name == "btnPGPHelp") guarded("TButton", [&] { m.btnPGPHelpClick(); });
        else if (name == "btnNow") guarded("TButton", [&] { m.btnNowClick(); });
        else guarded("TButton", [] {});
        return;
    }
    if (name == "txtMailingListAddress" && code == EN_CHANGE)
        guarded("TEdit", [&] { m.txtMailingListAddressChange(); });
    else if (name == "txtClipboardReceiver" && code == EN_CHANGE)
        guarded("TMemo", [&] { m.txtClipboardReceiverChange(TextOf(GetDlgItem(mainWindow_, id))); });
    else if (name == "lstMailingListAddress" && code == LBN_SELCHANGE)
        guarded("TListBox", [&] { m.lstMailingListAddressClick(); });
    else if (name == "lstLibrary" && code == LBN_SELCHANGE)
        guarded("TListBox", [&] { m.lstLibraryClick(); });
    else if (name == "lstActive" && code == LBN_SELCHANGE)
        guarded("TListBox", [&] { m.lstActiveClick(); });
    else if (name == "lstLibrary" && code == LBN_DBLCLK)
        guarded("TListBox", [&] { m.lstLibraryDblClick(); });
    else if (name == "lstActive" && code == LBN_DBLCLK)
        guarded("TListBox", [&] { m.lstActiveDblClick(); });
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
                return reinterpret_cast<LRESULT>(noticeBrush_);
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
