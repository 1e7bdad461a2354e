// Menu driving over a fake desktop: entry lookup by contained text and the commands sent.
#include <gtest/gtest.h>

#include "driver_world.h"

using namespace v5;
using namespace v5::testing;
using v5::fakes::FakeMenuItem;

namespace {

struct MenuWorld : DriverWorld {
    MenuHandle bar, file, edit, format;
    WindowHandle window;
    MenuWorld() {
        format = desktop.addMenu({{"&Bold", 301}, {"&Italic\tCtrl+I", 302}});
        edit = desktop.addMenu({{"&Undo\tCtrl+Z", 200},
                                {"", 0},  // a separator has no text
                                {"Select &All\tCtrl+A", 201},
                                {"&Copy\tCtrl+C", 202},
                                {"&Format", 0, format}});
        file = desktop.addMenu({{"&Open", 101}});
        bar = desktop.addMenu({{"&File", 0, file}, {"&Edit", 0, edit}, {"&Help", 900}});
        fakes::WindowSpec spec = Win("Mailer", "Frame");
        spec.menu = bar;
        window = desktop.add(spec);
    }
};

std::string Dec(MenuHandle handle) { return std::to_string(static_cast<std::intptr_t>(handle)); }

}  // namespace

TEST(ClickMenuItem, SendsTheEntrysCommandOrNamesWhatWasMissing) {
    struct Case {
        const char* menu;
        const char* item;
        const char* sub;
        const char* failure;
        std::uint32_t command;  // 0: none sent
    } cases[] = {
        {"&Edit", "Select &All", "", "", 201},
        {"&Edit", "&Copy", "", "", 202},
        {"Edit", "Copy", "", "", 202},  // contained text: without the ampersand it is still inside
        {"&Edit", "&Format", "&Italic", "", 302},
        {"&Edit", "&Format", "&Strike", "&Strike", 0},
        {"&Edit", "&Paste", "", "&Paste", 0},
        {"&View", "Select &All", "", "&View", 0},  // the item is then looked for in the bar itself
        {"&View", "&Help", "", "&View", 0},
        {"&Edit", "Select &all", "", "Select &all", 0},  // letter case counts
        // A submenu entry named without a sub-item has no command: nothing is clicked (the
        // position found would otherwise pick an unrelated entry of the submenu).
        {"&Edit", "&Format", "", "&Format", 0},
        // Only the menu named: its position in the bar names no command in the submenu.
        {"&Edit", "", "", "&Edit", 0},
    };
    for (const Case& c : cases) {
        MenuWorld world;
        EXPECT_EQ(world.menus.ClickMenuItem(world.window, c.menu, c.item, c.sub), c.failure) << c.item;
        if (c.command == 0) {
            EXPECT_TRUE(world.desktop.commands.empty()) << c.item;
        } else {
            ASSERT_EQ(world.desktop.commands.size(), 1u) << c.item;
            EXPECT_EQ(world.desktop.commands[0], std::make_pair(world.window, c.command));
        }
    }
}

TEST(ClickMenuItem, LogsEachStep) {
    MenuWorld world;
    world.menus.ClickMenuItem(world.window, "&Edit", "Select &All", "");
    EXPECT_EQ(world.logMessages(), (std::vector<std::string>{"mc1 " + Dec(world.bar), "mc2 " + Dec(world.edit),
                                                             "mc3 -1", "mp 2", "mc5 201"}));

    MenuWorld sub;
    sub.menus.ClickMenuItem(sub.window, "&Edit", "&Format", "&Bold");
    EXPECT_EQ(sub.logMessages(), (std::vector<std::string>{"mc1 " + Dec(sub.bar), "mc2 " + Dec(sub.edit),
                                                           "mc3 " + Dec(sub.format), "mc4 -1", "mp 0", "mc5 301"}));

    // A window without a menu bar: nothing is found and nothing is sent.
    MenuWorld bare;
    const WindowHandle plain = bare.desktop.add(Win("Plain", "Frame"));
    EXPECT_EQ(bare.menus.ClickMenuItem(plain, "&Edit", "&Copy", ""), "&Edit");
    EXPECT_EQ(bare.logMessages(), (std::vector<std::string>{"mc1 0", "mc2 0", "mp 0", "mc5 -1"}));
    EXPECT_TRUE(bare.desktop.commands.empty());
}

TEST(FindMenuEntry, FirstContainingEntryAndItsPosition) {
    MenuWorld world;
    const MenuHandle menu = world.desktop.addMenu({{"Mail &Edit tools", 1}, {"&Edit", 0, world.edit}});
    EXPECT_EQ(world.menus.FindMenuEntry(menu, "&Edit"), kPlainMenuEntry);  // the first entry containing it
    EXPECT_EQ(world.menus.LastMenuPosition, 0);
    EXPECT_EQ(world.menus.FindMenuEntry(world.bar, "&Edit"), static_cast<std::intptr_t>(world.edit));
    EXPECT_EQ(world.menus.LastMenuPosition, 1);
    // No match: 0, and the position of the last match stays.
    EXPECT_EQ(world.menus.FindMenuEntry(world.bar, "&Tools"), 0);
    EXPECT_EQ(world.menus.LastMenuPosition, 1);
    // Not a menu at all.
    EXPECT_EQ(world.menus.FindMenuEntry(12345, "&Edit"), 0);
    EXPECT_EQ(world.menus.FindMenuEntry(kPlainMenuEntry, "&Edit"), 0);
}

TEST(FindMenuEntry, HundredsOfEntriesEntriesWithoutTextAndLongTexts) {
    MenuWorld world;
    std::vector<FakeMenuItem> items;
    for (int i = 0; i < 600; ++i) items.push_back({i % 3 == 0 ? "" : "Entry " + std::to_string(i), 1000u + i});
    items[450].text = "Target entry";
    items.push_back({std::string(120, '.') + "Seen", 5});        // ends at character 124: seen
    items.push_back({std::string(125, '.') + "Cut off", 6});     // starts at 126: cut at 127
    const MenuHandle menu = world.desktop.addMenu(items);
    EXPECT_EQ(world.menus.FindMenuEntry(menu, "Target"), kPlainMenuEntry);
    EXPECT_EQ(world.menus.LastMenuPosition, 450);
    EXPECT_EQ(world.menus.FindMenuEntry(menu, "Seen"), kPlainMenuEntry);
    EXPECT_EQ(world.menus.LastMenuPosition, 600);
    EXPECT_EQ(world.menus.FindMenuEntry(menu, "Cut off"), 0);
    // The empty name is contained in every text, the empty one of a separator included.
    EXPECT_EQ(world.menus.FindMenuEntry(menu, ""), kPlainMenuEntry);
    EXPECT_EQ(world.menus.LastMenuPosition, 0);
}
