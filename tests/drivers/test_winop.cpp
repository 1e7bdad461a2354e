// The window search over a fake desktop: matchers, criteria, the walk's order and its limits.
#include <gtest/gtest.h>

#include <algorithm>

#include "driver_world.h"

using namespace v5;
using namespace v5::testing;
using v5::fakes::WindowSpec;

TEST(MatchText, EveryRuleInItsOrder) {
    struct Case {
        const char* text;
        const char* exact;
        const char* contains;
        bool expected;
    } cases[] = {
        {"Inbox - Mailer", "", "Mailer", true},
        {"Inbox - Mailer", "", "mailer", false},       // letter case counts
        {"Inbox", "zzz", "nbo", true},                 // Contains alone suffices
        {"Inbox", "Inbox", "", true},
        {"Inbox", "inbox", "", false},
        {"Inbox", "Inbo", "", false},                  // Exact means the whole text
        {"", "", "", true},                            // the empty matcher accepts everything
        {"anything", "", "", true},
        {"", "", "x", false},
        {"", "x", "", false},
        {"x", "x", "y", true},                         // Contains fails, Exact holds
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchText(c.text, STRINGER{c.exact, c.contains}), c.expected)
            << "text '" << c.text << "' exact '" << c.exact << "' contains '" << c.contains << "'";
    }
}

namespace {

// Top "Mail Window"/TopClass > "Pane"/PaneClass > "Body"/Edit, then a plain top-level "Other Edit"/Edit.
struct CriteriaWorld : DriverWorld {
    WindowHandle top, pane, body, other;
    CriteriaWorld() {
        top = desktop.add(Win("Mail Window", "TopClass", {}, {Win("Pane", "PaneClass", {}, {Win("Body", "Edit")})}));
        pane = desktop.firstChild(top);
        body = desktop.firstChild(pane);
        other = desktop.add(Win("Other Edit", "Edit"));
    }
};

}  // namespace

TEST(FindWindowByCriteria, GrandparentParentAndSelfCriteria) {
    struct Case {
        const char* name;
        void (*fill)(WINDOW&);
        int expected;  // 0 none, 1 top, 2 pane, 3 body, 4 other
    } cases[] = {
        {"class alone finds the first in the walk", [](WINDOW& w) { w.ClassMatch.Exact = "Edit"; }, 3},
        {"parent class", [](WINDOW& w) { w.ClassMatch.Exact = "Edit"; w.Parent.ClassMatch.Exact = "PaneClass"; }, 3},
        {"wrong parent class passes only windows without parent",
         [](WINDOW& w) { w.ClassMatch.Exact = "Edit"; w.Parent.ClassMatch.Exact = "Nope"; }, 4},
        {"grandparent class",
         [](WINDOW& w) { w.ClassMatch.Exact = "Edit"; w.Parent.GrandParent.ClassMatch.Contains = "Top"; }, 3},
        {"wrong grandparent class",
         [](WINDOW& w) { w.ClassMatch.Exact = "Edit"; w.Parent.GrandParent.ClassMatch.Exact = "Nope"; }, 4},
        {"grandparent title is never tested",
         [](WINDOW& w) { w.ClassMatch.Exact = "Edit"; w.Parent.GrandParent.TitleMatch.Exact = "Nope"; }, 3},
        {"parent title", [](WINDOW& w) { w.Parent.TitleMatch.Contains = "Pan"; }, 3},
        {"parent title fails every top-level window", [](WINDOW& w) { w.Parent.TitleMatch.Exact = "Nope"; }, 0},
        {"title exact", [](WINDOW& w) { w.TitleMatch.Exact = "Pane"; }, 2},
        {"title and class must both hold", [](WINDOW& w) { w.TitleMatch.Exact = "Pane"; w.ClassMatch.Exact = "Edit"; }, 0},
        {"unread fields change nothing",
         [](WINDOW& w) { w.TitleMatch.Contains = "Other"; w.OtherMatch.Exact = "x"; w.Parent.OtherMatch.Exact = "y"; w.Counter = 5; }, 4},
        {"empty criteria find the first top-level window", [](WINDOW&) {}, 1},
    };
    for (const Case& c : cases) {
        CriteriaWorld world;
        WINDOW criteria;
        c.fill(criteria);
        const WindowHandle handles[] = {0, world.top, world.pane, world.body, world.other};
        EXPECT_EQ(world.search.FindWindowByCriteria(criteria), handles[c.expected]) << c.name;
        EXPECT_EQ(world.search.WindowWalkDepth, 0) << c.name;
    }
}

TEST(FindWindowByCriteria, FirstMatchWinsAndTheWalkFinishesThatTopLevelTree) {
    DriverWorld world;
    const WindowHandle first = world.desktop.add(Win(
        "Mailer one", "Frame", {}, {Win("Mailer pane", "Pane", {}, {Win("Mailer body", "Edit")}), Win("tail", "X")}));
    const WindowHandle second = world.desktop.add(Win("Mailer two", "Frame", {}, {Win("inner", "Y")}));
    const WindowHandle pane = world.desktop.firstChild(first);
    const WindowHandle body = world.desktop.firstChild(pane);
    const WindowHandle tail = world.desktop.nextSibling(pane);

    WINDOW criteria;
    criteria.TitleMatch.Contains = "Mailer";
    EXPECT_EQ(world.search.FindWindowByCriteria(criteria), first);
    // Every window of the first tree was examined, later matches included; nothing after it.
    EXPECT_EQ(world.desktop.titlesRead, (std::vector<WindowHandle>{first, pane, body, tail}));
    (void)second;

    // A match deep in the second tree: the first tree and the whole second tree are walked.
    world.desktop.titlesRead.clear();
    const WindowHandle third = world.desktop.add(Win("inner too", "Z"));
    criteria.TitleMatch.Contains = "inner";
    EXPECT_EQ(world.search.FindWindowByCriteria(criteria), world.desktop.firstChild(second));
    EXPECT_EQ(std::count(world.desktop.titlesRead.begin(), world.desktop.titlesRead.end(), third), 0);
    EXPECT_EQ(world.desktop.titlesRead.size(), 6u);
}

TEST(WindowWalk, DepthBoxOncePerWindowNineOrMoreLevelsDown) {
    struct Case {
        int levels;
        int boxes;
    } cases[] = {{0, 0}, {1, 0}, {8, 0}, {9, 1}, {10, 2}, {12, 4}};
    for (const Case& c : cases) {
        DriverWorld world;
        world.desktop.add(Chain(c.levels));
        world.desktop.add(Chain(c.levels, "Second"));
        WINDOW criteria;
        criteria.TitleMatch.Exact = "deepest";
        const WindowHandle found = world.search.FindWindowByCriteria(criteria);
        EXPECT_EQ(world.tooManyWindowsBoxes(), c.boxes) << c.levels << " levels";
        EXPECT_EQ(world.boxes.shown.size(), static_cast<std::size_t>(c.boxes));
        EXPECT_EQ(world.search.WindowWalkDepth, 0);
        // The box changes nothing about the result.
        if (c.levels > 0) EXPECT_EQ(world.desktop.title(found), "deepest") << c.levels << " levels";
        if (!world.boxes.shown.empty()) EXPECT_EQ(world.boxes.shown[0].style, kMbIconHand | kMbOk);
    }

    // Branches count window by window: a window nine levels down with two children has three boxes.
    DriverWorld world;
    WindowSpec top = Chain(9);
    WindowSpec* level = &top;
    while (!level->children.empty()) level = &level->children[0];
    level->children = {Win("a", "Leaf"), Win("b", "Leaf")};
    world.desktop.add(top);
    WINDOW none;
    none.TitleMatch.Exact = "no such window";
    EXPECT_EQ(world.search.FindWindowByCriteria(none), 0u);
    EXPECT_EQ(world.tooManyWindowsBoxes(), 3);
}

TEST(WindowWalk, ThousandsOfLevelsDoNotExhaustTheStack) {
    DriverWorld world;
    world.boxes.answers.clear();
    WindowHandle parent = world.desktop.add(Win("Top", "TopClass"));
    for (int level = 1; level < 20000; ++level) parent = world.desktop.add(Win("level", "Box"), parent);
    world.desktop.add(Win("deepest", "Leaf"), parent);
    WINDOW criteria;
    criteria.TitleMatch.Exact = "deepest";
    EXPECT_NE(world.search.FindWindowByCriteria(criteria), 0u);
    EXPECT_EQ(world.tooManyWindowsBoxes(), 20000 - 8);
}

TEST(FindMailerWindowTitle, TitlesOfNinetyNineAndMoreCharacters) {
    const std::string ninetyNine(99, 'n');
    const std::string long120 = std::string(100, 'L') + "TAIL" + std::string(16, 'x');
    DriverWorld world;
    world.desktop.add(Win("First window", "A"));
    world.desktop.add(Win(ninetyNine, "B"));
    world.desktop.add(Win(long120, "C"));
    struct Case {
        std::string shortText;
        std::string expected;
    } cases[] = {
        {"", "First window"},  // every criterion empty: the first top-level window in Z order
        {"window", "First window"},
        {"nnn", ninetyNine},
        {"LLL", long120.substr(0, 99)},  // at most 99 characters are seen
        {"TAIL", ""},                    // lies beyond what is seen
        {"Not there", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(world.search.FindMailerWindowTitle(c.shortText), c.expected) << c.shortText;
}

TEST(FindWindowByCriteria, ClassNamesOfNinetyNineAndMoreCharacters) {
    DriverWorld world;
    const std::string ninetyNine(99, 'c');
    const WindowHandle exact = world.desktop.add(Win("a", ninetyNine));
    world.desktop.add(Win("b", std::string(99, 'd') + "e"));
    WINDOW criteria;
    criteria.ClassMatch.Exact = ninetyNine;
    EXPECT_EQ(world.search.FindWindowByCriteria(criteria), exact);
    criteria.ClassMatch.Exact = std::string(99, 'd') + "e";  // only 99 of its 100 characters are seen
    EXPECT_EQ(world.search.FindWindowByCriteria(criteria), 0u);
}

TEST(FindWindowByCriteria, WindowThatDisappearsDuringTheWalk) {
    // The window being examined goes away: its later siblings are out of reach, the rest of the
    // desktop is walked, and nothing breaks.
    DriverWorld world;
    const WindowHandle top = world.desktop.add(
        Win("Top", "Frame", {}, {Win("goes", "Going"), Win("after", "Target")}));
    const WindowHandle later = world.desktop.add(Win("Later", "Target"));
    const WindowHandle going = world.desktop.firstChild(top);
    world.desktop.onClassNameRead = [&](WindowHandle w) {
        if (w == going) world.desktop.remove(going);
    };
    WINDOW criteria;
    criteria.ClassMatch.Exact = "Target";
    EXPECT_EQ(world.search.FindWindowByCriteria(criteria), later);

    // A whole top-level window goes while its children are being examined.
    DriverWorld second;
    const WindowHandle doomed = second.desktop.add(Win("Doomed", "Frame", {}, {Win("child", "C")}));
    second.desktop.add(Win("Survivor", "Target"));
    second.desktop.onClassNameRead = [&](WindowHandle w) {
        if (w == second.desktop.firstChild(doomed)) second.desktop.remove(doomed);
    };
    EXPECT_EQ(second.search.FindWindowByCriteria(criteria), 0u);  // the next top-level is out of reach
    EXPECT_EQ(second.search.WindowWalkDepth, 0);
}
