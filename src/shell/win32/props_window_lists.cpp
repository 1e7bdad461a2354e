// The Library and Active lists of the properties window: a button pressed over an entry selects
// it, the right button opens the list's menu over an entry, and an entry dragged from one list
// and dropped on the other (or on the no-mailers notice over the Active list) moves it.
#include "shell/win32/props_window.h"

#include <cstdlib>
#include <string>

namespace v5::win32 {
namespace {

constexpr const char* kSelfProperty = "V5PropsWindow";

int EntryAt(HWND list, LPARAM lParam) {
    const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, lParam);
    if (HIWORD(hit) != 0) return -1;  // below the last entry
    return static_cast<int>(LOWORD(hit));
}

POINT ScreenPoint(HWND window, LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(window, &p);
    return p;
}

}  // namespace

void PropsWindow::subclassDriverLists() {
    for (const char* name : {"lstLibrary", "lstActive"}) {
        HWND control = item(name);
        if (!control) continue;
        SetPropA(control, kSelfProperty, this);
        listProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PropsWindow::DriverListProc)));
    }
}

LRESULT CALLBACK PropsWindow::DriverListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<PropsWindow*>(GetPropA(hwnd, kSelfProperty));
    return self->driverListMessage(hwnd, message, wParam, lParam);
}

LRESULT PropsWindow::driverListMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = listProc_;
    if (!model_) return CallWindowProcA(original, control, message, wParam, lParam);
    const bool library = control == item("lstLibrary");
    switch (message) {
        case WM_RBUTTONDOWN: {
            const int hit = EntryAt(control, lParam);
            bool popup = false;
            guarded("TListBox", [&] {
                popup = library ? model_->lstLibraryMouseDown(hit, true) : model_->lstActiveMouseDown(hit, true);
            });
            if (!popup) return 0;
            const POINT at = ScreenPoint(control, lParam);
            SetForegroundWindow(mainWindow_);
            const UINT chosen = static_cast<UINT>(TrackPopupMenu(library ? libraryMenu_.get() : activeMenu_.get(),
                                                                 TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                                 at.x, at.y, 0, mainWindow_, nullptr));
            PostMessageA(mainWindow_, WM_NULL, 0, 0);
            if (chosen != 0) driverMenuCommand(static_cast<int>(chosen));
            return 0;
        }
        case WM_LBUTTONDOWN: {
            const LRESULT result = CallWindowProcA(original, control, message, wParam, lParam);
            const int hit = EntryAt(control, lParam);
            // Set before the model runs: its refresh lets the mouse's next messages through.
            dragSource_ = hit >= 0 ? control : nullptr;
            dragStart_ = ScreenPoint(control, lParam);
            dragging_ = false;
            guarded("TListBox", [&] {
                if (library) model_->lstLibraryMouseDown(hit, false);
                else model_->lstActiveMouseDown(hit, false);
            });
            return result;
        }
        case WM_MOUSEMOVE:
            if (dragSource_ == control && (wParam & MK_LBUTTON)) {
                const POINT at = ScreenPoint(control, lParam);
                if (!dragging_ && (std::abs(at.x - dragStart_.x) > GetSystemMetrics(SM_CXDRAG) ||
                                   std::abs(at.y - dragStart_.y) > GetSystemMetrics(SM_CYDRAG))) {
                    dragging_ = true;
                    SetCapture(control);
                }
                if (dragging_) {
                    // Over a place that takes the entry, the pointer says so.
                    HWND over = WindowFromPoint(at);
                    const bool takes = over != control &&
                                       (over == item("lstLibrary") || over == item("lstActive") || over == item("lblNoMailers"));
                    SetCursor(LoadCursor(nullptr, takes ? IDC_ARROW : IDC_NO));
                    return 0;
                }
            }
            break;
        case WM_LBUTTONUP:
            if (dragSource_ == control && dragging_) {
                dragging_ = false;
                dragSource_ = nullptr;
                ReleaseCapture();
                CallWindowProcA(original, control, message, wParam, lParam);
                drop(control, ScreenPoint(control, lParam));
                return 0;
            }
            dragSource_ = nullptr;
            break;
        case WM_CAPTURECHANGED:
            if (dragging_ && reinterpret_cast<HWND>(lParam) != control) dragging_ = false, dragSource_ = nullptr;
            break;
        default:
            break;
    }
    return CallWindowProcA(original, control, message, wParam, lParam);
}

void PropsWindow::drop(HWND source, POINT screenPoint) {
    HWND target = WindowFromPoint(screenPoint);
    const bool fromLibrary = source == item("lstLibrary");
    if (target == item("lstActive") || target == item("lblNoMailers"))
        guarded("TListBox", [&] { model_->lstActiveDragDrop(fromLibrary); });
    else if (target == item("lstLibrary"))
        guarded("TListBox", [&] { model_->lstLibraryDragDrop(!fromLibrary); });
}

bool PropsWindow::driverMenuCommand(int id) {
    for (const MenuItemSpec& m : PropsMenuItems()) {
        if (m.id != id || m.id == 0 || !m.handler) continue;
        guarded("TMenuItem", [&] { (model_->*m.handler)(); });
        return true;
    }
    return false;
}

}  // namespace v5::win32
