#pragma once
// The window search: walks every window on the desktop and finds the first that satisfies a set
// of title and class criteria. The mailer detection finds a mailer by a piece of its title with
// it, the PGP launcher the suite's hidden window by its class.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/ports.h"

namespace v5 {

// One text matcher.
struct STRINGER {
    std::string Exact;
    std::string Contains;
};

// True when Contains occurs in text, or text is not empty and equals Exact, or the matcher is
// empty (which accepts everything, the empty text included). Letter case counts.
bool MatchText(std::string_view text, const STRINGER& matcher);

// Criteria records. Only the window's title and class, the parent's title and class and the
// grandparent's class are tested; the other fields keep the records' shape for callers.
struct GPWINDOW {
    STRINGER TitleMatch;
    STRINGER ClassMatch;
    std::array<std::uint8_t, 8> Reserved{};
    STRINGER OtherMatch;
};

struct PWINDOW {
    STRINGER TitleMatch;
    STRINGER ClassMatch;
    std::array<std::uint8_t, 8> Reserved{};
    STRINGER OtherMatch;
    GPWINDOW GrandParent;
};

struct WINDOW {
    STRINGER TitleMatch;
    STRINGER ClassMatch;
    std::array<std::uint8_t, 8> Reserved{};
    STRINGER OtherMatch;
    PWINDOW Parent;
    std::int32_t Counter = 0;
};

inline constexpr const char* kTooManyWindowsText =
    "Too many/Too complex windows currently open. Try closing some Applications";
inline constexpr const char* kErrorBoxCaption = "Error";
// A window this many levels below its top-level window, or deeper, brings up the box.
inline constexpr std::int32_t kMaxWindowWalkDepth = 7;

// The walk shared by the search and the text window pick: top-level windows in Z order, each
// followed by its descendants depth first. `examine` is called for every window; returning
// true after a top-level window's tree stops the walk there. `depth` is the caller's
// WindowWalkDepth; it is back at its old value afterwards. `deepWindow` is called once for
// every window that lies nine or more levels below its top-level window.
class WindowWalk {
public:
    using Examine = std::function<void(WindowHandle)>;
    using StopAfterTree = std::function<bool()>;

    WindowWalk(Desktop& desktop, std::int32_t& depth, std::function<void()> deepWindow)
        : desktop_(desktop), depth_(depth), deepWindow_(std::move(deepWindow)) {}

    void run(const Examine& examine, const StopAfterTree& stopAfterTree);

private:
    void walkDescendants(WindowHandle top, const Examine& examine);

    Desktop& desktop_;
    std::int32_t& depth_;
    std::function<void()> deepWindow_;
};

// The window search module.
class TDataModule18 {
public:
    TDataModule18(Desktop& desktop, MessageBoxes& boxes) : desktop_(desktop), boxes_(boxes) {}

    WindowHandle FindWindowByCriteria(const WINDOW& criteria);
    // The title of the first window whose title contains shortText; empty when none is found.
    std::string FindMailerWindowTitle(const std::string& shortText);

    std::int32_t WindowWalkDepth = 0;

private:
    bool Satisfies(WindowHandle window, const WINDOW& criteria);

    Desktop& desktop_;
    MessageBoxes& boxes_;
    bool found_ = false;
    WindowHandle foundWindow_ = 0;
};

// The deep-nesting box of both walks.
void ShowTooManyWindowsBox(MessageBoxes& boxes);

}  // namespace v5
