#pragma once
// The Win32 side of the tools icon's clipboard actions: the clipboard written as plain text,
// the standard save dialog, the default printer through GDI, and the menu's items put to work.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/clipboard_tools.h"
#include "platform/win32/desktop_win32.h"
#include "utilities/clipboard_actions.h"
#include "utilities/win32/gdi_printer.h"

namespace v5::win32 {

class Win32ClipboardWriter : public ClipboardWriter {
public:
    // Throws AppError "Cannot open clipboard" when another program holds it.
    void setText(const std::string& text) override;
};

class Win32SaveDialog : public SaveDialog {
public:
    explicit Win32SaveDialog(HWND owner) : owner_(owner) {}
    std::optional<std::string> execute(const SaveDialogOptions& options) override;

private:
    HWND owner_;
};

// Everything the tools menu's clipboard entries need, made once for the program's life.
class ToolsMenu {
public:
    ToolsMenu(HWND owner, Diagnostics& diagnostics, Clock& clock, const std::string& documentName);
    // Runs the action of the named menu entry; false for an entry that is not a clipboard action.
    bool choose(std::string_view entry);

private:
    Win32Clipboard clipboard_;
    Win32ClipboardWriter writer_;
    Win32SaveDialog dialog_;
    Win32Sleeper sleeper_;
    GdiPrinter printer_;
    TPrintText PrintText1;
    ClipboardActions actions_;
};

}  // namespace v5::win32
