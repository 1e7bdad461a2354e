#include "shell/TaskIcon.h"

namespace v5 {

TTaskIcon::TTaskIcon(Tray& tray, std::string toolTip, std::uint32_t id) : tray_(tray), id_(id) {
    SetToolTip(toolTip);
}

TTaskIcon::~TTaskIcon() {
    if (active_) tray_.notify(TrayOperation::Delete, Entry());
}

TrayEntry TTaskIcon::Entry() const {
    TrayEntry entry;
    entry.window = window_;
    entry.id = id_;
    entry.icon = icon_;
    entry.tip = toolTip_;
    return entry;
}

void TTaskIcon::SetActive(bool active) {
    if (active == active_) return;
    if (tray_.notify(active ? TrayOperation::Add : TrayOperation::Delete, Entry())) active_ = active;
}

void TTaskIcon::Modify() {
    if (active_) tray_.notify(TrayOperation::Modify, Entry());
}

void TTaskIcon::SetIcon(std::uintptr_t icon) {
    icon_ = icon;
    Modify();
}

void TTaskIcon::SetToolTip(const std::string& tip) {
    toolTip_ = tip.substr(0, kTrayTipLimit);
    Modify();
}

void TTaskIcon::SetTaskIconID(std::uint32_t id) {
    // The tray knows the entry by its identifier: take the old one away before the new one.
    if (active_ && id != id_) {
        tray_.notify(TrayOperation::Delete, Entry());
        id_ = id;
        if (!tray_.notify(TrayOperation::Add, Entry())) active_ = false;
        return;
    }
    id_ = id;
}

void TTaskIcon::HandleNotification(std::uint32_t id, unsigned mouseMessage) {
    if (id != id_) return;
    switch (mouseMessage) {
        case kWmMouseMove:
            if (OnMouseMove) OnMouseMove();
            break;
        case kWmLButtonUp:
            if (OnClick) OnClick();
            break;
        case kWmLButtonDblClk:
            if (OnDblClick) OnDblClick();
            break;
        case kWmRButtonUp:
            if (OnRightClick) {
                TrayPoint at = tray_.cursorPos();
                OnRightClick(MouseButton::Right, 0, at.x, at.y);
            }
            break;
        default:
            break;
    }
}

}  // namespace v5
