#include "utilities/win32/tools_menu.h"

#include <commdlg.h>

#include <vector>

#include "platform/clipboard_retry.h"
#include "platform/win32/toolkit/clipboard.h"

namespace v5::win32 {

void Win32ClipboardWriter::setText(const std::string& text) {
    // Only a clipboard that another program holds is reported; a text that cannot be placed for
    // want of memory leaves it as it was.
    if (WriteClipboardText(text) == ClipboardWrite::Unavailable) throw AppError(kClipboardBusyText);
}

std::optional<std::string> Win32SaveDialog::execute(const SaveDialogOptions& options) {
    // The filter's '|' separators become the NULs the dialog reads, with one more at the end.
    std::string filter = options.filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');
    std::vector<char> file(32768, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(options.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
    ofn.lpstrDefExt = options.defaultExtension.empty() ? nullptr : options.defaultExtension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (options.overwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (options.hideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
    if (options.pathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn)) return std::nullopt;
    return std::string(file.data());
}

ToolsMenu::ToolsMenu(HWND owner, Diagnostics& diagnostics, Clock& clock, const std::string& documentName)
    : dialog_(owner),
      printer_(documentName),
      PrintText1(printer_, clock),
      actions_({clipboard_, writer_, dialog_, sleeper_, diagnostics, PrintText1}) {
    ConfigurePrintText1(PrintText1);
}

bool ToolsMenu::choose(std::string_view entry) {
    if (entry == "popPrintClipboard")
        actions_.popPrintClipboardClick();
    else if (entry == "popQuoteClipboard")
        actions_.popQuoteClipboardClick();
    else if (entry == "popSaveClipboard")
        actions_.popSaveClipboardClick();
    else
        return false;
    return true;
}

}  // namespace v5::win32
