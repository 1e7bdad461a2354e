// The tray icon component: what it tells the tray and which events the tray's callbacks fire.
#include <gtest/gtest.h>

#include "fakes/fake_shell.h"
#include "shell/TaskIcon.h"

using namespace v5;

TEST(TaskIcon, RegistersAddsModifiesAndDeletesByTheRules) {
    fakes::FakeTray tray;
    {
        TTaskIcon icon(tray, "Vostrel 5", 0);
        icon.SetWindow(77);
        icon.SetIcon(5);
        icon.SetToolTip("changed while inactive");
        EXPECT_TRUE(tray.calls.empty()) << "nothing reaches the tray while inactive";

        icon.SetActive(true);
        icon.SetActive(true);
        ASSERT_EQ(tray.calls.size(), 1u) << "setting the same value does nothing";
        const TrayEntry& added = tray.calls[0].entry;
        EXPECT_EQ(tray.calls[0].operation, TrayOperation::Add);
        EXPECT_EQ(added.window, 77u);
        EXPECT_EQ(added.id, 0u);
        EXPECT_EQ(added.flags, 7u);
        EXPECT_EQ(added.callbackMessage, 1024u);
        EXPECT_EQ(added.icon, 5u);
        EXPECT_EQ(added.tip, "changed while inactive");

        icon.SetIcon(6);
        icon.SetToolTip(std::string(70, 'x'));
        ASSERT_EQ(tray.calls.size(), 3u);
        EXPECT_EQ(tray.calls[1].operation, TrayOperation::Modify);
        EXPECT_EQ(tray.calls[1].entry.icon, 6u);
        EXPECT_EQ(tray.calls[2].operation, TrayOperation::Modify);
        EXPECT_EQ(tray.calls[2].entry.tip, std::string(63, 'x')) << "the tip is cut to 63 characters";

        icon.SetActive(false);
        EXPECT_EQ(tray.calls.back().operation, TrayOperation::Delete);
        icon.SetActive(true);
    }
    EXPECT_EQ(tray.calls.back().operation, TrayOperation::Delete) << "an active icon leaves the tray with it";
    EXPECT_EQ(tray.calls.size(), 6u);
}

TEST(TaskIcon, ARefusedTrayCallLeavesActiveUnchanged) {
    fakes::FakeTray tray;
    TTaskIcon icon(tray, "tip", 0);
    tray.accept = false;
    icon.SetActive(true);
    EXPECT_FALSE(icon.Active());
    tray.accept = true;
    icon.SetActive(true);
    EXPECT_TRUE(icon.Active());
    tray.accept = false;
    icon.SetActive(false);
    EXPECT_TRUE(icon.Active());
}

TEST(TaskIcon, ANewIdentifierReplacesTheEntrySoCallbacksStillArrive) {
    fakes::FakeTray tray;
    TTaskIcon icon(tray, "tip", 0);
    icon.SetActive(true);
    icon.SetTaskIconID(3);
    ASSERT_EQ(tray.calls.size(), 3u);
    EXPECT_EQ(tray.calls[1].operation, TrayOperation::Delete);
    EXPECT_EQ(tray.calls[1].entry.id, 0u);
    EXPECT_EQ(tray.calls[2].operation, TrayOperation::Add);
    EXPECT_EQ(tray.calls[2].entry.id, 3u);
    int clicks = 0;
    icon.OnClick = [&] { ++clicks; };
    icon.HandleNotification(3, kWmLButtonUp);
    icon.HandleNotification(0, kWmLButtonUp);
    EXPECT_EQ(clicks, 1);
}

TEST(TaskIcon, MouseNotificationsFireTheirEvents) {
    fakes::FakeTray tray;
    tray.cursor = {640, 479};
    TTaskIcon icon(tray, "tip", 2);
    std::vector<std::string> fired;
    icon.OnClick = [&] { fired.push_back("click"); };
    icon.OnDblClick = [&] { fired.push_back("dbl"); };
    icon.OnMouseMove = [&] { fired.push_back("move"); };
    icon.OnRightClick = [&](MouseButton button, unsigned shift, int x, int y) {
        EXPECT_EQ(button, MouseButton::Right);
        EXPECT_EQ(shift, 0u);
        fired.push_back("right " + std::to_string(x) + "," + std::to_string(y));
    };
    const unsigned sequence[] = {0x200, 0x201, 0x202, 0x203, 0x202, 0x204, 0x205, 0x207, 0x208};
    for (unsigned message : sequence) icon.HandleNotification(2, message);
    icon.HandleNotification(1, 0x202);  // another icon's identifier
    EXPECT_EQ(fired, (std::vector<std::string>{"move", "click", "dbl", "click", "right 640,479"}));
}
