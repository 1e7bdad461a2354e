#include "run_support.h"

#include <cstdio>


namespace e2e {
namespace {

const std::string kBlanks(200, ' ');

void Copy(const std::string& from, const std::string& to) {
    EXPECT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from << " -> " << to;
}

}  // namespace

void SetClipboardText(const std::string& text) {
    // Another program (the stand-in suite, the mailer) may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 50 && !PutOnClipboard(text); ++attempt) Sleep(20);
}

std::vector<std::string> FilesHolding(const std::string& folder, const std::string& marker) {
    std::vector<std::string> found;
    WIN32_FIND_DATAA data;
    const v5::win32::OwnedFileSearch find(FindFirstFileA((folder + "*").c_str(), &data));
    if (!find) return found;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (const std::string& inner : FilesHolding(path + "\\", marker)) found.push_back(inner);
        } else if (ReadFile(path).find(marker) != std::string::npos) {
            found.push_back(path);
        }
    } while (FindNextFileA(find.get(), &data));
    return found;
}

int CountLines(const std::string& log, const std::string& tail) {
    int n = 0;
    for (const std::string& line : LogLines(log))
        if (line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0) ++n;
    return n;
}

double SecondsRecorded(const std::string& records) {
    double seconds = 0;
    for (const std::string& line : LogLines(records)) {
        unsigned long long from = 0, to = 0;
        if (std::sscanf(line.c_str(), "%*s %llu %llu", &from, &to) == 2 && to >= from) seconds += (to - from) / 1e6;
    }
    return seconds;
}

RunRig::RunRig(const RunSetup& setup, const std::string& arguments) {
    const std::string dir = install.dir();
    pgpDir_ = dir;
    // The driver package is the installation folder itself: the catalogue and the stand-in
    // mailer's driver under the names the catalogue gives it.
    Copy(BuildDir() + "stand-ins\\SELECTG.DAT", install.path("SELECTG.DAT"));
    Copy(BuildDir() + "standin_driver.exe", install.path("StandIn.EXE"));
    Copy(BuildDir() + "standin_driver.exe", install.path("standin2.exe"));
    Copy(BuildDir() + "standin_pgp.exe", install.path("PGPTray.Exe"));
    setPgpControl(setup.pgpControl);
    std::string driverControl = "[StandIn.EXE]\r\n" + setup.driverControl;
    if (!setup.secondMessage.empty()) driverControl += "[standin2.exe]\r\nShort=Other Stand-in\r\n";
    WriteFile(install.path("standin_driver.ini"), driverControl);
    WritePrivateProfileStringA("Mail Form Drivers", "Path", dir.substr(0, dir.size() - 1).c_str(), "WIN.INI");

    std::string active =
        setup.notepadDriver ? "Notepad" + kBlanks + "Notepad.mfs\r\n" : "Stand-in Mailer" + kBlanks + "StandIn.EXE\r\n";
    if (!setup.secondMessage.empty())
        active += "Stand-in Mailer, driver named in lower case" + kBlanks + "standin2.exe\r\n";
    WriteFile(install.path("ActiveMailers.dat"), active);
    std::string list;
    for (const std::string& address : setup.mailingList) list += address + "\r\n";
    WriteFile(install.path("MailingList.dat"), list);

    const std::string ini = SettingsFilePath();
    DeleteFileA(ini.c_str());
    WritePrivateProfileStringA("PGP", "Mainexe", install.path("PGPTray.Exe").c_str(), ini.c_str());
    WritePrivateProfileStringA("General", "optProcessing", std::to_string(setup.optProcessing).c_str(), ini.c_str());
    WritePrivateProfileStringA("General", "optOutward", std::to_string(setup.optOutward).c_str(), ini.c_str());
    WritePrivateProfileStringA("General", "chkIgnoreWrappedKeys", setup.ignoreWrappedKeys ? "1" : "0", ini.c_str());
    WritePrivateProfileStringA("General", "TipEnabled", "0", ini.c_str());

    if (setup.startMailer) startMailer(setup.message);
    if (!setup.secondMessage.empty()) {
        WriteFile(install.path("second.txt"), setup.secondMessage);
        secondMailer = Process(BuildDir() + "standin_mailer.exe", "/load=" + install.path("second.txt") + " Other Stand-in");
        EXPECT_TRUE(WaitFor([&] { return !secondMailer.topWindows("StandInMailer").empty(); }));
        DeleteFileA(install.path("second.txt").c_str());
    }
    program = install.startResident(arguments);
}

RunRig::~RunRig() {
    setPgpControl("");  // a request that the stand-in PGP still holds is answered
    RequestClose(program);
    program.waitExit(10000);
    // The stand-in PGP stays running between requests; end it with the test.
    for (HWND w = FindWindowA("PGPtray_Hidden_Window", nullptr); w; w = FindWindowA("PGPtray_Hidden_Window", nullptr)) {
        PostMessageA(w, WM_CLOSE, 0, 0);
        if (!WaitFor([&] { return !IsWindow(w); }, 5000)) break;
    }
    // Whichever way the scenario went, the message must not be left on disk.
    EXPECT_EQ(plaintextLeft(kRunMarker), std::vector<std::string>{}) << "after the scenario";
}

void Notepad::raise() const { SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

Notepad StartNotepad(const std::string& text) {
    Notepad notepad{Process("C:\\windows\\notepad.exe", "")};
    EXPECT_TRUE(WaitFor([&] {
        const std::vector<HWND> frames = notepad.process.topWindows("Notepad");
        notepad.frame = frames.empty() ? nullptr : frames.front();
        notepad.edit = notepad.frame ? FindWindowExA(notepad.frame, nullptr, "Edit", nullptr) : nullptr;
        return notepad.edit != nullptr;
    })) << DescribeWindows(notepad.process);
    // Set up and shown: it does not come to the top by itself after the test has arranged the windows.
    EXPECT_TRUE(notepad.process.waitIdle());
    SendMessageA(notepad.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return notepad;
}

void RunRig::startMailer(const std::string& message) {
    WriteFile(install.path("message.txt"), message);
    mailer = Process(BuildDir() + "standin_mailer.exe", "/load=" + install.path("message.txt") + " Stand-in Mailer");
    EXPECT_TRUE(WaitFor([&] { return !mailer.topWindows("StandInMailer").empty(); }));
    // The message file has done its work; it must not be taken for a copy the run left behind.
    DeleteFileA(install.path("message.txt").c_str());
}

std::string RunRig::TextOfMailer(const Process& mailer) {
    const std::vector<HWND> frames = mailer.topWindows("StandInMailer");
    if (frames.empty()) return {};
    return TextOf(GetWindow(frames.front(), GW_CHILD));
}

void RunRig::clickTray() const {
    std::vector<HWND> icons;
    EXPECT_TRUE(WaitFor([&] { return (icons = TrayIcons()).size() >= 2; })) << "tray icons missing";
    if (!icons.empty()) ClickTrayIcon(icons[0], WM_LBUTTONUP);
}

void RunRig::rightClickTray() const {
    std::vector<HWND> icons;
    EXPECT_TRUE(WaitFor([&] { return (icons = TrayIcons()).size() >= 2; })) << "tray icons missing";
    if (!icons.empty()) ClickTrayIcon(icons[0], WM_RBUTTONUP);
}

bool RunRig::waitForRunEnds(int count, DWORD timeoutMs) const {
    return WaitFor([&] { return CountLines(install.log(), ": MainPGP-End") >= count; }, timeoutMs);
}

std::string RunRig::pgpLog() const { return ReadFile(pgpDir_ + "standin_pgp.log"); }

void RunRig::setPgpControl(const std::string& lines) const {
    WriteFile(pgpDir_ + "standin_pgp.ini", "[Control]\r\n" + lines);
}

std::string RunRig::driverTimes() const { return ReadFile(install.path("standin_driver.log")); }

std::string RunRig::pgpTimes() const { return ReadFile(pgpDir_ + "standin_pgp.times"); }

std::vector<std::string> RunRig::plaintextLeft(const std::string& marker) const {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::vector<std::string> found = FilesHolding(install.dir(), marker);
    for (const std::string& path : FilesHolding(temp, marker))
        if (path.rfind(install.dir(), 0) != 0) found.push_back(path);
    return found;
}

}  // namespace e2e
