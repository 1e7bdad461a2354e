#include "utilities/clipboard_actions.h"

namespace v5 {

std::string QuoteText(std::string_view text) {
    auto control = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0, end = text.size();
    while (first < end && control(text[first])) ++first;
    while (end > first && control(text[end - 1])) --end;
    const std::string_view body = text.substr(first, end - first);

    // CR LF pairs are found in the text as it stands, never in what was inserted, so a byte of
    // the user's own (0xFF among them) needs no stand-in to keep it out of the search.
    std::string quoted = kQuotePrefix;
    quoted.reserve(body.size() + body.size() / 16 + 2);
    std::size_t at = 0;
    for (;;) {
        const std::size_t hit = body.find("\r\n", at);
        if (hit == std::string_view::npos) break;
        quoted.append(body, at, hit + 2 - at);
        quoted += kQuotePrefix;
        at = hit + 2;
    }
    quoted.append(body, at, std::string_view::npos);
    return quoted;
}

SaveDialogOptions SaveDialog1Options() {
    SaveDialogOptions options;
    options.title = kSaveDialogTitle;
    options.filter = kSaveDialogFilter;
    options.filterIndex = 1;
    options.defaultExtension = kSaveDialogDefaultExt;
    options.overwritePrompt = true;
    options.hideReadOnly = true;
    options.pathMustExist = true;
    return options;
}

void ConfigurePrintText1(TPrintText& printer) {
    printer.SetFont({"Arial", 10, false, 0});
    printer.HeaderFont = {"Arial", 10, true, 0};
    printer.FooterFont = {"Arial", 10, true, 0};
    printer.SetLeftMargin(20);
    printer.SetRightMargin(20);
    printer.SetTopMargin(25);
    printer.SetBottomMargin(25);
    printer.SetHeaderMargin(10);
    printer.SetFooterMargin(10);
}

void ClipboardActions::popPrintClipboardClick() {
    p_.PrintText1.StartPrinting();
    const std::string text = p_.clipboard.text();
    p_.PrintText1.WriteText(text);
    p_.PrintText1.FinishPrinting();
}

void ClipboardActions::popQuoteClipboardClick() {
    p_.clipboardWriter.setText(QuoteText(p_.clipboard.text()));
    p_.sleeper.sleep(kQuotePauseMs);
}

void ClipboardActions::popSaveClipboardClick() {
    const std::optional<std::string> path = p_.saveDialog.execute(SaveDialog1Options());
    if (!path) return;
    p_.diagnostics.WriteFileString(*path, p_.clipboard.text());
}

}  // namespace v5
