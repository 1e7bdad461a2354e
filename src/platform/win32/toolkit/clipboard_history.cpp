#include "platform/win32/toolkit/clipboard_history.h"

namespace v5::win32 {
namespace {

// A DWORD in a block of its own, handed to the clipboard, which then owns the block.
bool putDword(const char* formatName, DWORD value) {
    const UINT format = RegisterClipboardFormatA(formatName);
    if (format == 0) return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof value);
    if (!block) return false;
    if (void* p = GlobalLock(block)) {
        *static_cast<DWORD*>(p) = value;
        GlobalUnlock(block);
        if (SetClipboardData(format, block)) return true;
    }
    GlobalFree(block);
    return false;
}

}  // namespace

bool KeepOutOfClipboardHistory() {
    // The first mark counts by its presence; its value is not read.
    bool all = putDword("ExcludeClipboardContentFromMonitorProcessing", 0);
    all = putDword("CanIncludeInClipboardHistory", 0) && all;
    return putDword("CanUploadToCloudClipboard", 0) && all;
}

}  // namespace v5::win32
