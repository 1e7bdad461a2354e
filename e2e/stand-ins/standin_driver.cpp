// A mail form driver program for the stand-in mailer: it answers the three driver commands for
// the stand-in mailer's window, and shows what it is when run with no command.
// Usage: standin_driver.exe [Data File=<path> | read File=<path> | Write File=<path>]
//
// Beside the program:
//   standin_driver.ini  control file, one section per driver file name (for instance
//                       [StandIn.EXE]), read at every start:
//                         Short=<text>  the piece of the mailer window's title it serves
//                                       (default "Stand-in Mailer")
//                         Wtype=N       the window type "read File=" reports (default 1)
//                         To=<text>     a To line for "read File=" (default: none)
//                         Read=<fault>  "read File=" misbehaves: nothing (writes no file),
//                                       empty (an empty file), exit3 (ends with code 3 without
//                                       writing), random (64 KB of fixed pseudo-random bytes of
//                                       every value, with one empty line in the middle)
//   standin_driver.log  one line per command: its first word, then the process's creation time
//                       and the time it ended, in microseconds of the system clock
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr const char* kDefaultShort = "Stand-in Mailer";
constexpr const char* kInformation = "Stand-in mailer driver";

struct Control {
    std::string dir;
    std::string name;
    std::string shortText = kDefaultShort;
    int wtype = 1;
    std::string to;
    std::string readFault;
};

Control gControl;

std::string Setting(const std::string& key, const std::string& fallback) {
    char value[512] = {};
    GetPrivateProfileStringA(gControl.name.c_str(), key.c_str(), fallback.c_str(), value, sizeof value,
                             (gControl.dir + "standin_driver.ini").c_str());
    return value;
}

void ReadControl() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program = path;
    gControl.dir = program.substr(0, program.rfind('\\') + 1);
    gControl.name = program.substr(gControl.dir.size());
    gControl.shortText = Setting("Short", kDefaultShort);
    gControl.wtype = static_cast<int>(GetPrivateProfileIntA(gControl.name.c_str(), "Wtype", 1,
                                                            (gControl.dir + "standin_driver.ini").c_str()));
    gControl.to = Setting("To", "");
    gControl.readFault = Setting("Read", "");
}

struct Found {
    HWND frame = nullptr;
};

BOOL CALLBACK FindFrame(HWND hwnd, LPARAM param) {
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (std::string(title).find(gControl.shortText) == std::string::npos) return TRUE;
    reinterpret_cast<Found*>(param)->frame = hwnd;
    return FALSE;
}

HWND TextWindow() {
    Found found;
    EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&found));
    return found.frame ? GetWindow(found.frame, GW_CHILD) : nullptr;
}

std::string Text(HWND hwnd) {
    const LRESULT length = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Starts(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

std::string RandomBytes() {
    std::string bytes;
    std::uint32_t state = 12345;
    for (int i = 0; i < 65536; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += static_cast<char>(state >> 23);
    }
    bytes.replace(32768, 4, "\r\n\r\n");
    return bytes;
}

// "read File=": the message of the mailer's window, or the fault the control file asks for.
// Returns the driver's exit code.
int ReadMessage(const std::string& path, const std::string& header) {
    const std::string& fault = gControl.readFault;
    if (fault == "nothing") return 0;
    if (fault == "exit3") return 3;
    std::string content;
    if (fault == "random") {
        content = RandomBytes();
    } else if (fault != "empty") {
        if (HWND text = TextWindow()) {
            content = "Wtype: " + std::to_string(gControl.wtype) + "\r\n" + header;
            if (!gControl.to.empty()) content += "To: " + gControl.to + "\r\n";
            content += "\r\n" + Text(text);
        }
    }
    Write(path, content);
    return 0;
}

std::uint64_t Microseconds(const FILETIME& time) {
    return ((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10;
}

// How long this start of the driver took, from the creation of its process.
void LogCommand(const std::string& command) {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    std::ofstream(gControl.dir + "standin_driver.log", std::ios::binary | std::ios::app)
        << command.substr(0, command.find(' ')) << " " << Microseconds(created) << " " << Microseconds(now) << "\r\n";
}

int Serve(const std::string& command) {
    const std::string header =
        std::string("Information: ") + kInformation + "\r\nShort: " + gControl.shortText + "\r\n";
    if (Starts(command, "Data File=")) {
        Write(command.substr(10), header);
    } else if (Starts(command, "read File=")) {
        return ReadMessage(command.substr(10), header);
    } else if (Starts(command, "Write File=")) {
        const std::string data = Read(command.substr(11));
        const std::size_t body = data.find("\r\n\r\n");
        HWND text = TextWindow();
        if (!text || body == std::string::npos) return 1;
        SendMessageA(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(data.substr(body + 4).c_str()));
    } else if (command.empty()) {
        MessageBoxA(nullptr, "Mail form driver for the stand-in mailer", kInformation, MB_OK | MB_ICONINFORMATION);
    } else {
        return 2;
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    ReadControl();
    const std::string command = commandLine;
    const int code = Serve(command);
    if (!command.empty()) LogCommand(command);
    return code;
}
