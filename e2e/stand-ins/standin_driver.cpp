// A mail form driver program for the stand-in mailer: it answers the three driver commands for
// the stand-in mailer's window, and shows what it is when run with no command.
// Usage: standin_driver.exe [Data File=<path> | read File=<path> | Write File=<path>]
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr const char* kShort = "Stand-in Mailer";
constexpr const char* kInformation = "Stand-in mailer driver";

struct Found {
    HWND frame = nullptr;
};

BOOL CALLBACK FindFrame(HWND hwnd, LPARAM param) {
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (std::string(title).find(kShort) == std::string::npos) return TRUE;
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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const std::string command = commandLine;
    const std::string header = std::string("Information: ") + kInformation + "\r\nShort: " + kShort + "\r\n";
    if (Starts(command, "Data File=")) {
        Write(command.substr(10), header);
    } else if (Starts(command, "read File=")) {
        HWND text = TextWindow();
        Write(command.substr(10), text ? "Wtype: 1\r\n" + header + "\r\n" + Text(text) : std::string());
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
