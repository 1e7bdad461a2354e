// The attribute lists and the cancelling of a blocked read are Vista's: declared here, looked up
// at run time, so that the programs still start where they are missing.
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0600
#define _WIN32_WINNT 0x0600
#include "pgptray/win32/gpg_process.h"

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "pgptray/gpg_verdict.h"
#include "pgptray/win32/form.h"
#include "platform/win32/toolkit/handles.h"

namespace pgptray {
namespace {

// How long the readers may go on after gpg has ended: a helper that gpg started (a new agent,
// keyboxd) may hold a pipe end of gpg's open for as long as it runs.
constexpr DWORD kReaderGraceMs = 3000;
// How long gpg runs before the window that offers Cancel shows.
constexpr DWORD kCancelWindowDelayMs = 3000;

template <typename Call>
Call kernelCall(const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

struct VistaCalls {
    decltype(&InitializeProcThreadAttributeList) initList = kernelCall<decltype(initList)>("InitializeProcThreadAttributeList");
    decltype(&UpdateProcThreadAttribute) update = kernelCall<decltype(update)>("UpdateProcThreadAttribute");
    decltype(&DeleteProcThreadAttributeList) deleteList = kernelCall<decltype(deleteList)>("DeleteProcThreadAttributeList");
    decltype(&CancelSynchronousIo) cancelIo = kernelCall<decltype(cancelIo)>("CancelSynchronousIo");
};

const VistaCalls& vista() {
    static const VistaCalls calls;
    return calls;
}

// The handles a child is to inherit, and no others: an attribute list for CreateProcess (none
// where the system has no such lists; the child then inherits every inheritable handle).
class InheritedHandles {
public:
    InheritedHandles(std::initializer_list<HANDLE> handles) {
        for (HANDLE h : handles)
            if (h) handles_.push_back(h);
        const VistaCalls& v = vista();
        if (!v.initList || !v.update || !v.deleteList) return;
        SIZE_T size = 0;
        v.initList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (!v.initList(list, 1, 0, &size)) return;
        if (!v.update(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(), handles_.size() * sizeof(HANDLE),
                      nullptr, nullptr)) {
            v.deleteList(list);
            return;
        }
        list_ = list;
    }
    ~InheritedHandles() {
        if (list_) vista().deleteList(list_);
    }
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST list() const { return list_; }

private:
    std::vector<HANDLE> handles_;
    std::vector<char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

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

// One of gpg's outputs, read whole unless it grows past the limit: then gpg is ended.
struct Output {
    std::string* text;
    std::size_t limit;
    HANDLE process;
    volatile LONG* overLimit;
};

// Reads straight into the text, grown by doubling, so a large output is not copied piece by piece.
void readAll(HANDLE pipe, void* context) {
    auto* o = static_cast<Output*>(context);
    std::string& out = *o->text;
    constexpr std::size_t kChunk = 64 << 10;
    std::size_t filled = out.size();
    try {
        for (;;) {
            if (filled > o->limit) {
                InterlockedExchange(o->overLimit, 1);
                TerminateProcess(o->process, 1);
                break;
            }
            if (out.size() - filled < kChunk) out.resize(std::min(std::max(out.size() * 2, filled + kChunk), o->limit + 2 * kChunk));
            DWORD got = 0;
            const DWORD room = static_cast<DWORD>(std::min<std::size_t>(out.size() - filled, 1 << 24));
            if (!ReadFile(pipe, out.data() + filled, room, &got, nullptr) || got == 0) break;
            filled += got;
        }
    } catch (const std::bad_alloc&) {
        // No room for more of it in this process: as good as past the limit.
        InterlockedExchange(o->overLimit, 1);
        TerminateProcess(o->process, 1);
    }
    out.resize(std::min(filled, out.size()));
}

void writeAll(HANDLE h, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(h, text.data() + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
}

void writeInput(HANDLE h, void* text) { writeAll(h, *static_cast<const std::string*>(text)); }

// One pipe end served on a thread of its own: gpg's input written, or one of its outputs read.
// The worker takes the end over and closes it as soon as its work is done, so that gpg sees the
// end of its input then. A plain Win32 thread: the C++ thread class would bring a threads
// library into the programs.
class PipeWorker {
public:
    PipeWorker(void (*work)(HANDLE, void*), v5::win32::OwnedHandle& pipe, void* context)
        : work_(work),
          pipe_(std::move(pipe)),
          context_(context),
          thread_(CreateThread(nullptr, 0, &PipeWorker::main, this, 0, nullptr)) {}
    ~PipeWorker() {
        if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
    }
    PipeWorker(const PipeWorker&) = delete;
    PipeWorker& operator=(const PipeWorker&) = delete;
    bool running() const { return static_cast<bool>(thread_); }
    HANDLE thread() const { return thread_.get(); }

private:
    static DWORD WINAPI main(void* self) {
        auto* w = static_cast<PipeWorker*>(self);
        w->work_(w->pipe_.get(), w->context_);
        w->pipe_.reset();
        return 0;
    }
    void (*work_)(HANDLE, void*);
    v5::win32::OwnedHandle pipe_;
    void* context_;
    v5::win32::OwnedHandle thread_;
};

// After the grace period, a worker still blocked in a read or write of a pipe that a helper of
// gpg's holds open has that call cancelled, as often as it starts another, until it ends.
void endWorkers(std::initializer_list<const PipeWorker*> workers) {
    std::vector<HANDLE> threads;
    for (const PipeWorker* w : workers)
        if (w->running()) threads.push_back(w->thread());
    if (threads.empty()) return;
    const DWORD graceEnd = GetTickCount() + kReaderGraceMs;
    WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, kReaderGraceMs);
    const auto cancelIo = vista().cancelIo;
    if (!cancelIo) return;
    for (HANDLE t : threads)
        while (WaitForSingleObject(t, 0) == WAIT_TIMEOUT && static_cast<LONG>(GetTickCount() - graceEnd) < 60000) {
            cancelIo(t);
            WaitForSingleObject(t, 50);
        }
}

// Lets the thread's windows paint and answer; false once the program is to quit.
bool pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

// Waits for the handle while letting the thread's windows paint and answer.
void waitPumping(HANDLE h) {
    for (;;) {
        if (MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 + 1) return;
        if (!pumpMessages()) {
            WaitForSingleObject(h, INFINITE);
            return;
        }
    }
}

// Waits for gpg as waitPumping does; once it has run a while, a small window offers Cancel.
// True when the user cancelled.
bool waitForGpg(HANDLE process) {
    std::unique_ptr<Form> working;
    const DWORD started = GetTickCount();
    for (;;) {
        const DWORD ran = GetTickCount() - started;
        const DWORD timeout = working ? INFINITE : ran >= kCancelWindowDelayMs ? 0 : kCancelWindowDelayMs - ran;
        const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, timeout, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return false;
        if (r == WAIT_TIMEOUT) {
            static const ControlSpec rows[] = {
                {ControlKind::Label, "lblWorking", "gpg is still at work on the clipboard's text.", 10, 10, 260, 18},
                {ControlKind::Button, "btnCancel", "Cancel", 100, 40, 80, 26, IDCANCEL, v5::cfDefault},
            };
            working = std::make_unique<Form>("PGPtray - Working", 280, 76);
            working->build(rows);
            working->showModeless();
            continue;
        }
        if (!pumpMessages()) {
            WaitForSingleObject(process, INFINITE);
            return false;
        }
        if (working && working->closed()) return true;
    }
}

std::size_t outputLimit() {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    const std::uint64_t free = GlobalMemoryStatusEx(&memory) ? memory.ullAvailVirtual : std::uint64_t{1} << 30;
    return static_cast<std::size_t>(OutputLimit(free));
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

    // gpg inherits its own pipe ends and nothing else of ours.
    const InheritedHandles inherited{in.child.get(), out.child.get(), err.child.get(), status.child.get(),
                                     pass.child.get()};
    STARTUPINFOEXA si{};
    si.StartupInfo.cb = inherited.list() ? sizeof si : sizeof si.StartupInfo;
    si.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.StartupInfo.wShowWindow = SW_HIDE;
    si.StartupInfo.hStdInput = in.child.get();
    si.StartupInfo.hStdOutput = out.child.get();
    si.StartupInfo.hStdError = err.child.get();
    si.lpAttributeList = inherited.list();
    const DWORD flags = CREATE_NO_WINDOW | (inherited.list() ? EXTENDED_STARTUPINFO_PRESENT : 0);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(gpgExe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                        &si.StartupInfo, &pi))
        return result;
    result.started = true;
    const v5::win32::OwnedProcess gpg(pi);
    for (Pipe* pipe : {&in, &out, &err, &status, &pass}) pipe->child.reset();
    if (passphrase) {
        // A short pass phrase fits the pipe's buffer; gpg reads it only if a key asks for it.
        std::string line = *passphrase + "\n";
        writeAll(pass.parent.get(), line);
        SecureZeroMemory(line.data(), line.size());
        pass.parent.reset();
    }

    volatile LONG overLimit = 0;
    {
        // The workers are waited for when the block is left: once gpg has ended, a write it left
        // unread fails, so the writer ends too, and the readers meet the end of its output, or
        // are cancelled after a grace period.
        const std::size_t limit = outputLimit();
        Output outputs[] = {{&result.output, limit, gpg.process.get(), &overLimit},
                            {&result.messages, limit, gpg.process.get(), &overLimit},
                            {&result.status, limit, gpg.process.get(), &overLimit}};
        PipeWorker outReader(readAll, out.parent, &outputs[0]);
        PipeWorker errReader(readAll, err.parent, &outputs[1]);
        PipeWorker statusReader(readAll, status.parent, &outputs[2]);
        PipeWorker writer(writeInput, in.parent, const_cast<std::string*>(&input));
        if (!(outReader.running() && errReader.running() && statusReader.running() && writer.running())) {
            // Without all four gpg could wait on a full pipe for ever.
            TerminateProcess(gpg.process.get(), 1);
            result.started = false;
        }
        if (waitForGpg(gpg.process.get())) {
            TerminateProcess(gpg.process.get(), 1);
            WaitForSingleObject(gpg.process.get(), INFINITE);
            result.cancelled = true;
        }
        endWorkers({&outReader, &errReader, &statusReader, &writer});
    }
    result.outputLimitReached = overLimit != 0;
    DWORD code = 0;
    GetExitCodeProcess(gpg.process.get(), &code);
    result.exitCode = code;
    return result;
}

}  // namespace pgptray
