// The tip of the day in the real program: at start-up unless silent, browsed by clicks with each
// step in the settings file, and the main tray icon away while the dialog is on screen.
#include "e2e_support.h"

#include "tray_support.h"

using namespace e2e;

namespace {

constexpr int kStaticText1 = 106;
constexpr int kBtnNext = 104;
constexpr int kBtnPrevious = 105;
constexpr int kBtnHelp = 107;
constexpr int kBtnNow = 1402;

std::string StoredTipNumber() {
    char value[32] = {};
    GetPrivateProfileStringA("General", "TipNumber", "", value, sizeof value, "Vostrel5.INI");
    return value;
}

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

// A fresh settings file with tips switched on, the first tip shown last.
void TipsOnFromTheStart() {
    WritePrivateProfileStringA("General", "TipEnabled", "1", "Vostrel5.INI");
    WritePrivateProfileStringA("General", "TipNumber", "0", "Vostrel5.INI");
}

HWND WaitForTips(const Process& program) {
    HWND tips = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (tips = VisibleWindowOf(program.id(), "TfrmTips")) != nullptr; }))
        << DescribeWindows(program);
    return tips;
}

}  // namespace

TEST(TipOfTheDay, ShownAtStartUpBrowsedByClicksAndEveryStepStored) {
    Installation install;
    WriteFile(install.path("tips.dat"), "0,first\r\n0,second, with a comma\r\n9020,third\r\n");
    TipsOnFromTheStart();
    Process program = install.start("tipstart");
    HWND tips = WaitForTips(program);
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(TextOf(tips), "Vostrel 5 - Tip of the Day");
    RECT client{};
    GetClientRect(tips, &client);
    EXPECT_EQ(client.right, 363);
    EXPECT_EQ(client.bottom, 204);
    EXPECT_TRUE(GetWindowLongA(tips, GWL_EXSTYLE) & WS_EX_TOPMOST);
    HWND text = GetDlgItem(tips, kStaticText1);
    HWND help = GetDlgItem(tips, kBtnHelp);
    EXPECT_EQ(TextOf(text), "second, with a comma");
    EXPECT_FALSE(IsWindowEnabled(help));
    EXPECT_FALSE(StartupLogged(install.log(), "tipstart")) << "start-up waits for the dialog";

    const struct {
        int button;
        const char* text;
        const char* stored;
        bool help;
    } steps[] = {{kBtnNext, "third", "2", true}, {kBtnNext, "first", "0", false}, {kBtnPrevious, "third", "2", true}};
    for (const auto& step : steps) {
        Click(GetDlgItem(tips, step.button));
        EXPECT_EQ(TextOf(text), step.text);
        EXPECT_EQ(StoredTipNumber(), step.stored);
        EXPECT_EQ(IsWindowEnabled(help) != FALSE, step.help) << step.text;
    }

    // "&Ok" by Enter, as a person closes it; start-up then goes on to the tray.
    PostMessageA(GetDlgItem(tips, 1), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitFor([&] { return StartupLogged(install.log(), "tipstart"); })) << DescribeWindows(program);
    EXPECT_FALSE(IsWindow(tips));
    ASSERT_TRUE(WaitFor([] { return TrayIcons().size() == 2; }));

    // "Show &Now" while resident: the main icon leaves the tray until the dialog closes. (The
    // Options page is shown only while the Active list holds a mailer, so the button is pressed
    // directly.)
    HWND main = MainWindowOf(program);
    PostMessageA(GetDlgItem(main, kBtnNow), BM_CLICK, 0, 0);
    tips = WaitForTips(program);
    ASSERT_NE(tips, nullptr);
    EXPECT_TRUE(WaitFor([] { return TrayIcons().size() == 1; }));
    EXPECT_EQ(TextOf(GetDlgItem(tips, kStaticText1)), "first");
    PostMessageA(tips, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return TrayIcons().size() == 2; }));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(tips); }));

    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
    WritePrivateProfileStringA("General", "TipEnabled", "0", "Vostrel5.INI");
}

TEST(TipOfTheDay, NoneAtASilentStart) {
    Installation install;
    WriteFile(install.path("tips.dat"), "0,first\r\n0,second\r\n");
    TipsOnFromTheStart();
    Process program = install.startResident("quiet/s");
    EXPECT_EQ(VisibleWindowOf(program.id(), "TfrmTips"), nullptr);
    EXPECT_EQ(StoredTipNumber(), "0");
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
    WritePrivateProfileStringA("General", "TipEnabled", "0", "Vostrel5.INI");
}
