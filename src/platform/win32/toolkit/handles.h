#pragma once
// Owners of Win32 handles: each releases its handle with its kind's own call when it goes, on
// every path, errors included. They move and never copy. Code outside this toolkit holds handles
// through them and does not call the release functions itself.
#include <windows.h>
#include <winspool.h>

#include <utility>

namespace v5::win32 {

template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::valid(handle_); }
    // Gives the handle up without releasing it.
    Handle release() { return std::exchange(handle_, Traits::empty()); }
    void reset(Handle handle = Traits::empty()) {
        if (Traits::valid(handle_)) Traits::close(handle_);
        handle_ = handle;
    }
    // For a call that hands a new handle back through a pointer (RegOpenKeyExA and the like).
    Handle* receive() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::empty();
};

namespace handle_traits {

template <class H>
struct NullIsEmpty {
    using Handle = H;
    static constexpr Handle empty() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
};

struct Window : NullIsEmpty<HWND> {
    static void close(HWND h) { DestroyWindow(h); }
};
struct Menu : NullIsEmpty<HMENU> {
    static void close(HMENU h) { DestroyMenu(h); }
};
template <class H>
struct Gdi : NullIsEmpty<H> {
    static void close(H h) { DeleteObject(h); }
};
struct DeviceContext : NullIsEmpty<HDC> {
    static void close(HDC h) { DeleteDC(h); }
};
// Kernel objects: processes, threads, pipes, files, events, mutexes. A failed CreateFileA gives
// INVALID_HANDLE_VALUE, the other creators nullptr: both mean "nothing held".
struct Kernel {
    using Handle = HANDLE;
    static Handle empty() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { CloseHandle(h); }
};
struct RegistryKey : NullIsEmpty<HKEY> {
    static void close(HKEY h) { RegCloseKey(h); }
};
struct GlobalMemory : NullIsEmpty<HGLOBAL> {
    static void close(HGLOBAL h) { GlobalFree(h); }
};
// What LocalAlloc gave, or a system call that allocates with it (CommandLineToArgvW).
template <class P>
struct LocalMemory : NullIsEmpty<P> {
    static void close(P p) { LocalFree(reinterpret_cast<HLOCAL>(p)); }
};
struct Library : NullIsEmpty<HMODULE> {
    static void close(HMODULE h) { FreeLibrary(h); }
};
struct Printer : NullIsEmpty<HANDLE> {
    static void close(HANDLE h) { ClosePrinter(h); }
};
struct FileSearch {
    using Handle = HANDLE;
    static Handle empty() { return INVALID_HANDLE_VALUE; }
    static bool valid(Handle h) { return h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { FindClose(h); }
};

}  // namespace handle_traits

using OwnedWindow = Owned<handle_traits::Window>;
using OwnedMenu = Owned<handle_traits::Menu>;
using OwnedFont = Owned<handle_traits::Gdi<HFONT>>;
using OwnedBrush = Owned<handle_traits::Gdi<HBRUSH>>;
using OwnedPen = Owned<handle_traits::Gdi<HPEN>>;
using OwnedBitmap = Owned<handle_traits::Gdi<HBITMAP>>;
using OwnedDC = Owned<handle_traits::DeviceContext>;
using OwnedHandle = Owned<handle_traits::Kernel>;
using OwnedKey = Owned<handle_traits::RegistryKey>;
using OwnedGlobal = Owned<handle_traits::GlobalMemory>;
template <class P>
using OwnedLocal = Owned<handle_traits::LocalMemory<P>>;
using OwnedLibrary = Owned<handle_traits::Library>;
using OwnedPrinter = Owned<handle_traits::Printer>;
using OwnedFileSearch = Owned<handle_traits::FileSearch>;

// A started process's two handles, both closed when this goes; the process itself runs on.
struct OwnedProcess {
    OwnedHandle process;
    OwnedHandle thread;
    DWORD id = 0;

    OwnedProcess() = default;
    explicit OwnedProcess(const PROCESS_INFORMATION& started)
        : process(started.hProcess), thread(started.hThread), id(started.dwProcessId) {}
    explicit operator bool() const { return static_cast<bool>(process); }
};

// A window's device context, given back with ReleaseDC (GetDC's counterpart, which needs the
// window too).
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A global memory block locked for as long as this lives.
template <class T>
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL memory) : memory_(memory), data_(static_cast<T*>(::GlobalLock(memory))) {}
    ~LockedGlobal() {
        if (data_) ::GlobalUnlock(memory_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    T* get() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }
    // The block's size in bytes; it may be larger than what was asked for.
    SIZE_T size() const { return data_ ? GlobalSize(memory_) : 0; }

private:
    HGLOBAL memory_;
    T* data_;
};

// An object selected into a device context for as long as this lives; the one it replaced goes
// back in on the way out.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace v5::win32
