// The clipboard's open, tried again while another program holds it, for a bounded time only.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/clipboard_retry.h"

namespace v5 {
namespace {

TEST(ClipboardRetry, ABusyClipboardIsWaitedForABoundedTime) {
    const struct {
        int busy;  // opens that fail before one succeeds
        bool opened;
    } cases[] = {{0, true}, {1, true}, {kClipboardOpenAttempts - 1, true}, {kClipboardOpenAttempts, false}, {1000, false}};
    for (const auto& c : cases) {
        int tries = 0;
        std::vector<unsigned> pauses;
        const bool opened = OpenWithRetry([&] { return ++tries > c.busy; }, [&](unsigned ms) { pauses.push_back(ms); });
        EXPECT_EQ(opened, c.opened) << c.busy;
        EXPECT_EQ(tries, std::min(c.busy + 1, kClipboardOpenAttempts)) << c.busy;
        // No pause after the last try; 19 × 25 ms at the most.
        EXPECT_EQ(pauses, std::vector<unsigned>(tries - 1, kClipboardRetryPauseMs)) << c.busy;
    }
}

}  // namespace
}  // namespace v5
