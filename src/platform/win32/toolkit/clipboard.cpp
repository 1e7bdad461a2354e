#include "platform/win32/toolkit/clipboard.h"

#include <cstring>

#include "platform/clipboard_retry.h"

namespace v5::win32 {

OpenedClipboard::OpenedClipboard(HWND owner)
    : open_(OpenWithRetry([owner] { return OpenClipboard(owner) != FALSE; }, [](unsigned ms) { Sleep(ms); })) {}

OpenedClipboard::~OpenedClipboard() {
    if (open_) CloseClipboard();
}

void OpenedClipboard::empty() { EmptyClipboard(); }

bool OpenedClipboard::put(UINT format, OwnedGlobal& block) {
    if (!SetClipboardData(format, block.get())) return false;
    block.release();
    return true;
}

HANDLE OpenedClipboard::data(UINT format) const { return GetClipboardData(format); }

namespace {

// A text format's characters up to the terminating zero, and never beyond the block.
template <typename Char>
ClipboardRead readFormat(UINT format, std::basic_string<Char>& text, HWND owner) {
    text.clear();
    OpenedClipboard clipboard(owner);
    if (!clipboard) return ClipboardRead::Unavailable;
    HANDLE block = clipboard.data(format);
    if (!block) return ClipboardRead::NoText;
    LockedGlobal<const Char> locked(block);
    if (!locked) return ClipboardRead::Unavailable;
    const std::size_t capacity = locked.size() / sizeof(Char);
    const Char* chars = locked.get();
    std::size_t n = 0;
    while (n < capacity && chars[n] != Char{}) ++n;
    text.assign(chars, n);
    return ClipboardRead::Read;
}

}  // namespace

ClipboardRead ReadClipboardText(std::string& text, HWND owner) { return readFormat(CF_TEXT, text, owner); }

ClipboardRead ReadClipboardUnicode(std::wstring& text, HWND owner) {
    return readFormat(CF_UNICODETEXT, text, owner);
}

namespace {

// A DWORD in a block of its own, handed to the clipboard as the registered format's data.
void putDword(OpenedClipboard& clipboard, const char* formatName, DWORD value) {
    const UINT format = RegisterClipboardFormatA(formatName);
    OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, sizeof value));
    if (format == 0 || !block) return;
    {
        LockedGlobal<DWORD> locked(block.get());
        if (!locked) return;
        *locked.get() = value;
    }
    clipboard.put(format, block);
}

void keepOutOfHistory(OpenedClipboard& clipboard) {
    // The first format counts by being there; its value is not read.
    for (const char* format : {"ExcludeClipboardContentFromMonitorProcessing", "CanIncludeInClipboardHistory",
                               "CanUploadToCloudClipboard"})
        putDword(clipboard, format, 0);
}

}  // namespace

ClipboardWrite WriteClipboardText(std::string_view text, HWND owner, ClipboardHistory history) {
    return WriteClipboardText(text.size(), [&](char* block) { std::memcpy(block, text.data(), text.size()); }, owner,
                              history);
}

namespace {

// A fresh block of `bytes` bytes and a terminating zero of `zeroBytes`, filled by `fill`, put
// on the emptied clipboard as the format's data.
ClipboardWrite writeFormat(UINT format, std::size_t bytes, std::size_t zeroBytes,
                           const std::function<void(char* block)>& fill, HWND owner, ClipboardHistory history) {
    // The block is filled before the clipboard is opened: another program waits for it no longer
    // than the hand-over takes, and a failure here leaves its text alone.
    OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes + zeroBytes));
    if (!block) return ClipboardWrite::NoMemory;
    {
        LockedGlobal<char> locked(block.get());
        // A block that could not be filled must never reach the clipboard.
        if (!locked) return ClipboardWrite::NoMemory;
        fill(locked.get());
        std::memset(locked.get() + bytes, 0, zeroBytes);
    }
    OpenedClipboard clipboard(owner);
    if (!clipboard) return ClipboardWrite::Unavailable;
    clipboard.empty();
    if (!clipboard.put(format, block)) return ClipboardWrite::NotTaken;
    if (history == ClipboardHistory::Excluded) keepOutOfHistory(clipboard);
    return ClipboardWrite::Written;
}

}  // namespace

ClipboardWrite WriteClipboardText(std::size_t size, const std::function<void(char* block)>& fill, HWND owner,
                                  ClipboardHistory history) {
    return writeFormat(CF_TEXT, size, 1, fill, owner, history);
}

ClipboardWrite WriteClipboardUnicode(std::wstring_view text, HWND owner, ClipboardHistory history) {
    const std::size_t bytes = text.size() * sizeof(wchar_t);
    return writeFormat(
        CF_UNICODETEXT, bytes, sizeof(wchar_t), [&](char* block) { std::memcpy(block, text.data(), bytes); }, owner,
        history);
}

}  // namespace v5::win32
