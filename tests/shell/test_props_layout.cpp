// The properties window's table of controls: what the pages hold and where everything lies.
#include <gtest/gtest.h>

#include <set>

#include "shell/props_layout.h"

using namespace v5;

namespace {
bool Inside(const ControlSpec& inner, const ControlSpec& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}
bool Overlap(const ControlSpec& a, const ControlSpec& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}
}  // namespace

TEST(PropsLayout, PagesInOrderWithTheirHelpTopicsAndVisibility) {
    const auto& pages = PropsPages();
    const char* captions[] = {"Routine", "Special", "Mailer Choice", "Options", "About"};
    const int topics[] = {4000, 0, 4002, 4003, 4004};
    const bool needsMailers[] = {true, true, false, true, false};
    for (int i = 0; i < kPageCount; ++i) {
        EXPECT_STREQ(pages[i].caption, captions[i]);
        EXPECT_EQ(pages[i].helpTopic, topics[i]);
        EXPECT_EQ(pages[i].needsMailers, needsMailers[i]);
    }
}

TEST(PropsLayout, ControlsCarryTheirCaptionsHintsTopicsAndRoles) {
    struct Row {
        const char* name;
        ControlKind kind;
        int page;
        const char* caption;
        const char* hint;
        int topic;
        unsigned flags;
    } rows[] = {
        {"btnOk", ControlKind::Button, pgNone, "&Ok", "Confirm the changes you made", 0, cfDefault},
        {"btnCancel", ControlKind::Button, pgNone, "&Cancel", "Close without changes", 0, cfCancel},
        {"btnUnload", ControlKind::Button, pgNone, "&Unload", "Remove Vostrel 5 from memory", 19, 0},
        {"btnHelp", ControlKind::Button, pgNone, "&Help", "", 0, 0},
        {"optProcessing", ControlKind::GroupBox, pgRoutine, " Outward &Mail ", "", 1004, 0},
        {"optProcessing0", ControlKind::RadioButton, pgRoutine, "&Encrypt", "", 0, cfGroupStart},
        {"optProcessing1", ControlKind::RadioButton, pgRoutine, "S&ign", "", 0, 0},
        {"optProcessing2", ControlKind::RadioButton, pgRoutine, "Encrypt &and Sign", "", 0, 0},
        {"btnRunRoutine", ControlKind::Button, pgRoutine, "R&un", "", 0, cfDefault},
        {"GroupBox1", ControlKind::GroupBox, pgRoutine, " Sign Outward &Forum/News/Mailing List Posting ", "", 1005, 0},
        {"lblNewAddress", ControlKind::Label, pgRoutine, "&New Mailing List Address", "", 0, 0},
        {"txtMailingListAddress", ControlKind::Edit, pgRoutine, "", "", 9101, 0},
        {"btnMailingListAddressAdd", ControlKind::Button, pgRoutine, "A&dd", "Add to the list", 9103, 0},
        {"lblMailingListAddresses", ControlKind::Label, pgRoutine,
         "Mail &to these mailing list addresses will be considered \"posts\" and signed - not encrypted", "", 0, 0},
        {"lstMailingListAddress", ControlKind::ListBox, pgRoutine, "", "", 9102, 0},
        {"btnMailingListAddressRemove", ControlKind::Button, pgRoutine, "Remo&ve", "Remove from the list", 9104, 0},
        {"optOutward", ControlKind::GroupBox, pgSpecial, " Outward ", "", 1004, 0},
        {"optOutward0", ControlKind::RadioButton, pgSpecial, "&Encrypt", "", 0, cfGroupStart},
        {"optOutward2", ControlKind::RadioButton, pgSpecial, "Encrypt &and Sign", "", 0, 0},
        {"btnRun", ControlKind::Button, pgSpecial, "R&un", "", 9200, 0},
        {"chkForceKeyRead", ControlKind::CheckBox, pgSpecial, "&Prefer key import over message reading", "", 3, 0},
        {"lblSpecialNote", ControlKind::Text, pgSpecial,
         "Use the options above for the occasional message that requires different processing from the "
         "majority of your work. Select the required option above and then press Run to process.", "", 0, 0},
        {"GroupBox6", ControlKind::GroupBox, pgSpecial, " Direct access to PGP ", "", 9050, 0},
        {"btnPGPKeys", ControlKind::Button, pgSpecial, "PGP&Keys", "", 0, 0},
        {"btnPAPTray", ControlKind::Button, pgSpecial, "PGP&Tray", "", 0, 0},
        {"btnTools", ControlKind::Button, pgSpecial, "&PGPTools", "", 0, 0},
        {"Button1", ControlKind::Button, pgSpecial, "Pre&ferences", "", 0, 0},
        {"btnPGPHelp", ControlKind::Button, pgSpecial, "Hel&p File", "", 0, 0},
        {"lblLibrary", ControlKind::Label, pgMailerChoice, "&Library: Drag mailers from this list to the active list", "", 0, 0},
        {"lstLibrary", ControlKind::ListBox, pgMailerChoice, "", "", 2000, cfSorted},
        {"lblActive", ControlKind::Label, pgMailerChoice, "&Active List", "", 0, 0},
        {"lstActive", ControlKind::ListBox, pgMailerChoice, "", "", 2001, cfSorted},
        {"lblNoMailers", ControlKind::Notice, pgMailerChoice,
         "No mailers are in the Active list. You must move at least one from the Library into the Active list.", "", 0, 0},
        {"GroupBox4", ControlKind::GroupBox, pgOptions, " &Tip of the day ", "", 0, 0},
        {"chkShowTips", ControlKind::CheckBox, pgOptions, "&Enable", "", 9020, 0},
        {"btnNow", ControlKind::Button, pgOptions, "Show &Now", "", 9020, 0},
        {"chkIgnoreWrappedKeys", ControlKind::CheckBox, pgOptions, "Ignore &Wrapped Keys", "", 9022, 0},
        {"Image1", ControlKind::Image, pgAbout, "ABOUTICON", "", 0, 0},
        {"txtAbout", ControlKind::Memo, pgAbout, "", "", 0, cfReadOnly | cfCentred},
        {"VersionLabel1", ControlKind::VersionLabel, pgAbout, "", "", 0, 0},
        {"txtClipboardReceiver", ControlKind::Edit, pgNone, "", "", 0, cfHidden},
    };
    for (const Row& r : rows) {
        const ControlSpec* c = FindControl(r.name);
        ASSERT_NE(c, nullptr) << r.name;
        EXPECT_EQ(c->kind, r.kind) << r.name;
        EXPECT_EQ(c->page, r.page) << r.name;
        EXPECT_STREQ(c->caption, r.caption) << r.name;
        EXPECT_STREQ(c->hint, r.hint) << r.name;
        EXPECT_EQ(c->helpTopic, r.topic) << r.name;
        EXPECT_EQ(c->flags, r.flags) << r.name;
    }
}

TEST(PropsLayout, EveryControlFitsItsPlaceAndIdentifiersAreUnique) {
    const ControlSpec* pageControl = FindControl("PageControl1");
    ASSERT_NE(pageControl, nullptr);
    std::set<int> ids;
    std::set<std::string> names;
    for (const ControlSpec& c : PropsControls()) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.name;
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        EXPECT_GT(c.width, 0) << c.name;
        EXPECT_GT(c.height, 0) << c.name;
        if (c.page != pgNone && c.kind != ControlKind::VersionLabel) {
            // Below the tabs, inside the page control's frame.
            EXPECT_TRUE(Inside(c, *pageControl)) << c.name;
            EXPECT_GE(c.y, pageControl->y + 26) << c.name;
        }
        if (const ControlSpec* frame = FindControl(c.container)) {
            EXPECT_TRUE(Inside(c, *frame)) << c.name << " in " << frame->name;
            EXPECT_EQ(c.page, frame->page) << c.name;
        }
    }
    // The version label is never seen; the receiver never shown.
    EXPECT_GE(FindControl("VersionLabel1")->x, kPropsClientWidth);
    EXPECT_GE(FindControl("txtClipboardReceiver")->x, kPropsClientWidth);
    // The notice lies over the Active list.
    EXPECT_TRUE(Inside(*FindControl("lblNoMailers"), *FindControl("lstActive")));
}

TEST(PropsLayout, BottomButtonsLeftToRightInsideTheClientAreaWithoutOverlap) {
    const char* order[] = {"btnUnload", "btnOk", "btnCancel", "btnHelp"};
    const ControlSpec* pageControl = FindControl("PageControl1");
    int right = 0;
    for (const char* name : order) {
        const ControlSpec* b = FindControl(name);
        EXPECT_GT(b->x, right) << name;
        right = b->x + b->width;
        EXPECT_GT(b->y, pageControl->y + pageControl->height) << name;
        EXPECT_LE(b->y + b->height, kPropsClientHeight) << name;
    }
    EXPECT_LE(right, kPropsClientWidth);
    // Controls of one page never overlap one another, frames and the notice apart.
    auto controls = PropsControls();
    for (const ControlSpec& a : controls)
        for (const ControlSpec& b : controls) {
            if (&a >= &b || a.page != b.page || a.page == pgNone) continue;
            if (a.kind == ControlKind::GroupBox || b.kind == ControlKind::GroupBox) continue;
            if (a.kind == ControlKind::Notice || b.kind == ControlKind::Notice) continue;
            EXPECT_FALSE(Overlap(a, b)) << a.name << " and " << b.name;
        }
}

TEST(PropsLayout, MenusHoldTheirEntriesInOrder) {
    std::vector<std::string> tools, library, active;
    for (const MenuItemSpec& m : PropsMenuItems()) {
        std::string menu = m.menu;
        (menu == "PopupMenu2" ? tools : menu == "popLibrary" ? library : active).push_back(m.caption);
    }
    EXPECT_EQ(tools, (std::vector<std::string>{"&Print", "&Quote ", "&Save to file", "", "&Help", "", "E&xit"}));
    EXPECT_EQ(library, (std::vector<std::string>{"&Details", "Make &Active"}));
    EXPECT_EQ(active, (std::vector<std::string>{"Details", "&Return to library"}));
}

TEST(PropsLayout, EveryControlIsBoundToWhatItsKindShowsAndRuns) {
    using K = ControlKind;
    for (const PropsControl& c : PropsControls()) {
        SCOPED_TRACE(c.name);
        const PropsBinding& b = c.bind;
        const StateField& f = b.field;
        switch (c.kind) {
            case K::CheckBox: EXPECT_NE(f.flag, nullptr) << "a box whose tick goes nowhere"; break;
            case K::Edit: EXPECT_NE(f.text, nullptr) << "an edit whose text goes nowhere"; break;
            case K::ListBox: EXPECT_TRUE(f.entries && f.selected) << "a list that shows nothing"; break;
            case K::Button: EXPECT_NE(b.handler, nullptr) << "a button that does nothing"; break;
            case K::RadioButton: EXPECT_NE(RadioItemOf(c).field, nullptr) << "a group that binds no field"; break;
            default: break;
        }
        // One thing shown, a double click only on a list, and a sender for every handler's report.
        EXPECT_LE(!!f.flag + !!f.number + !!f.text + !!f.entries + !!b.shows, 1);
        if (c.kind != K::ListBox) EXPECT_EQ(b.doubleClick, nullptr);
        if (b.handler || b.doubleClick) EXPECT_STRNE(b.sender, "");
    }
}

TEST(PropsLayout, RadioButtonsAreTheItemsOfTheirGroupsInTableOrder) {
    const struct {
        const char* name;
        std::int32_t PropsState::*field;
        int item;
    } rows[] = {
        {"optProcessing0", &PropsState::optProcessing, 0}, {"optProcessing2", &PropsState::optProcessing, 2},
        {"optOutward0", &PropsState::optOutward, 0},       {"optOutward1", &PropsState::optOutward, 1},
    };
    for (const auto& r : rows) {
        const RadioItem radio = RadioItemOf(*FindControl(r.name));
        EXPECT_TRUE(radio.field == r.field) << r.name;
        EXPECT_EQ(radio.item, r.item) << r.name;
    }
    EXPECT_EQ(RadioItemCount(*FindControl("optProcessing")), 3);
    EXPECT_EQ(RadioItemCount(*FindControl("optOutward")), 3);
}
