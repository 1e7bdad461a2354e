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

ClipboardRead ReadClipboardText(std::string& text, HWND owner) {
    text.clear();
    OpenedClipboard clipboard(owner);
    if (!clipboard) return ClipboardRead::Unavailable;
    HANDLE block = clipboard.data(CF_TEXT);
    if (!block) return ClipboardRead::NoText;
    LockedGlobal<const char> locked(block);
    if (!locked) return ClipboardRead::Unavailable;
    text.assign(locked.get(), strnlen(locked.get(), locked.size()));
    return ClipboardRead::Read;
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

ClipboardWrite WriteClipboardText(std::size_t size, const std::function<void(char* block)>& fill, HWND owner,
                                  ClipboardHistory history) {
    // The block is filled before the clipboard is opened: another program waits for it no longer
    // than the hand-over takes, and a failure here leaves its text alone.
    OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, size + 1));
    if (!block) return ClipboardWrite::NoMemory;
    {
        LockedGlobal<char> bytes(block.get());
        // A block that could not be filled must never reach the clipboard.
        if (!bytes) return ClipboardWrite::NoMemory;
        fill(bytes.get());
        bytes.get()[size] = '\0';
    }
    OpenedClipboard clipboard(owner);
    if (!clipboard) return ClipboardWrite::Unavailable;
    clipboard.empty();
    if (!clipboard.put(CF_TEXT, block)) return ClipboardWrite::NotTaken;
    if (history == ClipboardHistory::Excluded) keepOutOfHistory(clipboard);
    return ClipboardWrite::Written;
}

}  // namespace v5::win32
