#pragma once
// Programs that watch the clipboard open it right after every change and hold it for some
// milliseconds. An open that fails then is tried again for a bounded time; only a clipboard that
// stays held counts as in use by another program, never as one without text.
#include <functional>

namespace v5 {

inline constexpr int kClipboardOpenAttempts = 20;
inline constexpr unsigned kClipboardRetryPauseMs = 25;
inline constexpr const char* kClipboardBusyText = "The clipboard is in use by another program";

// Tries `open` until it succeeds, at most kClipboardOpenAttempts times, with a pause of
// kClipboardRetryPauseMs between two tries (these short pauses are the clipboard's own: nothing
// tells a program when another lets the clipboard go). True when an attempt succeeded.
inline bool OpenWithRetry(const std::function<bool()>& open, const std::function<void(unsigned ms)>& pause) {
    for (int attempt = 1;; ++attempt) {
        if (open()) return true;
        if (attempt == kClipboardOpenAttempts) return false;
        pause(kClipboardRetryPauseMs);
    }
}

}  // namespace v5
