#include "pgptray/win32/gpg_process.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/win32/toolkit/handles.h"

namespace pgptray {
namespace {

// One pipe: the parent's end and the child's (inheritable) end.
struct Pipe {
    v5::win32::OwnedHandle parent;
    v5::win32::OwnedHandle child;
    // childReads: the child reads from it (its standard input, the pass phrase).
    bool open(bool childReads) {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (!CreatePipe(&read, &write, &sa, 1 << 20)) return false;
        parent.reset(childReads ? write : read);
        child.reset(childReads ? read : write);
        SetHandleInformation(parent.get(), HANDLE_FLAG_INHERIT, 0);
        return true;
    }
};

// Reads straight into the text, grown by doubling, so a large output is not copied piece by piece.
void readAll(HANDLE h, void* text) {
    auto* out = static_cast<std::string*>(text);
    constexpr std::size_t kChunk = 64 << 10;
    std::size_t filled = out->size();
    for (;;) {
        if (out->size() - filled < kChunk) out->resize(std::max(out->size() * 2, filled + kChunk));
        DWORD got = 0;
        const DWORD room = static_cast<DWORD>(std::min<std::size_t>(out->size() - filled, 1 << 24));
        if (!ReadFile(h, out->data() + filled, room, &got, nullptr) || got == 0) break;
        filled += got;
    }
    out->resize(filled);
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

void writeInput(HANDLE h, void* text) { writeAll(h, static_cast<const std::string*>(text)); }

// One pipe end served on a thread of its own: gpg's input written, or one of its outputs read.
// The worker takes the end over and closes it as soon as its work is done, so that gpg sees the
// end of its input then. A plain Win32 thread: the C++ thread class would bring a threads
// library into the programs.
class PipeWorker {
public:
    PipeWorker(void (*work)(HANDLE, void*), v5::win32::OwnedHandle& pipe, void* text)
        : work_(work),
          pipe_(std::move(pipe)),
          text_(text),
          thread_(CreateThread(nullptr, 0, &PipeWorker::main, this, 0, nullptr)) {}
    ~PipeWorker() {
        if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
    }
    PipeWorker(const PipeWorker&) = delete;
    PipeWorker& operator=(const PipeWorker&) = delete;
    bool running() const { return static_cast<bool>(thread_); }

private:
    static DWORD WINAPI main(void* self) {
        auto* w = static_cast<PipeWorker*>(self);
        w->work_(w->pipe_.get(), w->text_);
        w->pipe_.reset();
        return 0;
    }
    void (*work_)(HANDLE, void*);
    v5::win32::OwnedHandle pipe_;
    void* text_;
    v5::win32::OwnedHandle thread_;
};

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
    const v5::win32::OwnedProcess gpgconfRun(pi);
    waitPumping(gpgconfRun.process.get());
}

GpgResult RunGpg(const std::string& gpgExe, const GpgRequest& request, const std::string& input,
                 const std::string* passphrase) {
    GpgResult result;
    Pipe in, out, err, status, pass;
    if (!in.open(true) || !out.open(false) || !err.open(false) || !status.open(false)) return result;
    if (passphrase && !pass.open(true)) return result;
    GpgPipes pipes;
    pipes.statusHandle = static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(status.child.get()));
    pipes.passphraseHandle =
        passphrase ? static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(pass.child.get())) : 0;
    std::string commandLine = CommandLine(gpgExe, GpgArguments(request, pipes));

    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = in.child.get();
    si.hStdOutput = out.child.get();
    si.hStdError = err.child.get();
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(gpgExe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return result;
    result.started = true;
    const v5::win32::OwnedProcess gpg(pi);
    for (Pipe* pipe : {&in, &out, &err, &status, &pass}) pipe->child.reset();
    if (passphrase) {
        // A short pass phrase fits the pipe's buffer; gpg reads it only if a key asks for it.
        std::string line = *passphrase + "\n";
        writeAll(pass.parent.get(), &line);
        SecureZeroMemory(line.data(), line.size());
        pass.parent.reset();
    }

    {
        // The workers are waited for when the block is left: once gpg has ended, a write it left
        // unread fails, so the writer ends too, and the readers meet the end of its output.
        PipeWorker outReader(readAll, out.parent, &result.output);
        PipeWorker errReader(readAll, err.parent, &result.messages);
        PipeWorker statusReader(readAll, status.parent, &result.status);
        PipeWorker writer(writeInput, in.parent, const_cast<std::string*>(&input));
        if (!(outReader.running() && errReader.running() && statusReader.running() && writer.running())) {
            // Without all four gpg could wait on a full pipe for ever.
            TerminateProcess(gpg.process.get(), 1);
            result.started = false;
        }
        waitPumping(gpg.process.get());
    }
    DWORD code = 0;
    GetExitCodeProcess(gpg.process.get(), &code);
    result.exitCode = code;
    return result;
}

}  // namespace pgptray
