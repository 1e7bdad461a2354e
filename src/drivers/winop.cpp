#include "drivers/winop.h"

#include <vector>

#include "base/diagnostics.h"

namespace v5 {
namespace {

// A desktop whose windows keep changing their Z order while we walk could lead us round in
// circles; no real desktop holds this many windows, so the walk ends there.
constexpr std::size_t kMaxWalkVisits = 1'000'000;

bool IsEmpty(const STRINGER& matcher) { return matcher.Exact.empty() && matcher.Contains.empty(); }

}  // namespace

bool MatchText(std::string_view text, const STRINGER& matcher) {
    if (!matcher.Contains.empty() && text.find(matcher.Contains) != std::string_view::npos) return true;
    if (!text.empty() && text == matcher.Exact) return true;
    return IsEmpty(matcher);
}

void ShowTooManyWindowsBox(MessageBoxes& boxes) {
    boxes.show(kTooManyWindowsText, kErrorBoxCaption, kMbIconHand | kMbOk);
}

void WindowWalk::run(const Examine& examine, const StopAfterTree& stopAfterTree) {
    std::size_t visits = 0;
    for (WindowHandle top = desktop_.firstTopLevel(); top != 0 && visits < kMaxWalkVisits;
         top = desktop_.nextSibling(top), ++visits) {
        examine(top);
        walkDescendants(top, examine);
        if (stopAfterTree && stopAfterTree()) break;
    }
}

// Depth first without recursion, so that no nesting of windows can exhaust the stack.
void WindowWalk::walkDescendants(WindowHandle top, const Examine& examine) {
    const std::int32_t startDepth = depth_;
    std::vector<WindowHandle> path;
    std::size_t visits = 0;
    WindowHandle child = desktop_.firstChild(top);
    while (visits < kMaxWalkVisits) {
        if (child != 0) {
            ++visits;
            examine(child);
            ++depth_;
            path.push_back(child);
            child = desktop_.firstChild(child);
            continue;
        }
        if (path.empty()) break;
        const WindowHandle done = path.back();
        path.pop_back();
        --depth_;
        if (depth_ > kMaxWindowWalkDepth && deepWindow_) deepWindow_();
        child = desktop_.nextSibling(done);
    }
    depth_ = startDepth;
}

bool TDataModule18::Satisfies(WindowHandle window, const WINDOW& criteria) {
    // Texts are fetched only for the matchers that are filled in: an empty matcher accepts
    // every text, so the outcome is the same and the walk stays cheap.
    const WindowHandle parent = desktop_.parent(window);
    if (parent != 0) {
        const STRINGER& grandParentClass = criteria.Parent.GrandParent.ClassMatch;
        if (!IsEmpty(grandParentClass)) {
            const WindowHandle grandParent = desktop_.parent(parent);
            if (grandParent != 0 && !MatchText(desktop_.className(grandParent), grandParentClass))
                return false;
        }
        if (!IsEmpty(criteria.Parent.ClassMatch) &&
            !MatchText(desktop_.className(parent), criteria.Parent.ClassMatch))
            return false;
    }
    if (!IsEmpty(criteria.TitleMatch) && !MatchText(desktop_.title(window), criteria.TitleMatch))
        return false;
    if (!IsEmpty(criteria.ClassMatch) && !MatchText(desktop_.className(window), criteria.ClassMatch))
        return false;
    if (!IsEmpty(criteria.Parent.TitleMatch)) {
        const std::string parentTitle = parent != 0 ? desktop_.title(parent) : std::string();
        if (!MatchText(parentTitle, criteria.Parent.TitleMatch)) return false;
    }
    return true;
}

WindowHandle TDataModule18::FindWindowByCriteria(const WINDOW& criteria) {
    found_ = false;
    foundWindow_ = 0;
    WindowWalk walk(desktop_, WindowWalkDepth, [this] { ShowTooManyWindowsBox(boxes_); });
    walk.run(
        [&](WindowHandle window) {
            if (!Satisfies(window, criteria)) return;
            if (!found_) foundWindow_ = window;
            found_ = true;
        },
        [&] { return found_; });
    return foundWindow_;
}

std::string TDataModule18::FindMailerWindowTitle(const std::string& shortText) {
    WINDOW criteria;
    criteria.TitleMatch.Contains = shortText;
    const WindowHandle window = FindWindowByCriteria(criteria);
    if (window == 0) return {};
    std::string title = desktop_.title(window);
    if (title.size() > kMaxWindowNameChars) title.resize(kMaxWindowNameChars);
    return title;
}

}  // namespace v5
