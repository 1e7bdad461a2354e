// The tools icon's clipboard actions, chosen from the real menu with its access keys.
// PrintJob.* needs a print server with a PDF printer and runs from e2e/print_to_pdf.sh, which
// starts one; the other scenarios run where there is no printer at all.
#include <cstdlib>

#include "e2e_support.h"
#include "tray_support.h"

using namespace e2e;

namespace {

// Opens the tools menu with a right click on its icon and presses the entry's access key.
void ChooseFromToolsMenu(const Process& program, char accessKey) {
    HWND menu = OpenToolsMenu(program);
    ASSERT_TRUE(menu) << DescribeWindows(program);
    PostMessageA(menu, WM_KEYDOWN, static_cast<WPARAM>(accessKey), 0);
    PostMessageA(menu, WM_KEYUP, static_cast<WPARAM>(accessKey), 0);
    ASSERT_TRUE(MenuClosed(program));
}

// A visible dialog of the process with this caption, or null.
HWND DialogOf(const Process& program, const std::string& caption) {
    for (HWND w : program.topWindows("#32770"))
        if (IsWindowVisible(w) && TextOf(w) == caption) return w;
    return nullptr;
}

BOOL CALLBACK FindFileNameEdit(HWND child, LPARAM param) {
    // The file name box is the one edit control of the save dialog (inside its combo box).
    if (ClassOf(child) == "Edit" && IsWindowVisible(child)) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

// Types a file name into the save dialog and presses its Save button.
void SaveAs(HWND dialog, const std::string& name) {
    HWND edit = nullptr;
    EnumChildWindows(dialog, FindFileNameEdit, reinterpret_cast<LPARAM>(&edit));
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

}  // namespace

TEST(ToolsMenu, QuoteReplacesTheClipboardTextKeepingEveryByte) {
    Installation install;
    Process program = install.startResident("quote");
    ASSERT_TRUE(PutOnClipboard("  Dear Ann,\r\nthe cr\xE8me br\xFBl\xE9\x65 costs \xFF 5.\r\n\r\n"));
    ChooseFromToolsMenu(program, 'Q');
    const std::string quoted = "> Dear Ann,\r\n> the cr\xE8me br\xFBl\xE9\x65 costs \xFF 5.";
    EXPECT_TRUE(WaitFor([&] { return ClipboardText() == quoted; })) << ClipboardText();
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

TEST(ToolsMenu, SaveWritesTheClipboardToTheChosenFileAndAsksBeforeReplacing) {
    Installation install;
    Process program = install.startResident("save");
    ASSERT_TRUE(PutOnClipboard("first text\r\n"));
    ChooseFromToolsMenu(program, 'S');
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = DialogOf(program, "Save Message")) != nullptr; }))
        << DescribeWindows(program);
    SaveAs(dialog, install.path("letter"));
    ASSERT_TRUE(WaitFor([&] { return Exists(install.path("letter.txt")); })) << DescribeWindows(program);
    EXPECT_TRUE(WaitFor([&] { return ReadFile(install.path("letter.txt")) == "first text\r\n"; }));

    // Over an existing file: the dialog asks first, and on consent the whole content is replaced.
    ASSERT_TRUE(PutOnClipboard("second"));
    ChooseFromToolsMenu(program, 'S');
    ASSERT_TRUE(WaitFor([&] { return (dialog = DialogOf(program, "Save Message")) != nullptr; }));
    SaveAs(dialog, install.path("letter.txt"));
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND w : program.topWindows("#32770"))
            if (w != dialog && IsWindowVisible(w) && TextOf(w) == "Save Message") question = w;
        return question != nullptr;
    })) << DescribeWindows(program);
    EXPECT_TRUE(ClickButton(question, "&Yes"));
    EXPECT_TRUE(WaitFor([&] { return ReadFile(install.path("letter.txt")) == "second"; }))
        << ReadFile(install.path("letter.txt"));
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

TEST(ToolsMenu, PrintWithoutAnyPrinterIsReportedAndTheProgramGoesOn) {
    // No print server at all, whatever this machine has: libcups (and so Wine) reads this.
    struct NoPrintServer {
        NoPrintServer() { SetEnvironmentVariableA("CUPS_SERVER", "/nonexistent/vostrel5/cups.sock"); }
        ~NoPrintServer() { SetEnvironmentVariableA("CUPS_SERVER", nullptr); }
    } noPrintServer;
    Installation install;
    Process program = install.startResident("noprinter");
    ASSERT_TRUE(PutOnClipboard("nothing to print on"));
    ChooseFromToolsMenu(program, 'P');
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = MessageBoxOf(program, "Warning")) != nullptr; }))
        << DescribeWindows(program);
    EXPECT_NE(MessageBoxText(box).find("with UH There is no default printer currently selected"), std::string::npos)
        << MessageBoxText(box);
    EXPECT_TRUE(ClickButton(box, "OK"));
    EXPECT_NE(install.log().find(": Error in TPopupList."), std::string::npos) << install.log();
    // Still resident: the menu opens again and the program ends when asked.
    ASSERT_TRUE(PutOnClipboard("x"));
    ChooseFromToolsMenu(program, 'Q');
    EXPECT_TRUE(WaitFor([&] { return ClipboardText() == "> x"; }));
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

// The clipboard printed on the default printer, a PDF printer whose files land in the folder
// named by V5_PRINT_OUT. The script that runs this checks the pages' text and picture.
TEST(PrintJob, ClipboardPrintsOnTheDefaultPrinter) {
    const char* out = std::getenv("V5_PRINT_OUT");
    ASSERT_NE(out, nullptr) << "run through e2e/print_to_pdf.sh";
    std::string folder = std::string("Z:") + out;
    for (char& c : folder)
        if (c == '/') c = '\\';
    if (folder.back() != '\\') folder += '\\';

    std::string text =
        "Vostrel 5 prints the clipboard.\r\n"
        "\r\n";
    for (int i = 0; i < 12; ++i)
        text += "This long line is wrapped at blanks to the width of the page, word after word. ";
    text += "\r\n";
    // Unbroken words wider than 65,535 printer pixels, of lengths that together cover the
    // widths a character can have here: cut to 16 bits, one of them would be taken to fit.
    for (int length : {2560, 2640, 2720, 2800}) text += std::string(length, 'x') + "\r\n";
    for (int i = 1; i <= 60; ++i) text += "Numbered line " + std::to_string(100 + i).substr(1) + "\r\n";
    Installation install;
    Process program = install.startResident("print");
    ASSERT_TRUE(PutOnClipboard(text));
    ChooseFromToolsMenu(program, 'P');
    // The job goes to the print server when the program is done with it; the PDF follows.
    EXPECT_TRUE(WaitFor([&] { return !FilesIn(folder).empty(); }, 120000)) << DescribeWindows(program);
    EXPECT_EQ(MessageBoxOf(program, "Warning"), nullptr) << install.log();
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}
