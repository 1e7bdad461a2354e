#pragma once
// The confirmation strip: covers the bottom of the framed window and asks whether it is the
// right one. Its layout and answer live here; the platform view draws it and runs it modally.
#include <cstdint>

#include "drivers/Indicator.h"

namespace v5 {

inline constexpr const char* kIndicatorControlClassName = "TfrmIndicatorControl";
inline constexpr const char* kIndicatorQuestion = "Is this the correct Window?";
inline constexpr const char* kIndicatorYesCaption = "&Yes";
inline constexpr const char* kIndicatorNoCaption = "&No";
inline constexpr std::int32_t kIndicatorFontHeight = 13;
inline constexpr std::int32_t kIndicatorLabelBand = 9;
inline constexpr std::int32_t kIndicatorButtonWidth = 57;
inline constexpr std::int32_t kIndicatorButtonHeight = 25;

struct IndicatorControlLayout {
    IndicatorBounds label;
    IndicatorBounds yes;
    IndicatorBounds no;

    bool operator==(const IndicatorControlLayout&) const = default;
};

// The label fills the strip below an empty band; Yes and No sit side by side, Yes's right
// edge and No's left edge at the middle, their tops the button height plus 6 down.
IndicatorControlLayout LayoutIndicatorControl(std::int32_t clientWidth, std::int32_t clientHeight);

class TfrmIndicatorControl {
public:
    // Yes is the default button, No the cancel button (so Esc answers No).
    void btnYesClick() { ModalResult = kModalResultYes; }
    void btnNoClick() { ModalResult = kModalResultNo; }
    // A request to close the strip without an answer declines the window, as No does.
    void FormClose() {
        if (ModalResult == 0) ModalResult = kModalResultNo;
    }
    bool Answered() const { return ModalResult != 0; }
    // Resizing the strip or clicking its label lays it out again.
    IndicatorControlLayout FormResize(std::int32_t clientWidth, std::int32_t clientHeight) const {
        return LayoutIndicatorControl(clientWidth, clientHeight);
    }

    int ModalResult = 0;
};

// Shows the three bars and the strip at the placement, makes the program's own window the
// foreground one, and runs the strip modally; returns its modal result. Bars and strip are
// gone when it returns.
class WindowConfirmation {
public:
    virtual ~WindowConfirmation() = default;
    virtual int confirm(const IndicatorPlacement& placement) = 0;
};

}  // namespace v5
