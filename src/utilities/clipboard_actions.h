#pragma once
// The tools tray icon's clipboard actions: print the clipboard's text, turn it into a quoted
// reply, or save it to a file.
#include <string>
#include <string_view>

#include "base/diagnostics.h"
#include "platform/clipboard_tools.h"
#include "platform/desktop.h"
#include "utilities/PText32.h"

namespace v5 {

inline constexpr unsigned kQuotePauseMs = 333;
inline constexpr const char* kQuotePrefix = "> ";
inline constexpr const char* kSaveDialogTitle = "Save Message";
inline constexpr const char* kSaveDialogFilter = "Text files (*.txt)|*.txt|Any files|*.*";
inline constexpr const char* kSaveDialogDefaultExt = "txt";

// The quoted form: the text without the blanks and control characters at its two ends, "> " in
// front of it and after every CR LF. Every other byte, 0xFF included, stays as it was.
std::string QuoteText(std::string_view text);

// The save dialog as the "Save to file" action shows it.
SaveDialogOptions SaveDialog1Options();

// The settings of the printer that prints the clipboard.
void ConfigurePrintText1(TPrintText& printer);

struct ClipboardActionPorts {
    Clipboard& clipboard;
    ClipboardWriter& clipboardWriter;
    SaveDialog& saveDialog;
    Sleeper& sleeper;
    Diagnostics& diagnostics;
    TPrintText& PrintText1;
};

class ClipboardActions {
public:
    explicit ClipboardActions(ClipboardActionPorts ports) : p_(ports) {}

    // Prints the clipboard's text as one job on the default printer. The printer layer's errors
    // reach the caller; a failure while the text is laid out only ends the text early.
    void popPrintClipboardClick();
    // Puts the quoted form in place of the clipboard's text, then pauses.
    void popQuoteClipboardClick();
    // Asks for a file name and, unless the user cancels, writes the clipboard's text (as it is
    // when the dialog has closed) to that file byte for byte; a failure is reported.
    void popSaveClipboardClick();

private:
    ClipboardActionPorts p_;
};

}  // namespace v5
