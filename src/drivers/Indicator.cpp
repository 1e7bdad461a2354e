#include "drivers/Indicator.h"

namespace v5 {

IndicatorPlacement PlaceIndicators(const ScreenRect& target) {
    const std::int32_t width = target.right - target.left;
    const std::int32_t height = target.bottom - target.top;
    IndicatorPlacement placement;
    placement.leftBar = {target.left, target.top, kIndicatorBarThickness, height};
    placement.topBar = {target.left, target.top, width, kIndicatorBarThickness};
    placement.rightBar = {target.right - kIndicatorBarThickness, target.top, kIndicatorBarThickness, height};
    placement.strip = {target.left, target.bottom - kIndicatorStripHeight, width, kIndicatorStripHeight};
    return placement;
}

}  // namespace v5
