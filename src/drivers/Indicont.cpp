#include "drivers/Indicont.h"

#include <algorithm>

namespace v5 {

IndicatorControlLayout LayoutIndicatorControl(std::int32_t clientWidth, std::int32_t clientHeight) {
    IndicatorControlLayout layout;
    layout.label = {0, kIndicatorLabelBand, clientWidth, std::max<std::int32_t>(0, clientHeight - kIndicatorLabelBand)};
    const std::int32_t middle = clientWidth / 2;
    const std::int32_t buttonTop = kIndicatorButtonHeight + 6;
    layout.yes = {middle - kIndicatorButtonWidth, buttonTop, kIndicatorButtonWidth, kIndicatorButtonHeight};
    layout.no = {middle, buttonTop, kIndicatorButtonWidth, kIndicatorButtonHeight};
    return layout;
}

}  // namespace v5
