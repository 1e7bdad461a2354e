// The built-in driver against real programs: the stand-in mailer (plain and rich edit) and
// Wine's own notepad, each in a process of its own, with the confirmation strip answered by
// pressing its real buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "drivers/builtin_driver.h"
#include "drivers/mfd.h"
#include "drivers/win32/indicator_window.h"
#include "drivers/winop.h"
#include "fakes/fake_shell.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/toolkit/window_class.h"
#include "platform/win32/win32_ports.h"
#include "window_test_support.h"

using namespace v5;
using namespace v5::wintest;

namespace {

const std::string kMessage =
    "Dear friend,\r\n\r\nthis is the message held by the stand-in mailer.\r\nIt has several lines.\r\n\r\n-- \r\nme";

// Everything the built-in driver needs, over the real desktop, clipboard and strip.
struct RealWorld : LoggedInTempFolder {
    win32::Win32Desktop desktop;
    win32::Win32Clipboard clipboard;
    win32::Win32Sleeper sleeper;
    win32::Win32WindowConfirmation confirmation{GetModuleHandleA(nullptr), nullptr};
    TDataModule19 menus{desktop, diagnostics};
    BuiltInDriver driver{{state, diagnostics, desktop, clipboard, sleeper, boxes, confirmation, menus}};

    RealWorld(const std::string& getSet, const std::string& selAll) {
        state.DriverDir = state.InstallDir + "drivers";
        CreateDirectoryA(state.DriverDir.c_str(), nullptr);
        WriteWholeFile(state.DriverDir + "\\GetSet.AC", getSet);
        WriteWholeFile(state.DriverDir + "\\SelAll.AC", selAll);
    }
    std::string mfd() const { return state.InstallDir + "tmpmfd.tmp"; }
};

HWND ChildOfClass(HWND parent, const char* className) { return FindWindowExA(parent, nullptr, className, nullptr); }

std::string TextOf(HWND window) {
    const LRESULT n = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    const LRESULT copied = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::string StandIn(const std::string& messageFile, bool rich, const std::string& title) {
    return "\"" + ExeDir() + "standin_mailer.exe\" " + (rich ? "/rich " : "") + "/load=" + messageFile + " " + title;
}

void ExpectFramed(const SeenConfirmation& seen, HWND target) {
    ASSERT_TRUE(seen.seen);
    RECT r{};
    GetWindowRect(target, &r);
    EXPECT_EQ(seen.strip.left, r.left);
    EXPECT_EQ(seen.strip.right, r.right);
    EXPECT_EQ(seen.strip.bottom, r.bottom);
    EXPECT_EQ(seen.strip.top, r.bottom - 60);
    EXPECT_EQ(seen.bars.size(), 3u);
}

}  // namespace

TEST(BuiltInDriverOnWine, StandInMailerReadThroughBothPathsAndWrittenBack) {
    for (bool rich : {false, true}) {
        SCOPED_TRACE(rich ? "rich edit" : "plain edit");
        const char* textClass = rich ? "RichEdit20A" : "Edit";
        const std::string dir = TempFolder();
        WriteWholeFile(dir + "message.txt", kMessage);
        StartedProgram mailer(StandIn(dir + "message.txt", rich, "Inbox - Stand-in Mailer"));
        ASSERT_TRUE(mailer.started());
        HWND frame = mailer.waitForWindow("StandInMailer");
        ASSERT_NE(frame, nullptr);
        HWND text = ChildOfClass(frame, textClass);
        ASSERT_NE(text, nullptr);

        // The menu path: the class is in the select-all list. Wine keeps a program's menus to
        // that program, so there the lookup finds nothing, no command is sent and the clipboard
        // is taken as it is; where menus can be read across programs the message arrives.
        {
            RealWorld world("", std::string(textClass) + "\r\n");
            SetClipboardText("before");
            const bool menusReadable = GetMenuItemCount(GetMenu(frame)) > 0;
            ConfirmationAnswerer answerer(true);
            world.driver.RunBuiltInDriver("read File=" + world.mfd());
            const TMFDData record = ReadMFDFile(world.mfd());
            EXPECT_EQ(record.Body, menusReadable ? kMessage : std::string("before"))
                << ReadFileString(world.state.InstallDir + "DebugLog.Txt");
            EXPECT_EQ(record.Wtype, 1);
            EXPECT_EQ(record.Short, ">None<");
            ExpectFramed(answerer.seen(), text);
            std::cout << (menusReadable ? "menus of other programs are readable here"
                                        : "menus of other programs are not readable here")
                      << std::endl;
        }

        // The window-text path, read and then written back.
        RealWorld world(std::string(textClass) + "\r\n", "");
        {
            ConfirmationAnswerer answerer(true);
            EXPECT_EQ(world.driver.ReadTargetText(), kMessage);
            ExpectFramed(answerer.seen(), text);
        }
        const std::string armoured = "-----BEGIN PGP MESSAGE-----\r\n\r\nabcdef\r\n-----END PGP MESSAGE-----\r\n";
        TMFDData result;
        result.Body = armoured;
        result.HasBody = true;
        WriteWholeFile(world.mfd(), FormatMFDText(result));
        {
            ConfirmationAnswerer answerer(true);
            world.driver.RunBuiltInDriver("Write File=" + world.mfd());
        }
        EXPECT_EQ(TextOf(text), armoured);
        {
            ConfirmationAnswerer answerer(true);
            world.driver.RunBuiltInDriver("read File=" + world.mfd());
        }
        EXPECT_EQ(ReadMFDFile(world.mfd()).Wtype, 8);

        // Answered No: nothing is read and nothing written.
        {
            ConfirmationAnswerer answerer(false);
            world.driver.WriteTargetText("must not arrive");
        }
        EXPECT_EQ(TextOf(text), armoured);
    }
}

TEST(BuiltInDriverOnWine, NotepadReadAndWrittenThroughItsEditWindow) {
    const std::string dir = TempFolder();
    WriteWholeFile(dir + "letter.txt", kMessage);
    StartedProgram notepad("notepad.exe " + dir + "letter.txt");
    ASSERT_TRUE(notepad.started());
    HWND frame = notepad.waitForWindow("Notepad");
    ASSERT_NE(frame, nullptr) << "notepad did not show its window";
    HWND edit = ChildOfClass(frame, "Edit");
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(WaitFor([&] { return TextOf(edit) == kMessage; })) << TextOf(edit);

    RealWorld world("Edit\r\n", "");
    {
        ConfirmationAnswerer answerer(true);
        world.driver.RunBuiltInDriver("read File=" + world.mfd());
        ExpectFramed(answerer.seen(), edit);
    }
    EXPECT_EQ(ReadMFDFile(world.mfd()).Body, kMessage);

    TMFDData result;
    result.Body = "Replaced by the built-in driver.\r\nSecond line.";
    result.HasBody = true;
    WriteWholeFile(world.mfd(), FormatMFDText(result));
    {
        ConfirmationAnswerer answerer(true);
        world.driver.RunBuiltInDriver("Write File=" + world.mfd());
    }
    EXPECT_EQ(TextOf(edit), result.Body);

}

namespace {

constexpr int kSelectAllId = 201;
constexpr int kCopyId = 202;
HWND gCopyingEdit = nullptr;

LRESULT CALLBACK CopyingFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kSelectAllId) {
        SendMessageA(gCopyingEdit, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == kCopyId) {
        SendMessageA(gCopyingEdit, WM_COPY, 0, 0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

// A mailer-like window of the program's own process is never picked, however large: the program's
// own windows (its hidden About box among them) are not the user's message. The menu path itself
// is driven through the stand-in mailer's menus above.
TEST(BuiltInDriverOnWine, AWindowOfTheProgramsOwnProcessIsNotPicked) {
    win32::RegisterClassOnce(GetModuleHandleA(nullptr),
                             {.name = "V5CopyingFrame", .proc = CopyingFrameProc, .arrowCursor = false});
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 999, "&Undo\tCtrl+Z");
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(edit, MF_STRING, kSelectAllId, "Select &All\tCtrl+A");
    AppendMenuA(edit, MF_STRING, kCopyId, "&Copy\tCtrl+C");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    const win32::OwnedWindow frame(CreateWindowExA(0, "V5CopyingFrame", "Own mailer", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                   50, 50, 600, 400, nullptr, bar, GetModuleHandleA(nullptr), nullptr));
    gCopyingEdit = CreateWindowExA(0, "EDIT", kMessage.c_str(), WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 560, 330,
                                   frame.get(), nullptr, GetModuleHandleA(nullptr), nullptr);
    SetClipboardText("before");

    RealWorld world("", "Edit\r\n");
    {
        ConfirmationAnswerer answerer(true);
        world.driver.RunBuiltInDriver("read File=" + world.mfd());
        EXPECT_FALSE(answerer.seen().seen) << "the program's own window was offered for confirmation";
    }
    const std::string log = ReadFileString(world.state.InstallDir + "DebugLog.Txt");
    EXPECT_NE(ReadMFDFile(world.mfd()).Body, kMessage) << log;
    EXPECT_EQ(log.find(": mc5 202\r\n"), std::string::npos) << "a menu command reached the own window\n" << log;
}

TEST(BuiltInDriverOnWine, WalkOfTheRealDesktopIsTimed) {
    const std::string dir = TempFolder();
    WriteWholeFile(dir + "m.txt", kMessage);
    StartedProgram plain(StandIn(dir + "m.txt", false, "Timed plain"));
    StartedProgram rich(StandIn(dir + "m.txt", true, "Timed rich"));
    ASSERT_NE(plain.waitForWindow("StandInMailer"), nullptr);
    ASSERT_NE(rich.waitForWindow("StandInMailer"), nullptr);

    win32::Win32Desktop desktop;
    fakes::FakeMessageBoxes boxes;
    TDataModule18 search(desktop, boxes);
    int windows = 0;
    {
        WindowWalk walk(desktop, search.WindowWalkDepth, {});
        walk.run([&](WindowHandle) { ++windows; }, {});
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    WINDOW nothing;
    nothing.TitleMatch.Exact = "no window has this title";
    QueryPerformanceCounter(&start);
    EXPECT_EQ(search.FindWindowByCriteria(nothing), 0u);
    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::cout << "walk of the real desktop: " << windows << " windows, " << ms << " ms" << std::endl;
    RecordProperty("DesktopWindows", windows);
    RecordProperty("DesktopWalkMicroseconds", static_cast<int>(ms * 1000));
    EXPECT_GE(windows, 4);
    EXPECT_EQ(search.FindMailerWindowTitle("Timed rich"), "Timed rich");
}
