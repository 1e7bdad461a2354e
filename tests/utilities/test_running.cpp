// The progress window's placement near the mouse pointer.
#include <gtest/gtest.h>

#include "utilities/running.h"

using namespace v5;

TEST(RunningPlacement, KeepsTheWindowAwayFromTheScreenEdges) {
    struct Row {
        RunningPoint cursor;
        int screenWidth, screenHeight;
        RunningPoint placed;
    };
    const Row rows[] = {
        {{0, 0}, 1024, 768, {187, 73}},
        {{1023, 767}, 1024, 768, {837, 695}},
        {{500, 400}, 1024, 768, {500, 400}},
        {{186, 72}, 1024, 768, {187, 73}},
        {{837, 695}, 1024, 768, {837, 695}},
        {{0, 0}, 200, 100, {13, 27}},  // too small for both limits: bottom and right win
    };
    for (const Row& row : rows)
        EXPECT_EQ(PlaceRunningWindow(row.cursor, row.screenWidth, row.screenHeight), row.placed)
            << row.cursor.x << "," << row.cursor.y;
}
