#pragma once
// The clipboard's text, read and written: CF_TEXT in the system's code page (Vostrel 5 and the
// data file's 8-bit world) and CF_UNICODETEXT (our helper programs, which must not lose a
// character). Every program of ours and every test program goes through here, so the clipboard
// is opened in one place only: OpenedClipboard.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/win32/toolkit/handles.h"

namespace v5::win32 {

// The clipboard, held open for as long as this lives. `owner` becomes the clipboard's owner
// once it is emptied; null leaves it without one. A clipboard that another program holds is
// waited for a little (OpenWithRetry) before it counts as unavailable.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner = nullptr);
    ~OpenedClipboard();
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    // False when it could not be opened: another program kept holding it.
    explicit operator bool() const { return open_; }

    void empty();
    // Hands the block over as the format's data. When the clipboard takes it, it is the
    // clipboard's and `block` lets go of it; otherwise `block` still owns it.
    bool put(UINT format, OwnedGlobal& block);
    // The clipboard's block of that format, or null; it stays the clipboard's.
    HANDLE data(UINT format) const;

private:
    bool open_;
};

enum class ClipboardRead {
    Read,         // the text was read; it may be empty
    NoText,       // the clipboard holds no text
    Unavailable,  // the clipboard could not be opened, or its text not locked
};

// The clipboard's CF_TEXT into `text`, which is empty unless the outcome is Read. The text ends
// at its terminating zero, and never beyond its block.
ClipboardRead ReadClipboardText(std::string& text, HWND owner = nullptr);
// The same for CF_UNICODETEXT (which the system derives from CF_TEXT in the code page).
ClipboardRead ReadClipboardUnicode(std::wstring& text, HWND owner = nullptr);

enum class ClipboardWrite {
    Written,
    NoMemory,     // no block of that size, or it could not be locked: the clipboard is left as it was
    Unavailable,  // the clipboard could not be opened, and is left as it was
    NotTaken,     // the clipboard, emptied, refused the block
};

// Whether a text may go into clipboard history. Excluded puts beside it the formats that ask
// clipboard history, the cloud clipboard and clipboard monitors to leave it alone
// ("ExcludeClipboardContentFromMonitorProcessing"; "CanIncludeInClipboardHistory" and
// "CanUploadToCloudClipboard" as a DWORD 0): for the plain text of a message. Systems without
// those features ignore them.
enum class ClipboardHistory { Allowed, Excluded };

// Empties the clipboard and puts the text on it as CF_TEXT.
ClipboardWrite WriteClipboardText(std::string_view text, HWND owner = nullptr,
                                  ClipboardHistory history = ClipboardHistory::Allowed);
// The same for a text of `size` bytes that `fill` writes straight into the clipboard's block,
// so that a large text that is converted on the way is never copied twice. `fill` writes
// exactly `size` bytes; the terminating zero is added after them.
ClipboardWrite WriteClipboardText(std::size_t size, const std::function<void(char* block)>& fill,
                                  HWND owner = nullptr, ClipboardHistory history = ClipboardHistory::Allowed);
// Empties the clipboard and puts the text on it as CF_UNICODETEXT; the system derives CF_TEXT
// from it in the code page for programs that read 8-bit text.
ClipboardWrite WriteClipboardUnicode(std::wstring_view text, HWND owner = nullptr,
                                     ClipboardHistory history = ClipboardHistory::Allowed);

}  // namespace v5::win32
