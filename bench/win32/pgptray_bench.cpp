// Times encryption and decryption of 1 MB and 16 MB through PGPTray.Exe (the clipboard and its
// hidden window, recipients given on its command line) and through gpg.exe alone (files in,
// files out), with gpg's agent already running. Run by scripts/bench-pgptray.
// Usage: pgptray_bench <tray folder> <gpg.exe> <key folder> <recipient fingerprint> <work folder>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

double seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

LARGE_INTEGER now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

bool run(std::string commandLine) {
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                        &pi))
        return false;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0;
}

void setClipboard(const std::string& text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
}

std::string clipboard() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

void writeFile(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

std::string sampleText(std::size_t size) {
    std::string text;
    for (int line = 0; text.size() < size; ++line)
        text += "Line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog, again and again.\r\n";
    text.resize(size - 2);
    return text + "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: pgptray_bench <tray folder> <gpg.exe> <key folder> <fingerprint> <work folder>\n");
        return 2;
    }
    const std::string trayDir = argv[1], gpg = argv[2], keys = argv[3], fpr = argv[4], work = argv[5];
    const std::string g = "\"" + gpg + "\" --batch --no-tty --homedir \"" + keys + "\" --yes ";
    // The agent runs before any timing, as it does on a desktop.
    run("\"" + gpg.substr(0, gpg.find_last_of('\\') + 1) + "gpgconf.exe\" --homedir \"" + keys +
        "\" --launch gpg-agent");

    std::string trayCmd = "\"" + trayDir + "\\PGPTray.Exe\" /recipient=" + fpr;
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION tray{};
    if (!CreateProcessA(nullptr, trayCmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &tray)) return 1;
    HWND hidden = nullptr;
    for (int i = 0; i < 600 && !(hidden = FindWindowA("PGPtray_Hidden_Window", nullptr)); ++i) Sleep(100);
    if (!hidden) return 1;
    setClipboard("warm-up\r\n");
    SendMessageA(hidden, WM_COMMAND, 40017, 0);

    std::printf("%-6s %10s %10s %9s %10s %10s %9s\n", "size", "gpg enc", "tray enc", "overhead", "gpg dec",
                "tray dec", "overhead");
    int failures = 0;
    for (std::size_t mb : {1u, 16u}) {
        const std::string text = sampleText(mb << 20);
        const std::string plain = work + "\\plain.txt", cipher = work + "\\cipher.asc", back = work + "\\back.txt";
        writeFile(plain, text);
        LARGE_INTEGER t0 = now();
        const bool encrypted = run(g + "--armor --trust-model always -r " + fpr + " -o \"" + cipher + "\" -e \"" + plain + "\"");
        LARGE_INTEGER t1 = now();
        const bool decrypted = run(g + "-o \"" + back + "\" -d \"" + cipher + "\"");
        LARGE_INTEGER t2 = now();

        LARGE_INTEGER c0 = now();
        setClipboard(text);
        LARGE_INTEGER t3 = now();
        (void)clipboard();
        LARGE_INTEGER c1 = now();
        std::fprintf(stderr, "%zu MB: the clipboard takes %.2fs to set, %.2fs to read\n", mb, seconds(c0, t3), seconds(t3, c1));
        t3 = now();
        SendMessageA(hidden, WM_COMMAND, 40017, 0);
        LARGE_INTEGER t4 = now();
        const std::string armoured = clipboard();
        LARGE_INTEGER t5 = now();
        SendMessageA(hidden, WM_COMMAND, 40008, 0);
        LARGE_INTEGER t6 = now();
        const bool roundTrip = clipboard() == text;
        const bool isMessage = armoured.find("-----BEGIN PGP MESSAGE-----") != std::string::npos;
        if (!encrypted || !decrypted || !isMessage || !roundTrip) ++failures;
        const double ge = seconds(t0, t1), gd = seconds(t1, t2), te = seconds(t3, t4), td = seconds(t5, t6);
        std::printf("%3zu MB %9.2fs %9.2fs %8.0f%% %9.2fs %9.2fs %8.0f%%%s\n", mb, ge, te, 100 * (te - ge) / ge, gd,
                    td, 100 * (td - gd) / gd, roundTrip && isMessage ? "" : "  (tray result wrong)");
        std::fflush(stdout);
        DeleteFileA(plain.c_str());
        DeleteFileA(back.c_str());
    }
    PostMessageA(hidden, WM_COMMAND, 40099, 0);
    WaitForSingleObject(tray.hProcess, 30000);
    return failures ? 1 : 0;
}
