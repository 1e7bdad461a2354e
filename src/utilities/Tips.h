#pragma once
// The tip of the day: the tips file, the dialog TfrmTips as a portable model, and
// ShowTipOfTheDay, the one way the dialog is opened.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form_spec.h"

namespace v5 {

inline constexpr const char* kTipsFileName = "tips.dat";
inline constexpr const char* kTipsCaptionSuffix = " - Tip of the Day";
inline constexpr const char* kTipsHeading = "Did you know?";
inline constexpr int kTipsClientWidth = 363;
inline constexpr int kTipsClientHeight = 204;

// The dialog's controls, in the order of its fields, at their client-area pixel positions.
std::span<const ControlSpec> TipsControls();

// One line of the tips file: the help topic before the first comma, the text after it.
struct TipLine {
    std::string helpText;  // the part before the first comma (empty when the line has none)
    std::string text;      // the part after it, further commas included; the whole line without a comma
};
TipLine SplitTipLine(std::string_view line);

// The help topic of a tip: the part before the first comma read as a decimal whole number,
// blanks around it allowed. Throws AppError "'%s' is not a valid integer value" otherwise.
std::int32_t TipHelpTopic(std::string_view helpText);

// The lines of the tips file; a missing or unreadable file has none.
std::vector<std::string> LoadTipList(const std::string& path);

// The tip after and before `tipNumber` in a list of `count` tips. A number outside the list
// (a shortened file, a negative stored value) comes back into it: Next goes to the first tip,
// Previous to the last.
std::int32_t NextTipNumber(std::int32_t tipNumber, std::int32_t count);
std::int32_t PreviousTipNumber(std::int32_t tipNumber, std::int32_t count);

struct TipsPorts {
    // The settings the dialog shows and changes; they live with the other settings.
    std::int32_t& TipNumber;
    bool& TipEnabled;
    std::string tipsFilePath;
    std::function<void()> saveTipSettings;
    std::function<void(int topic)> showHelp;
};

enum class TipsModalResult { None, Yes };

class TfrmTips {
public:
    explicit TfrmTips(TipsPorts ports);

    // The opening steps; any error in them is ignored without a message.
    void FormCreate();
    void btnNextClick();
    void btnPreviousClick();
    void chkShowTipsClick();
    void btnHelpClick();
    void btnOkClick();

    // What the view shows and collects.
    std::string Caption;
    std::string StaticText1;
    bool btnHelpEnabled = true;
    bool chkShowTips = false;
    TipsModalResult ModalResult = TipsModalResult::None;
    std::int32_t TipHelpContext = 0;
    const std::vector<std::string>& TipList() const { return tipList_; }

private:
    void ShowTip();

    TipsPorts ports_;
    std::vector<std::string> tipList_;
};

// The dialog on screen: the view runs it modally until its ModalResult is set or it is closed.
class TipsDialogs {
public:
    virtual ~TipsDialogs() = default;
    virtual void showModal(TfrmTips& dialog) = 0;
};

// The tip of the day's own state beside the settings.
struct TipOfTheDayState {
    bool busy = false;  // the dialog is on screen
};

struct TipOfTheDayPorts {
    TipOfTheDayState& state;
    TipsPorts tips;
    std::string applicationTitle;
    TipsDialogs& dialogs;
    // Remove and restore the main tray icon.
    std::function<void(bool active)> setMainIconActive;
};

// Shows the dialog modally unless it is already on screen; returns when it has closed.
void ShowTipOfTheDay(TipOfTheDayPorts ports);

}  // namespace v5
