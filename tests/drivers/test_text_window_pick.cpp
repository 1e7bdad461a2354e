// The text window pick, the class lists and the reading and writing of the picked window.
#include <gtest/gtest.h>

#include "driver_world.h"

using namespace v5;
using namespace v5::testing;
using v5::fakes::WindowSpec;

TEST(ClassLists, ClassifiesByNameFollowedByCrLf) {
    const std::string selAll = "RichEdit20A\r\nMemo\r\n";
    const std::string getSet = "Edit\r\nMemo\r\nLastWithoutLineEnd";
    struct Case {
        const char* className;
        TTextWindowKind expected;
    } cases[] = {
        {"Edit", wkGetSet},
        {"Memo", wkSelectAll},  // listed in both: Select All wins
        {"RichEdit20A", wkSelectAll},
        {"LastWithoutLineEnd", wkNone},  // a last line without CR LF lists nothing
        {"edit", wkNone},                // letter case counts
        {"A", wkSelectAll},              // a line only has to end with the class name
        {"", wkNone},                    // a window whose class cannot be read is never listed
        {"Static", wkNone},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyClassName(c.className, selAll, getSet), c.expected) << c.className;

    // Binary and empty lists.
    const std::string binary = std::string("\0\xff\x01" "Edit\r\n\0\0", 11);
    EXPECT_EQ(ClassifyClassName("Edit", "", binary), wkGetSet);
    EXPECT_EQ(ClassifyClassName("Edit", "", ""), wkNone);
}

namespace {

ScreenRect Box(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

WindowSpec Text(const std::string& title, const std::string& cls, ScreenRect rect, std::uint32_t style = 0) {
    WindowSpec spec = Win(title, cls, rect);
    spec.style = style;
    spec.text = "text of " + title;
    return spec;
}

WindowSpec Own(WindowSpec spec) {
    spec.ownProcess = true;
    return spec;
}

WindowSpec Hidden(WindowSpec spec) {
    spec.hidden = true;
    return spec;
}

struct PickWorld : DriverWorld {
    PickWorld() {
        writeClassList(kGetSetClassListName, "Edit\r\nRichEdit20A\r\n");
        writeClassList(kSelAllClassListName, "TMemo\r\n");
    }
    std::string pickedTitle() {
        const TTextWindowPick pick = driver.PickTextWindow();
        return pick.Window ? desktop.title(pick.Window) : std::string();
    }
};

}  // namespace

TEST(PickTextWindow, PicksTheLargestListedVisibleWindow) {
    struct Case {
        const char* name;
        std::vector<WindowSpec> windows;
        const char* expected;
        TTextWindowKind kind;
    } cases[] = {
        {"larger later wins", {Text("small", "Edit", Box(0, 0, 200, 200)), Text("large", "Edit", Box(0, 0, 300, 300))},
         "large", wkGetSet},
        {"select-all list", {Text("memo", "TMemo", Box(0, 0, 400, 400))}, "memo", wkSelectAll},
        {"password style is never picked",
         {Text("secret", "Edit", Box(0, 0, 900, 900), 0x20), Text("plain", "RichEdit20A", Box(0, 0, 200, 200))},
         "plain", wkGetSet},
        {"style bit 0x20 counts for any class", {Text("memo", "TMemo", Box(0, 0, 900, 900), 0x20 | 0x4)}, "", wkNone},
        {"unlisted class", {Text("static", "Static", Box(0, 0, 900, 900))}, "", wkNone},
        {"151 by 151", {Text("just", "Edit", Box(10, 10, 151, 151))}, "just", wkGetSet},
        {"150 wide", {Text("narrow", "Edit", Box(10, 10, 150, 400))}, "", wkNone},
        {"150 high", {Text("low", "Edit", Box(10, 10, 400, 150))}, "", wkNone},
        {"upside-down rectangle", {Text("odd", "Edit", {500, 500, 100, 100})}, "", wkNone},
        {"equal areas: the first stays",
         {Text("first", "Edit", Box(0, 0, 200, 300)), Text("second", "Edit", Box(50, 50, 300, 200))}, "first", wkGetSet},
        {"nothing at all", {}, "", wkNone},
        {"the program's own window is never picked",
         {Own(Text("about", "Edit", Box(0, 0, 900, 900))), Text("mail", "Edit", Box(0, 0, 200, 200))}, "mail", wkGetSet},
        {"a hidden window is never picked",
         {Hidden(Text("hidden", "Edit", Box(0, 0, 900, 900))), Text("mail", "Edit", Box(0, 0, 200, 200))}, "mail", wkGetSet},
        {"nor the child of a hidden window",
         {Hidden(Win("frame", "Frame", Box(0, 0, 900, 900), {Text("inside", "Edit", Box(0, 0, 900, 900))}))}, "", wkNone},
    };
    for (const Case& c : cases) {
        PickWorld world;
        for (const WindowSpec& w : c.windows) world.desktop.add(w);
        const TTextWindowPick pick = world.driver.PickTextWindow();
        EXPECT_EQ(pick.Window ? world.desktop.title(pick.Window) : "", c.expected) << c.name;
        EXPECT_EQ(pick.Kind, c.kind) << c.name;
        EXPECT_EQ(pick.Confirmed, pick.Window != 0) << c.name;
        EXPECT_EQ(world.confirmation.shown.size(), pick.Window ? 1u : 0u) << c.name;
        EXPECT_EQ(world.driver.WindowWalkDepth, 0);
    }
}

TEST(PickTextWindow, MinimisedAncestorsHideTheirChildren) {
    PickWorld world;
    WindowSpec hidden = Win("Minimised mailer", "Frame", Box(0, 0, 800, 600),
                            {Win("pane", "Pane", Box(0, 0, 800, 600), {Text("big body", "Edit", Box(0, 0, 800, 600))})});
    hidden.minimised = true;
    world.desktop.add(hidden);
    world.desktop.add(Win("Open mailer", "Frame", Box(0, 0, 400, 400), {Text("small body", "Edit", Box(0, 0, 300, 300))}));
    EXPECT_EQ(world.pickedTitle(), "small body");

    WindowSpec self = Text("minimised itself", "Edit", Box(0, 0, 900, 900));
    self.minimised = true;
    PickWorld second;
    second.desktop.add(self);
    EXPECT_EQ(second.pickedTitle(), "");
}

TEST(PickTextWindow, FramesTheWindowAndHonoursTheAnswer) {
    PickWorld world;
    const WindowHandle target = world.desktop.add(Text("body", "Edit", {100, 50, 700, 450}));
    const TTextWindowPick yes = world.driver.PickTextWindow();
    EXPECT_EQ(yes.Window, target);
    EXPECT_TRUE(yes.Confirmed);
    EXPECT_EQ(world.desktop.foregrounds, std::vector<WindowHandle>{target});
    ASSERT_EQ(world.confirmation.shown.size(), 1u);
    const IndicatorPlacement& p = world.confirmation.shown[0];
    EXPECT_EQ(p.leftBar, (IndicatorBounds{100, 50, 6, 400}));
    EXPECT_EQ(p.topBar, (IndicatorBounds{100, 50, 600, 6}));
    EXPECT_EQ(p.rightBar, (IndicatorBounds{694, 50, 6, 400}));
    EXPECT_EQ(p.strip, (IndicatorBounds{100, 390, 600, 60}));

    world.confirmation.answers = {kModalResultNo};
    const TTextWindowPick no = world.driver.PickTextWindow();
    EXPECT_EQ(no.Window, 0u);
    EXPECT_EQ(no.Kind, wkNone);
    EXPECT_FALSE(no.Confirmed);
}

TEST(PickTextWindow, BadClassListFiles) {
    const std::string tenMegabytes = std::string(10 * 1024 * 1024, 'x') + "\r\nEdit\r\n";
    struct Case {
        const char* name;
        std::string getSet;
        bool writeIt;
        bool picked;
    } cases[] = {
        {"missing", "", false, false},
        {"empty", "", true, false},
        {"no final line end", "Edit", true, false},
        {"binary", std::string("\0\x80\xff" "Edit\r\n", 9), true, true},
        {"ten megabytes", tenMegabytes, true, true},
    };
    for (const Case& c : cases) {
        DriverWorld world;
        if (c.writeIt) world.writeClassList(kGetSetClassListName, c.getSet);
        world.desktop.add(Text("body", "Edit", Box(0, 0, 500, 500)));
        EXPECT_EQ(world.driver.PickTextWindow().Confirmed, c.picked) << c.name;
    }
}

TEST(PickTextWindow, WindowThatDisappearsDuringThePick) {
    PickWorld world;
    const WindowHandle top = world.desktop.add(
        Win("Mailer", "Frame", Box(0, 0, 800, 600), {Text("goes", "Edit", Box(0, 0, 700, 500)), Text("after", "Edit", Box(0, 0, 300, 300))}));
    world.desktop.add(Text("stays", "Edit", Box(0, 0, 200, 200)));
    const WindowHandle going = world.desktop.firstChild(top);
    world.desktop.onClassNameRead = [&](WindowHandle w) {
        if (w == going) world.desktop.remove(going);
    };
    EXPECT_EQ(world.pickedTitle(), "stays");
}

TEST(PickTextWindow, DeepWindowsBringUpTheBoxAndStillCount) {
    PickWorld world;
    WindowSpec top = Chain(10);
    WindowSpec* deepest = &top;
    while (!deepest->children.empty()) deepest = &deepest->children[0];
    *deepest = Text("deep body", "Edit", Box(0, 0, 400, 400));
    world.desktop.add(top);
    EXPECT_EQ(world.pickedTitle(), "deep body");
    EXPECT_EQ(world.tooManyWindowsBoxes(), 2);
    EXPECT_EQ(world.driver.WindowWalkDepth, 0);
}

TEST(ReadTargetText, GetSetWindowGivesExactlyItsText) {
    for (std::size_t n : {0u, 1u, 99u, 100u, 70000u}) {
        PickWorld world;
        const WindowHandle body = world.desktop.add(Text("body", "Edit", Box(0, 0, 400, 400)));
        std::string text(n, 'a');
        for (std::size_t i = 0; i < n; ++i) text[i] = static_cast<char>('a' + i % 26);
        world.desktop.textOf(body) = text;
        EXPECT_EQ(world.driver.ReadTargetText(), text) << n;
        EXPECT_TRUE(world.desktop.commands.empty());
    }
}

TEST(ReadTargetText, SelectAllWindowIsCopiedThroughItsTopWindowsMenu) {
    PickWorld world;
    const MenuHandle edit = world.desktop.addMenu({{"Select &All\tCtrl+A", 61}, {"&Copy\tCtrl+C", 62}});
    WindowSpec mailer = Win("Mailer", "Frame", Box(0, 0, 800, 600),
                            {Win("pane", "Pane", Box(0, 0, 800, 600), {Text("memo", "TMemo", Box(0, 0, 700, 500))})});
    mailer.menu = world.desktop.addMenu({{"&Edit", 0, edit}});
    const WindowHandle top = world.desktop.add(mailer);
    const WindowHandle memo = world.desktop.firstChild(world.desktop.firstChild(top));
    world.desktop.textOf(memo) = "the message";
    world.clipboard.content = "old clipboard";
    std::vector<std::string> order;
    world.desktop.onCommand = [&](WindowHandle, std::uint32_t id) {
        order.push_back("command " + std::to_string(id));
        if (id == 62) world.clipboard.content = world.desktop.textOf(memo);
    };

    EXPECT_EQ(world.driver.ReadTargetText(), "the message");
    EXPECT_EQ(world.desktop.commands,
              (std::vector<std::pair<WindowHandle, std::uint32_t>>{{top, 61}, {top, 62}}));
    EXPECT_EQ(world.sleeper.pauses, (std::vector<unsigned>{100, 100}));
    EXPECT_EQ(world.clipboard.reads, 1);

    // Without the menu entries nothing is sent, and the clipboard is taken as it is.
    PickWorld bare;
    bare.desktop.add(Text("memo", "TMemo", Box(0, 0, 700, 500)));
    bare.clipboard.content = "whatever was there";
    EXPECT_EQ(bare.driver.ReadTargetText(), "whatever was there");
    EXPECT_TRUE(bare.desktop.commands.empty());
}

TEST(ReadTargetText, NothingWhenThePickIsDeclined) {
    PickWorld world;
    world.desktop.add(Text("body", "Edit", Box(0, 0, 400, 400)));
    world.confirmation.answers = {kModalResultNo};
    EXPECT_EQ(world.driver.ReadTargetText(), "");
}

TEST(WriteTargetText, OnlyGetSetWindowsAreWritten) {
    PickWorld world;
    const WindowHandle body = world.desktop.add(Text("body", "Edit", Box(0, 0, 400, 400)));
    world.driver.WriteTargetText("new text");
    EXPECT_EQ(world.desktop.textOf(body), "new text");
    EXPECT_EQ(world.confirmation.shown.size(), 1u);  // the user confirms the window again

    world.confirmation.answers = {kModalResultNo};
    world.driver.WriteTargetText("declined");
    EXPECT_EQ(world.desktop.textOf(body), "new text");

    PickWorld memo;
    const WindowHandle m = memo.desktop.add(Text("memo", "TMemo", Box(0, 0, 400, 400)));
    memo.driver.WriteTargetText("ignored");
    EXPECT_EQ(memo.desktop.textOf(m), "text of memo");
    EXPECT_TRUE(memo.desktop.textsSet.empty());
}

TEST(IndicatorControl, LayoutAndAnswers) {
    const IndicatorControlLayout layout = LayoutIndicatorControl(600, 60);
    EXPECT_EQ(layout.label, (IndicatorBounds{0, 9, 600, 51}));
    EXPECT_EQ(layout.yes, (IndicatorBounds{243, 31, 57, 25}));
    EXPECT_EQ(layout.no, (IndicatorBounds{300, 31, 57, 25}));
    EXPECT_EQ(LayoutIndicatorControl(5, 4).label.height, 0);

    TfrmIndicatorControl strip;
    EXPECT_FALSE(strip.Answered());
    strip.FormClose();  // closing without an answer declines
    EXPECT_EQ(strip.ModalResult, kModalResultNo);
    TfrmIndicatorControl yes;
    yes.btnYesClick();
    yes.FormClose();
    EXPECT_EQ(yes.ModalResult, kModalResultYes);
}
