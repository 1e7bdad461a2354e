#include "utilities/running.h"

namespace v5 {

RunningPoint PlaceRunningWindow(RunningPoint cursor, int screenWidth, int screenHeight, int width, int height) {
    RunningPoint at = cursor;
    if (at.y < height + 50) at.y = height + 50;
    if (at.x < width + 50) at.x = width + 50;
    if (at.y + height > screenHeight - 50) at.y = screenHeight - height - 50;
    if (at.x + width > screenWidth - 50) at.x = screenWidth - width - 50;
    return at;
}

}  // namespace v5
