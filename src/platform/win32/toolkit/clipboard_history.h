#pragma once
// Plain text that our programs put on the clipboard (a decrypted message, a message before PGP
// sees it) is marked so that clipboard history, the cloud clipboard and clipboard monitors leave
// it alone. Systems without those features ignore the marks.
#include <windows.h>

namespace v5::win32 {

// Puts the marks on the clipboard, which the caller holds open and has just filled with the
// text: "ExcludeClipboardContentFromMonitorProcessing", and "CanIncludeInClipboardHistory" and
// "CanUploadToCloudClipboard" as a DWORD 0. False when one of them could not be set.
bool KeepOutOfClipboardHistory();

}  // namespace v5::win32
