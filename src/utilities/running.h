#pragma once
// The progress window "PGP Running": a small strip near the mouse pointer that a processing run
// shows while it works and moves forward at its steps.
#include <memory>

namespace v5 {

inline constexpr const char* kRunningCaption = "PGP Running";
inline constexpr int kRunningWidth = 137;  // client area; the window has no border
inline constexpr int kRunningHeight = 23;
inline constexpr int kRunningStartPosition = 5;

struct RunningPoint {
    int x = 0;
    int y = 0;
    bool operator==(const RunningPoint&) const = default;
};

// Where the window's top-left corner goes: at the pointer, but at least its own size plus 50
// pixels away from the screen's top and left edges and 50 pixels away from its bottom and right
// edges; on a screen too small for both, the bottom and right limits win.
RunningPoint PlaceRunningWindow(RunningPoint cursor, int screenWidth, int screenHeight,
                                int width = kRunningWidth, int height = kRunningHeight);

// One progress window, shown as soon as it exists and gone when it is released.
class TfrmRunning {
public:
    virtual ~TfrmRunning() = default;
    // The bar's position, 0 to 100; it starts at 5.
    virtual void SetProgress(int position) = 0;
    virtual int Progress() const = 0;
};

// Creates the progress window for a run; at most one exists at a time.
class RunningWindows {
public:
    virtual ~RunningWindows() = default;
    virtual std::unique_ptr<TfrmRunning> Create() = 0;
};

}  // namespace v5
