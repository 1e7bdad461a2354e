#include "utilities/Tips.h"

#include <charconv>
#include <cstdio>
#include <utility>

#include "base/list_files.h"
#include "platform/errors.h"

namespace v5 {
namespace {

using K = ControlKind;

// "&Ok" has the dialog's identifier for Enter.
constexpr ControlSpec kTipsControls[] = {
    {K::Button, "btnOk", "&Ok", 288, 16, 65, 25, 1, cfDefault},
    {K::Image, "Image1", "TIPSICON", 8, 8, 32, 32, 101},
    {K::Heading, "Label1", kTipsHeading, 56, 8, 217, 32, 102},
    {K::CheckBox, "chkShowTips", "Show these tips", 8, 184, 337, 17, 103},
    {K::Button, "btnNext", "&Next", 288, 56, 65, 25, 104},
    {K::Button, "btnPrevious", "&Previous", 288, 96, 65, 25, 105},
    // The tip: centred, sunken, in the larger font, shown as it is.
    {K::Text, "StaticText1", "", 8, 48, 265, 129, 106, cfCentred | cfSunken | cfLargeText | cfNoPrefix},
    {K::Button, "btnHelp", "&Help", 288, 136, 65, 25, 107},
};

}  // namespace

std::span<const ControlSpec> TipsControls() { return kTipsControls; }


TipLine SplitTipLine(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return {{}, std::string(line)};
    return {std::string(line.substr(0, comma)), std::string(line.substr(comma + 1))};
}

std::int32_t TipHelpTopic(std::string_view helpText) {
    std::string_view digits = helpText;
    while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
    while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    std::int32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end)
        throw AppError("'" + std::string(helpText) + "' is not a valid integer value");
    return value;
}

// Read with the C library: a file stream would bring the whole of the C++ locale machinery, most
// of a megabyte, into the program.
std::vector<std::string> LoadTipList(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    return SplitLines(text);
}

std::int32_t NextTipNumber(std::int32_t tipNumber, std::int32_t count) {
    if (tipNumber < 0 || tipNumber >= count - 1) return 0;
    return tipNumber + 1;
}

std::int32_t PreviousTipNumber(std::int32_t tipNumber, std::int32_t count) {
    if (tipNumber <= 0 || tipNumber >= count) return count - 1;
    return tipNumber - 1;
}

TfrmTips::TfrmTips(TipsPorts ports) : ports_(std::move(ports)) {}

void TfrmTips::FormCreate() {
    try {
        chkShowTips = ports_.TipEnabled;
        tipList_ = LoadTipList(ports_.tipsFilePath);
        btnNextClick();
    } catch (...) {
        // Opening never complains: a tip whose topic cannot be read still shows its text.
    }
}

void TfrmTips::btnNextClick() {
    if (tipList_.empty()) return;
    ports_.TipNumber = NextTipNumber(ports_.TipNumber, static_cast<std::int32_t>(tipList_.size()));
    if (ports_.saveTipSettings) ports_.saveTipSettings();
    ShowTip();
}

void TfrmTips::btnPreviousClick() {
    if (tipList_.empty()) return;
    ports_.TipNumber = PreviousTipNumber(ports_.TipNumber, static_cast<std::int32_t>(tipList_.size()));
    if (ports_.saveTipSettings) ports_.saveTipSettings();
    ShowTip();
}

void TfrmTips::ShowTip() {
    const TipLine line = SplitTipLine(tipList_[static_cast<std::size_t>(ports_.TipNumber)]);
    StaticText1 = line.text;
    TipHelpContext = TipHelpTopic(line.helpText);
    btnHelpEnabled = TipHelpContext != 0;
}

void TfrmTips::chkShowTipsClick() {
    ports_.TipEnabled = chkShowTips;
    if (ports_.saveTipSettings) ports_.saveTipSettings();
}

void TfrmTips::btnHelpClick() {
    if (ports_.showHelp) ports_.showHelp(TipHelpContext);
    btnOkClick();
}

void TfrmTips::btnOkClick() { ModalResult = TipsModalResult::Yes; }

void ShowTipOfTheDay(TipOfTheDayPorts ports) {
    if (ports.state.busy) return;
    ports.state.busy = true;
    // Whatever ends the showing, the main icon comes back and a later showing is possible.
    struct Restore {
        TipOfTheDayPorts& p;
        ~Restore() {
            if (p.setMainIconActive) p.setMainIconActive(true);
            p.state.busy = false;
        }
    };
    Restore restore{ports};
    TfrmTips dialog(ports.tips);
    dialog.FormCreate();
    dialog.Caption = ports.applicationTitle + kTipsCaptionSuffix;
    if (ports.setMainIconActive) ports.setMainIconActive(false);
    ports.dialogs.showModal(dialog);
}

}  // namespace v5
