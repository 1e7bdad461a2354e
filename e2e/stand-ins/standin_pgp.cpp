// A stand-in PGP suite for tests. The same program serves as the tray program (any name other
// than the two below), "PGPKeys.Exe" and "PGPTools.Exe". As the tray program it keeps a hidden
// top-level window of class "PGPtray_Hidden_Window" and answers the suite's commands with
// predictable results on the clipboard; see docs/stand-in-pgp.md.
//
// Beside the program:
//   standin_pgp.ini  control file, section [Control]: StartDelayMs, NeverWindow, LifetimeMs,
//                    Cancel, FailEncrypt, KeyInDecrypted, Hold, HoldClipboardMs
//   standin_pgp.log  one line per start and per command received
//   standin_pgp.times when the tray copy started and made its window, and when each command
//                    came and was answered
//   standin_pgp.keys the key blocks given to -AddKey, one after another
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "platform/win32/toolkit/clipboard.h"
#include "platform/win32/toolkit/window_class.h"

namespace {

constexpr const char* kWindowClass = "PGPtray_Hidden_Window";
constexpr const char* kBeginMessage = "-----BEGIN PGP MESSAGE-----";
constexpr const char* kEndMessage = "-----END PGP MESSAGE-----";
constexpr const char* kBeginSigned = "-----BEGIN PGP SIGNED MESSAGE-----";
constexpr const char* kBeginSignature = "-----BEGIN PGP SIGNATURE-----";
constexpr const char* kEndSignature = "-----END PGP SIGNATURE-----";
constexpr const char* kBeginKey = "-----BEGIN PGP PUBLIC KEY BLOCK-----";
constexpr const char* kEndKey = "-----END PGP PUBLIC KEY BLOCK-----";
// The key block put into a decrypted text when KeyInDecrypted is set.
constexpr int kHoldLimitMs = 60000;
constexpr UINT_PTR kClipboardTimer = 2;
constexpr int kHoldLookMs = 50;
constexpr const char* kInnerKey =
    "-----BEGIN PGP PUBLIC KEY BLOCK-----\r\nVersion: Stand-in\r\n\r\nU3RhbmQtaW4ga2V5\r\n"
    "-----END PGP PUBLIC KEY BLOCK-----\r\n";

struct Control {
    int startDelayMs = 0;
    bool neverWindow = false;
    int lifetimeMs = 0;  // 0: until ended; with NeverWindow the default is 30 s
    bool cancel = false;
    bool failEncrypt = false;
    bool keyInDecrypted = false;
    bool hold = false;
    int holdClipboardMs = 0;  // the clipboard stays open this long after each answer
};

std::string gDir;
Control gControl;
// The clipboard held open after an answer (HoldClipboardMs).
std::unique_ptr<v5::win32::OpenedClipboard> gHeldClipboard;

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

void Log(const std::string& line) {
    std::ofstream(gDir + "standin_pgp.log", std::ios::binary | std::ios::app) << line << "\r\n";
}

Control ReadControl() {
    const std::string ini = gDir + "standin_pgp.ini";
    Control c;
    c.startDelayMs = GetPrivateProfileIntA("Control", "StartDelayMs", 0, ini.c_str());
    c.neverWindow = GetPrivateProfileIntA("Control", "NeverWindow", 0, ini.c_str()) != 0;
    c.lifetimeMs = GetPrivateProfileIntA("Control", "LifetimeMs", c.neverWindow ? 30000 : 0, ini.c_str());
    c.cancel = GetPrivateProfileIntA("Control", "Cancel", 0, ini.c_str()) != 0;
    c.failEncrypt = GetPrivateProfileIntA("Control", "FailEncrypt", 0, ini.c_str()) != 0;
    c.keyInDecrypted = GetPrivateProfileIntA("Control", "KeyInDecrypted", 0, ini.c_str()) != 0;
    c.hold = GetPrivateProfileIntA("Control", "Hold", 0, ini.c_str()) != 0;
    c.holdClipboardMs = GetPrivateProfileIntA("Control", "HoldClipboardMs", 0, ini.c_str());
    return c;
}

constexpr const char* kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Base64 in lines of 64 characters, each ended with CR LF.
std::string Encode(const std::string& bytes) {
    std::string flat;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
        flat += kBase64[(v >> 18) & 63];
        flat += kBase64[(v >> 12) & 63];
        flat += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
        flat += i + 2 < bytes.size() ? kBase64[v & 63] : '=';
    }
    std::string lines;
    for (std::size_t i = 0; i < flat.size(); i += 64) lines += flat.substr(i, 64) + "\r\n";
    return lines;
}

std::string Decode(const std::string& text) {
    std::string bytes;
    unsigned v = 0;
    int bits = 0;
    for (char c : text) {
        const char* at = std::strchr(kBase64, c);
        if (c == '\0' || !at) continue;  // line ends and padding
        v = (v << 6) | static_cast<unsigned>(at - kBase64);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((v >> bits) & 0xFF);
        }
    }
    return bytes;
}

// The text between the first begin line and the end line after it, without the two lines.
bool Between(const std::string& text, const char* begin, const char* end, std::string& inside) {
    const std::size_t b = text.find(begin);
    if (b == std::string::npos) return false;
    const std::size_t bodyStart = text.find('\n', b);
    const std::size_t e = text.find(end, b);
    if (bodyStart == std::string::npos || e == std::string::npos || e < bodyStart) return false;
    inside = text.substr(bodyStart + 1, e - bodyStart - 1);
    return true;
}

// The message block's body: "E:" or "ES:" and the text, in base64 after an armour header.
std::string MessageBlock(const std::string& marker, const std::string& text) {
    return std::string(kBeginMessage) + "\r\nVersion: Stand-in\r\n\r\n" + Encode(marker + text) + kEndMessage + "\r\n";
}

std::string SignedBlock(const std::string& text) {
    return std::string(kBeginSigned) + "\r\nHash: SHA1\r\n\r\n" + text + "\r\n" + kBeginSignature +
           "\r\nVersion: Stand-in\r\n\r\n" + Encode("S:" + std::to_string(text.size())) + kEndSignature + "\r\n";
}

// The plain text of a block made by this program; empty when the text holds none.
std::string Reverse(const std::string& text) {
    std::string inside;
    if (Between(text, kBeginMessage, kEndMessage, inside)) {
        const std::size_t blank = inside.find("\r\n\r\n");
        const std::string plain = Decode(blank == std::string::npos ? inside : inside.substr(blank + 4));
        if (plain.rfind("ES:", 0) == 0) return plain.substr(3);
        if (plain.rfind("E:", 0) == 0) return plain.substr(2);
        return plain;
    }
    if (Between(text, kBeginSigned, kBeginSignature, inside)) {
        const std::size_t blank = inside.find("\r\n\r\n");
        std::string plain = blank == std::string::npos ? inside : inside.substr(blank + 4);
        if (plain.size() >= 2 && plain.compare(plain.size() - 2, 2, "\r\n") == 0) plain.resize(plain.size() - 2);
        return plain;
    }
    return {};
}

void RecordKeys(const std::string& text) {
    std::ofstream keys(gDir + "standin_pgp.keys", std::ios::binary | std::ios::app);
    for (std::size_t at = text.find(kBeginKey); at != std::string::npos; at = text.find(kBeginKey, at + 1)) {
        const std::size_t end = text.find(kEndKey, at);
        if (end == std::string::npos) break;
        keys << text.substr(at, end + std::strlen(kEndKey) - at) << "\r\n";
    }
}

const char* SwitchOf(WORD id) {
    switch (id) {
        case 40017: return "-AutoEncrypt";
        case 40018: return "-AutoSign";
        case 40007: return "-AutoEncryptSign";
        case 40006: return "-AddKey";
        case 40008: return "-AutoDecryptVerify";
        case 40012: return "-Properties";
        case 40019: return "-Tools";
        default: return "other";
    }
}

std::uint64_t Microseconds(const FILETIME& time) {
    return ((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10;
}

std::uint64_t Now() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return Microseconds(now);
}

// A line of standin_pgp.times: what, and from when to when in microseconds of the system clock.
void Time(const std::string& what, std::uint64_t from, std::uint64_t to) {
    std::ofstream(gDir + "standin_pgp.times", std::ios::binary | std::ios::app)
        << what << " " << from << " " << to << "\r\n";
}

void Answer(HWND window, WORD id) {
    std::string text;
    v5::win32::ReadClipboardText(text, window);
    if (gControl.cancel) return;
    switch (id) {
        case 40017:
        case 40007:
            v5::win32::WriteClipboardText(
                gControl.failEncrypt ? SignedBlock(text) : MessageBlock(id == 40017 ? "E:" : "ES:", text), window);
            break;
        case 40018: v5::win32::WriteClipboardText(SignedBlock(text), window); break;
        case 40008: {
            std::string plain = Reverse(text);
            if (plain.empty()) break;
            if (gControl.keyInDecrypted) plain += "\r\n" + std::string(kInnerKey);
            v5::win32::WriteClipboardText(plain, window);
            break;
        }
        case 40006: RecordKeys(text); break;
    }
}

void WaitProcessingMessages(int milliseconds) {
    const UINT_PTR timer = SetTimer(nullptr, 0, milliseconds, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && !(msg.message == WM_TIMER && msg.wParam == timer))
        DispatchMessageA(&msg);
    KillTimer(nullptr, timer);
}

void HandleCommand(HWND window, WORD id) {
    const std::uint64_t received = Now();
    Log(std::to_string(id) + " " + SwitchOf(id));
    gControl = ReadControl();  // a test may change the behaviour while the program runs
    // The request stays outstanding, as while PGP's dialog waits for the user.
    for (int waited = 0; gControl.hold && IsWindow(window) && waited < kHoldLimitMs; waited += kHoldLookMs) {
        WaitProcessingMessages(kHoldLookMs);
        gControl = ReadControl();
    }
    Answer(window, id);
    // As a program that watches the clipboard does after every change: it is opened before the
    // answer returns, so whoever sent the command finds it held, and closed by a timer later.
    if (gControl.holdClipboardMs > 0) {
        gHeldClipboard = std::make_unique<v5::win32::OpenedClipboard>(window);
        SetTimer(window, kClipboardTimer, gControl.holdClipboardMs, nullptr);
    }
    Time(SwitchOf(id), received, Now());
}

LRESULT CALLBACK HiddenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: HandleCommand(window, LOWORD(wParam)); return 0;
        case WM_TIMER:
            if (wParam == kClipboardTimer) {
                KillTimer(window, kClipboardTimer);
                gHeldClipboard.reset();
            } else {
                // Its lifetime is over: it goes as if closed.
                SendMessageA(window, WM_CLOSE, 0, 0);
            }
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool NamedAs(const std::string& name, const char* other) { return lstrcmpiA(name.c_str(), other) == 0; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const std::string path = ProgramPath();
    gDir = path.substr(0, path.rfind('\\') + 1);
    const std::string name = path.substr(gDir.size());
    gControl = ReadControl();
    Log("start " + name);
    // The key manager and the tools window only show that they were started.
    if (NamedAs(name, "PGPKeys.Exe") || NamedAs(name, "PGPTools.Exe")) return 0;

    // The waits run a message loop, so the program is ready for input at once: whoever started
    // it (WinExec waits for that) goes on and has to wait for the window itself.
    if (gControl.neverWindow) {
        WaitProcessingMessages(gControl.lifetimeMs);
        return 0;
    }
    // A slow start: the window appears only after the delay.
    if (gControl.startDelayMs > 0) WaitProcessingMessages(gControl.startDelayMs);

    v5::win32::RegisterClassOnce(instance, {.name = kWindowClass, .proc = HiddenProc, .arrowCursor = false});
    HWND window = CreateWindowExA(0, kWindowClass, "PGPtray", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    Log("window");
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    Time("start", Microseconds(created), Now());
    if (gControl.lifetimeMs > 0) SetTimer(window, 1, gControl.lifetimeMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
