#pragma once
// The confirmation bars: three borderless, always-on-top bars in the highlight colour that frame
// the window the program is about to read or write, so the user can see which one it is.
#include <cstdint>

#include "platform/desktop.h"

namespace v5 {

inline constexpr const char* kIndicatorClassName = "TfrmIndicator";
inline constexpr std::int32_t kIndicatorBarThickness = 6;
inline constexpr std::int32_t kIndicatorStripHeight = 60;

// Modal results as the confirmation reports them.
inline constexpr int kModalResultOk = 1;
inline constexpr int kModalResultYes = 6;
inline constexpr int kModalResultNo = 7;

struct IndicatorBounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const IndicatorBounds&) const = default;
};

// Where the bars and the strip go around a window's screen rectangle: a bar down the left
// edge, one along the top, one down the right edge, and the strip over the bottom.
struct IndicatorPlacement {
    IndicatorBounds leftBar;
    IndicatorBounds topBar;
    IndicatorBounds rightBar;
    IndicatorBounds strip;

    bool operator==(const IndicatorPlacement&) const = default;
};

IndicatorPlacement PlaceIndicators(const ScreenRect& target);

// One bar. Clicking it closes that bar at once.
class TfrmIndicator {
public:
    void FormClick() {
        ModalResult = kModalResultOk;
        Released = true;
    }

    int ModalResult = 0;
    bool Released = false;
};

}  // namespace v5
