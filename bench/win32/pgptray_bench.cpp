// Times encryption and decryption of 1 MB and 16 MB through PGPTray.Exe (the clipboard and its
// hidden window, recipients given on its command line) against gpg.exe alone (files in, files
// out, the same key and options), with gpg's agent already running. Each figure is the median
// of several runs. A third column runs gpg through pipes from this process with the tray
// program's own code (RunGpg), so the cost of the pipes under this system can be told apart from
// the cost of the clipboard and the window messages. Run by scripts/bench-pgptray.
// Usage: pgptray_bench <tray folder> <gpg.exe> <key folder> <recipient fingerprint> <work folder> [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pgptray/win32/gpg_process.h"
#include "platform/win32/toolkit/clipboard.h"

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
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                        &pi))
        return false;
    const v5::win32::OwnedProcess started(pi);
    WaitForSingleObject(started.process.get(), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(started.process.get(), &code);
    return code == 0;
}

std::string clipboard() {
    std::string text;
    v5::win32::ReadClipboardText(text);
    return text;
}

void writeFile(const std::string& path, const std::string& text) {
    const v5::win32::OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string sampleText(std::size_t size) {
    std::string text;
    for (int line = 0; text.size() < size; ++line)
        text += "Line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog, again and again.\r\n";
    text.resize(size - 2);
    return text + "\r\n";
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// One row: gpg alone, gpg through pipes, the tray program, and its overhead over gpg alone.
void printRow(const char* label, std::size_t mb, double (*pick)(std::vector<double>), const std::vector<double>* t) {
    const double ge = pick(t[0]), pe = pick(t[1]), te = pick(t[2]), gd = pick(t[3]), pd = pick(t[4]), td = pick(t[5]);
    std::printf("%3zu MB %-6s %8.3fs %8.3fs %8.3fs %8.0f%% | %8.3fs %8.3fs %8.3fs %8.0f%%\n", mb, label, ge, pe, te,
                100 * (te - ge) / ge, gd, pd, td, 100 * (td - gd) / gd);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6 && argc != 7) {
        std::fprintf(stderr,
                     "usage: pgptray_bench <tray folder> <gpg.exe> <key folder> <fingerprint> <work folder> [runs]\n");
        return 2;
    }
    const std::string trayDir = argv[1], gpg = argv[2], keys = argv[3], fpr = argv[4], work = argv[5];
    const int runs = argc == 7 ? std::max(1, std::atoi(argv[6])) : 7;
    // The options the tray program gives gpg for these operations, but files instead of pipes.
    const std::string g = "\"" + gpg + "\" --batch --no-tty --homedir \"" + keys +
                          "\" --pinentry-mode loopback --yes ";
    // The agent runs before any timing, as it does on a desktop.
    run("\"" + gpg.substr(0, gpg.find_last_of('\\') + 1) + "gpgconf.exe\" --homedir \"" + keys +
        "\" --launch gpg-agent");

    std::string trayCmd = "\"" + trayDir + "\\PGPTray.Exe\" /recipient=" + fpr;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, trayCmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &started)) return 1;
    const v5::win32::OwnedProcess tray(started);
    HWND hidden = nullptr;
    for (int i = 0; i < 600 && !(hidden = FindWindowA("PGPtray_Hidden_Window", nullptr)); ++i) Sleep(100);
    if (!hidden) return 1;
    // A first round trip, so that the tray program has started the agent and read its settings.
    v5::win32::WriteClipboardText("warm-up\r\n");
    SendMessageA(hidden, WM_COMMAND, 40017, 0);
    SendMessageA(hidden, WM_COMMAND, 40008, 0);

    pgptray::GpgRequest encryptRequest;
    encryptRequest.operation = pgptray::GpgOperation::Encrypt;
    encryptRequest.recipients = {fpr};
    encryptRequest.keyFolder = keys;
    pgptray::GpgRequest decryptRequest;
    decryptRequest.operation = pgptray::GpgOperation::DecryptVerify;
    decryptRequest.keyFolder = keys;
    const std::string none;

    std::printf("%d runs each; gpg: files in and out; pipes: gpg fed through pipes by this program\n", runs);
    std::printf("%-13s %9s %9s %9s %9s | %9s %9s %9s %9s\n", "size", "gpg enc", "pipes", "tray enc", "overhead",
                "gpg dec", "pipes", "tray dec", "overhead");
    int failures = 0;
    for (std::size_t mb : {1u, 16u}) {
        const std::string text = sampleText(mb << 20);
        const std::string plain = work + "\\plain.txt", cipher = work + "\\cipher.asc", back = work + "\\back.txt";
        writeFile(plain, text);
        std::vector<double> times[6];  // gpg, pipes and tray: encryption, then decryption
        auto& [ge, pe, te, gd, pd, td] = times;
        for (int i = 0; i < runs; ++i) {
            LARGE_INTEGER t0 = now();
            if (!run(g + "--armor --trust-model always -r " + fpr + " -o \"" + cipher + "\" -e \"" + plain + "\"")) ++failures;
            LARGE_INTEGER t1 = now();
            const pgptray::GpgResult piped = pgptray::RunGpg(gpg, encryptRequest, text, nullptr);
            LARGE_INTEGER t2 = now();
            v5::win32::WriteClipboardText(text);
            LARGE_INTEGER t3 = now();
            SendMessageA(hidden, WM_COMMAND, 40017, 0);
            LARGE_INTEGER t4 = now();
            const std::string armoured = clipboard();
            if (armoured.find("-----BEGIN PGP MESSAGE-----") == std::string::npos || piped.exitCode != 0) ++failures;
            // All three decrypt the same message: the one the tray program made.
            writeFile(cipher, armoured);
            LARGE_INTEGER t5 = now();
            if (!run(g + "-o \"" + back + "\" -d \"" + cipher + "\"")) ++failures;
            LARGE_INTEGER t6 = now();
            const pgptray::GpgResult opened = pgptray::RunGpg(gpg, decryptRequest, armoured, &none);
            LARGE_INTEGER t7 = now();
            SendMessageA(hidden, WM_COMMAND, 40008, 0);
            LARGE_INTEGER t8 = now();
            if (clipboard() != text || opened.output.size() + 1024 < text.size()) ++failures;
            ge.push_back(seconds(t0, t1));
            pe.push_back(seconds(t1, t2));
            te.push_back(seconds(t3, t4));
            gd.push_back(seconds(t5, t6));
            pd.push_back(seconds(t6, t7));
            td.push_back(seconds(t7, t8));
        }
        printRow("median", mb, median, times);
        printRow("best", mb, [](std::vector<double> v) { return best(v); }, times);
        std::fflush(stdout);
        DeleteFileA(plain.c_str());
        DeleteFileA(back.c_str());
        DeleteFileA(cipher.c_str());
    }
    if (failures) std::printf("%d operations gave a wrong result\n", failures);
    PostMessageA(hidden, WM_COMMAND, 40099, 0);
    WaitForSingleObject(tray.process.get(), 30000);
    return failures ? 1 : 0;
}
