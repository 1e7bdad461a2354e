#pragma once
// What the tools icon's clipboard actions need beyond reading the clipboard: putting text on it,
// and the standard save-file dialog.
#include <optional>
#include <string>

namespace v5 {

class ClipboardWriter {
public:
    virtual ~ClipboardWriter() = default;
    // Empties the clipboard and puts the text on it as plain text.
    virtual void setText(const std::string& text) = 0;
};

struct SaveDialogOptions {
    std::string title;
    // Pairs of description and pattern, separated by '|', as "Text files (*.txt)|*.txt|...".
    std::string filter;
    int filterIndex = 1;  // the entry selected when the dialog opens, from 1
    std::string defaultExtension;
    bool overwritePrompt = false;
    bool hideReadOnly = false;
    bool pathMustExist = false;
};

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // Shows the dialog modally; the chosen file's full name, or nothing when the user cancels.
    virtual std::optional<std::string> execute(const SaveDialogOptions& options) = 0;
};

}  // namespace v5
