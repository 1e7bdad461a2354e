#pragma once
// What the program needs of the desktop to reach into other programs' windows: the window tree
// in Z order, what each window shows of itself, its menu bar, and the few synchronous messages
// the program sends. The real adapter lives in win32/; tests use a desktop built as a tree.
#include <cstdint>
#include <string>

namespace v5 {

// Handles as the platform gives them; 0 is "none".
using WindowHandle = std::uintptr_t;
using MenuHandle = std::uintptr_t;

// A window's rectangle in screen coordinates.
struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool operator==(const ScreenRect&) const = default;
};

// Texts read from other windows are cut to what the program ever looks at.
inline constexpr std::size_t kMaxWindowNameChars = 99;  // titles and class names
inline constexpr std::size_t kMaxMenuTextChars = 127;   // menu entry texts

class Desktop {
public:
    virtual ~Desktop() = default;

    // The window tree. A handle that no longer names a window gives 0, empty texts and zeros.
    virtual WindowHandle firstTopLevel() = 0;
    virtual WindowHandle nextSibling(WindowHandle window) = 0;  // the next window in Z order
    virtual WindowHandle firstChild(WindowHandle window) = 0;
    // The parent of a child window, or the owner of an owned top-level window.
    virtual WindowHandle parent(WindowHandle window) = 0;

    virtual std::string title(WindowHandle window) = 0;      // at most kMaxWindowNameChars
    virtual std::string className(WindowHandle window) = 0;  // at most kMaxWindowNameChars
    virtual std::uint32_t style(WindowHandle window) = 0;
    virtual ScreenRect rect(WindowHandle window) = 0;
    virtual bool minimised(WindowHandle window) = 0;
    // Shown on the screen: the window and every window above it carry the visible style.
    virtual bool visible(WindowHandle window) = 0;
    // The window belongs to this program's own process.
    virtual bool ownProcess(WindowHandle window) = 0;
    // The id of the process that made the window; 0 for a handle that names no window.
    virtual std::uint32_t processId(WindowHandle window) = 0;
    virtual void setForeground(WindowHandle window) = 0;

    // Menus. An entry's identifier is 0xFFFFFFFF when it opens a submenu or is not there.
    virtual MenuHandle menuOf(WindowHandle window) = 0;
    virtual int menuItemCount(MenuHandle menu) = 0;  // -1 for a handle that is no menu
    virtual std::string menuItemText(MenuHandle menu, int position) = 0;  // at most kMaxMenuTextChars
    virtual MenuHandle subMenu(MenuHandle menu, int position) = 0;
    virtual std::uint32_t menuItemId(MenuHandle menu, int position) = 0;

    // Synchronous messages: each returns when the window's program has handled it.
    virtual void sendCommand(WindowHandle window, std::uint32_t id) = 0;
    // Hands the window a block of bytes under a tag (WM_COPYDATA). A program that does not
    // answer within a few seconds is given up on, so that it cannot hang this one.
    virtual void sendData(WindowHandle window, std::uint32_t tag, const std::string& bytes) = 0;
    virtual std::int64_t textLength(WindowHandle window) = 0;
    // The window's text, at most maxChars characters of it.
    virtual std::string windowText(WindowHandle window, std::int64_t maxChars) = 0;
    virtual void setWindowText(WindowHandle window, const std::string& text) = 0;
};

// The clipboard's plain text, as read.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() = 0;
};

// The pauses the program makes on purpose, to let another program finish a menu command.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleep(unsigned milliseconds) = 0;
};

}  // namespace v5
