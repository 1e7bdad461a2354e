#pragma once
// TTaskIcon: one icon in the system tray. The component registers its entry with the tray,
// keeps it up to date while active, and turns the tray's mouse notifications into events.
#include <cstdint>
#include <functional>
#include <string>

namespace v5 {

enum class TrayOperation { Add, Modify, Delete };

// Mouse messages as the tray reports them in its callback.
inline constexpr unsigned kWmMouseMove = 0x0200;
inline constexpr unsigned kWmLButtonUp = 0x0202;
inline constexpr unsigned kWmLButtonDblClk = 0x0203;
inline constexpr unsigned kWmRButtonUp = 0x0205;

inline constexpr unsigned kTrayCallbackMessage = 1024;  // the first user message number
inline constexpr unsigned kTrayFlags = 7;              // message + icon + tip
inline constexpr std::size_t kTrayTipLimit = 63;

// What one registration tells the tray.
struct TrayEntry {
    std::uintptr_t window = 0;  // the component's own window, which receives the callbacks
    std::uint32_t id = 0;
    std::uint32_t flags = kTrayFlags;
    std::uint32_t callbackMessage = kTrayCallbackMessage;
    std::uintptr_t icon = 0;
    std::string tip;
};

struct TrayPoint {
    int x = 0;
    int y = 0;
};

// The platform's tray and pointer.
class Tray {
public:
    virtual ~Tray() = default;
    // False when the tray refused the call.
    virtual bool notify(TrayOperation operation, const TrayEntry& entry) = 0;
    virtual TrayPoint cursorPos() = 0;
};

enum class MouseButton { Left, Right, Middle };

class TTaskIcon {
public:
    TTaskIcon(Tray& tray, std::string toolTip, std::uint32_t id = 0);
    ~TTaskIcon();
    TTaskIcon(const TTaskIcon&) = delete;
    TTaskIcon& operator=(const TTaskIcon&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool active);
    std::uintptr_t Icon() const { return icon_; }
    void SetIcon(std::uintptr_t icon);
    const std::string& ToolTip() const { return toolTip_; }
    // Longer tips are cut to the tray's 63 characters.
    void SetToolTip(const std::string& tip);
    std::uint32_t TaskIconID() const { return id_; }
    void SetTaskIconID(std::uint32_t id);
    // The window that receives the tray's callbacks; set once by the view.
    void SetWindow(std::uintptr_t window) { window_ = window; }
    std::uintptr_t Window() const { return window_; }

    // A tray callback: the icon's identifier and the mouse message.
    void HandleNotification(std::uint32_t id, unsigned mouseMessage);

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnMouseMove;
    // The button, the shift state (always empty here) and the cursor's screen position.
    std::function<void(MouseButton, unsigned shift, int x, int y)> OnRightClick;

private:
    TrayEntry Entry() const;
    void Modify();

    Tray& tray_;
    bool active_ = false;
    std::uintptr_t icon_ = 0;
    std::string toolTip_;
    std::uint32_t id_ = 0;
    std::uintptr_t window_ = 0;
};

}  // namespace v5
