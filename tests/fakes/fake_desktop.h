#pragma once
// A desktop that tests populate as a tree of windows, with menus, window texts and a
// clipboard; it records what the program asked of it.
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "drivers/Indicont.h"
#include "platform/desktop.h"

namespace v5::fakes {

struct FakeMenuItem {
    std::string text;
    std::uint32_t id = 0;
    MenuHandle subMenu = 0;
};

// One window and, in Z order, its children.
struct WindowSpec {
    std::string title;
    std::string className;
    std::uint32_t style = 0;
    ScreenRect rect;
    bool minimised = false;
    bool hidden = false;      // the window's own visible style is off
    bool ownProcess = false;  // the window belongs to the program under test
    std::uint32_t processId = 0;  // 0: that of the window above it; 1 for a top-level window
    std::string text;  // what the window's text messages read and write
    MenuHandle menu = 0;
    std::vector<WindowSpec> children;
};

class FakeDesktop : public Desktop {
public:
    // Adds the window with its descendants below its new siblings in Z order.
    WindowHandle add(const WindowSpec& spec, WindowHandle parent = 0);
    // An owned top-level window reports its owner as its parent.
    void setOwner(WindowHandle window, WindowHandle owner);
    // The window and its descendants are gone; their handles name nothing any more.
    void remove(WindowHandle window);
    // A top-level window comes to the top of the Z order, as when the user switches to it.
    void raise(WindowHandle window);
    bool alive(WindowHandle window) const;
    std::size_t windowCount() const { return nodes_.size(); }

    MenuHandle addMenu(std::vector<FakeMenuItem> items);
    // The window's text as its program holds it (not cut like a title).
    std::string& textOf(WindowHandle window);

    // Called whenever a window's class name is read, before the answer is given.
    std::function<void(WindowHandle)> onClassNameRead;
    // Called for every command sent, after it is recorded.
    std::function<void(WindowHandle, std::uint32_t)> onCommand;

    std::vector<std::pair<WindowHandle, std::uint32_t>> commands;
    struct SentData {
        WindowHandle window;
        std::uint32_t tag;
        std::string bytes;
        std::size_t commandsBefore;  // how many commands had been sent by then
    };
    std::vector<SentData> dataSent;
    std::vector<WindowHandle> foregrounds;
    std::vector<std::pair<WindowHandle, std::string>> textsSet;
    std::vector<WindowHandle> titlesRead;  // every window whose title was read, in order

    WindowHandle firstTopLevel() override { return firstTop_; }
    WindowHandle nextSibling(WindowHandle window) override;
    WindowHandle firstChild(WindowHandle window) override;
    WindowHandle parent(WindowHandle window) override;
    std::string title(WindowHandle window) override;
    std::string className(WindowHandle window) override;
    std::uint32_t style(WindowHandle window) override;
    ScreenRect rect(WindowHandle window) override;
    bool minimised(WindowHandle window) override;
    bool visible(WindowHandle window) override;
    bool ownProcess(WindowHandle window) override;
    std::uint32_t processId(WindowHandle window) override;
    void setForeground(WindowHandle window) override { foregrounds.push_back(window); }
    MenuHandle menuOf(WindowHandle window) override;
    int menuItemCount(MenuHandle menu) override;
    std::string menuItemText(MenuHandle menu, int position) override;
    MenuHandle subMenu(MenuHandle menu, int position) override;
    std::uint32_t menuItemId(MenuHandle menu, int position) override;
    void sendCommand(WindowHandle window, std::uint32_t id) override;
    void sendData(WindowHandle window, std::uint32_t tag, const std::string& bytes) override {
        dataSent.push_back({window, tag, bytes, commands.size()});
    }
    std::int64_t textLength(WindowHandle window) override;
    std::string windowText(WindowHandle window, std::int64_t maxChars) override;
    void setWindowText(WindowHandle window, const std::string& text) override;

private:
    struct Node {
        WindowSpec spec;  // children are kept as links below, not here
        WindowHandle parent = 0;
        WindowHandle owner = 0;
        WindowHandle firstChild = 0;
        WindowHandle lastChild = 0;
        WindowHandle next = 0;
        WindowHandle prev = 0;
        bool alive = true;
    };
    Node* node(WindowHandle window);
    const FakeMenuItem* item(MenuHandle menu, int position) const;
    void unlink(WindowHandle window);

    std::vector<Node> nodes_;  // handle = index + 1
    std::vector<std::vector<FakeMenuItem>> menus_;  // menu handle = index + 1 + kMenuBase
    WindowHandle firstTop_ = 0;
    WindowHandle lastTop_ = 0;
    static constexpr MenuHandle kMenuBase = 0x10000;
};

class FakeClipboard : public Clipboard {
public:
    std::string content;
    int reads = 0;
    std::string text() override {
        ++reads;
        return content;
    }
};

class FakeSleeper : public Sleeper {
public:
    std::vector<unsigned> pauses;
    void sleep(unsigned milliseconds) override { pauses.push_back(milliseconds); }
};

// Answers the confirmation strip with the queued modal results (Yes once they run out).
class FakeConfirmation : public WindowConfirmation {
public:
    std::deque<int> answers;
    std::vector<IndicatorPlacement> shown;
    int confirm(const IndicatorPlacement& placement) override {
        shown.push_back(placement);
        if (answers.empty()) return kModalResultYes;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace v5::fakes
