#include "pgptray/win32/gpg_process.h"

#include <windows.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace pgptray {
namespace {

// One pipe: the parent's end and the child's (inheritable) end; closed when it goes.
struct Pipe {
    HANDLE parent = nullptr;
    HANDLE child = nullptr;
    // childReads: the child reads from it (its standard input, the pass phrase).
    bool open(bool childReads) {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (!CreatePipe(&read, &write, &sa, 1 << 20)) return false;
        parent = childReads ? write : read;
        child = childReads ? read : write;
        SetHandleInformation(parent, HANDLE_FLAG_INHERIT, 0);
        return true;
    }
    void closeChild() { close(child); }
    void closeParent() { close(parent); }
    static void close(HANDLE& h) {
        if (h) CloseHandle(h);
        h = nullptr;
    }
    ~Pipe() {
        closeChild();
        closeParent();
    }
};

void readAll(HANDLE h, std::string* out) {
    std::vector<char> buffer(1 << 20);
    DWORD got = 0;
    while (ReadFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
        out->append(buffer.data(), got);
}

void writeAll(HANDLE h, const std::string* text) {
    std::size_t done = 0;
    while (done < text->size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text->size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(h, text->data() + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
}

// Waits for the handle while letting the thread's windows paint and answer.
void waitPumping(HANDLE h) {
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                WaitForSingleObject(h, INFINITE);
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace

void LaunchAgent(const std::string& gpgExe, const std::string& keyFolder) {
    const std::string gpgconf = gpgExe.substr(0, gpgExe.find_last_of("\\/") + 1) + "gpgconf.exe";
    std::vector<std::string> args;
    if (!keyFolder.empty()) args = {"--homedir", keyFolder};
    args.insert(args.end(), {"--launch", "gpg-agent"});
    std::string commandLine = CommandLine(gpgconf, args);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(gpgconf.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return;
    CloseHandle(pi.hThread);
    waitPumping(pi.hProcess);
    CloseHandle(pi.hProcess);
}

GpgResult RunGpg(const std::string& gpgExe, const GpgRequest& request, const std::string& input,
                 const std::string* passphrase) {
    GpgResult result;
    Pipe in, out, err, status, pass;
    if (!in.open(true) || !out.open(false) || !err.open(false) || !status.open(false)) return result;
    if (passphrase && !pass.open(true)) return result;
    GpgPipes pipes;
    pipes.statusHandle = static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(status.child));
    pipes.passphraseHandle = passphrase ? static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(pass.child)) : 0;
    std::string commandLine = CommandLine(gpgExe, GpgArguments(request, pipes));

    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = in.child;
    si.hStdOutput = out.child;
    si.hStdError = err.child;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(gpgExe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return result;
    result.started = true;
    CloseHandle(pi.hThread);
    in.closeChild();
    out.closeChild();
    err.closeChild();
    status.closeChild();
    pass.closeChild();
    if (passphrase) {
        // A short pass phrase fits the pipe's buffer; gpg reads it only if a key asks for it.
        std::string line = *passphrase + "\n";
        writeAll(pass.parent, &line);
        SecureZeroMemory(line.data(), line.size());
        pass.closeParent();
    }

    std::thread writer([&] {
        writeAll(in.parent, &input);
        in.closeParent();
    });
    std::thread outReader(readAll, out.parent, &result.output);
    std::thread errReader(readAll, err.parent, &result.messages);
    std::thread statusReader(readAll, status.parent, &result.status);
    waitPumping(pi.hProcess);
    // Once gpg has ended, a write it left unread fails, so the writer ends too.
    writer.join();
    outReader.join();
    errReader.join();
    statusReader.join();
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    result.exitCode = code;
    CloseHandle(pi.hProcess);
    return result;
}

}  // namespace pgptray
