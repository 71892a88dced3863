#include "view/window_snapping.h"

#include <gtest/gtest.h>

namespace {

const ScreenRect kWork = {0, 0, 1280, 1000};
// The frame is larger than the client area (90 x 80), as in the standard style.
const int kClientWidth = 90, kClientHeight = 80;

struct DragCase {
    const char* name;
    ScreenRect work, window;
    int dx, dy;
    DragTrack trackBefore;
    DragPlacement placed;
    DragTrack trackAfter;
};

const DragCase kDragCases[] = {
    {"no motion stays", kWork, {100, 100, 200, 200}, 0, 0, {100, 100}, {100, 100}, {100, 100}},
    {"free motion follows the tracked position",
     kWork,
     {120, 100, 220, 200},
     4,
     0,
     {50, 100},
     {54, 100},
     {54, 100}},
    {"right edge within 10 snaps",
     kWork,
     {1175, 100, 1275, 200},
     3,
     0,
     {1175, 100},
     {1190, 100},
     {1183, 100}},
    {"past the right edge stays",
     kWork,
     {1180, 100, 1280, 200},
     5,
     0,
     {1190, 100},
     {1180, 100},
     {1190, 100}},
    {"left edge within 10 snaps", kWork, {7, 100, 107, 200}, -2, 0, {7, 100}, {0, 100}, {-2, 100}},
    {"bottom edge snaps by the remainder",
     kWork,
     {100, 895, 200, 995},
     0,
     2,
     {100, 895},
     {100, 920},
     {100, 892}},
    {"top edge snaps by the remainder",
     kWork,
     {100, 4, 200, 104},
     0,
     -1,
     {100, 4},
     {100, 0},
     {100, 1}},
    {"moving away from an edge starts from the tracked place",
     kWork,
     {0, 100, 100, 200},
     6,
     0,
     {-2, 100},
     {4, 100},
     {4, 100}},
    // Work areas that put a zero or a negative number under the remainders.
    {"window top 0 does not divide by zero",
     {0, -5, 1280, 1000},
     {100, 0, 200, 100},
     0,
     -3,
     {100, 0},
     {100, -5},
     {100, -3}},
    {"work-area bottom 0 does not divide by zero",
     {0, -600, 1280, 0},
     {100, -200, 200, -4},
     0,
     3,
     {100, -200},
     {100, -80},
     {100, -197}},
    {"negative remainders make no jump",
     {0, -1000, 1280, 0},
     {100, -995, 200, -895},
     0,
     -1,
     {100, -995},
     {100, -1000},
     {100, -996}},
    // Edges are those of the primary work area: a window left of it moves no further left.
    {"monitor left of the primary stays",
     kWork,
     {-900, 100, -800, 200},
     -5,
     0,
     {-900, 100},
     {-900, 100},
     {-900, 100}},
};

TEST(WindowSnapping, DragStepsFollowTheSnappingTable) {
    for (const DragCase& c : kDragCases) {
        DragTrack track = c.trackBefore;
        DragPlacement placed =
            SnapDragStep(c.window, kClientWidth, kClientHeight, c.work, c.dx, c.dy, &track);
        EXPECT_EQ(c.placed.left, placed.left) << c.name;
        EXPECT_EQ(c.placed.top, placed.top) << c.name;
        EXPECT_EQ(c.trackAfter.x, track.x) << c.name;
        EXPECT_EQ(c.trackAfter.y, track.y) << c.name;
    }
}

TEST(WindowSnapping, KeepInsideWorkAreaMovesOnlyWhatPassesAnEdge) {
    const struct {
        const char* name;
        ScreenRect work, window;
        bool moved;
        int x, y;
    } cases[] = {
        {"inside stays", kWork, {100, 100, 200, 200}, false, 100, 100},
        {"past the left edge", kWork, {-30, 100, 70, 200}, true, 0, 100},
        {"past the right edge, by the client width",
         kWork,
         {1200, 100, 1300, 200},
         true,
         1190,
         100},
        {"past the top edge", kWork, {100, -5, 200, 95}, true, 100, 0},
        {"past the bottom edge, by the client height",
         kWork,
         {100, 950, 200, 1050},
         true,
         100,
         920},
        {"on a monitor left of the primary", kWork, {-1500, 100, -1400, 200}, true, 0, 100},
        {"larger than the work area keeps its corner on it",
         {0, 0, 60, 50},
         {-10, -10, 90, 90},
         true,
         0,
         0},
        {"an empty work area keeps the corner at its origin",
         {0, 0, 0, 0},
         {10, 10, 110, 110},
         true,
         0,
         0},
    };
    for (const auto& c : cases) {
        int32_t x = -1, y = -1;
        EXPECT_EQ(c.moved,
                  KeepInsideWorkArea(c.window, kClientWidth, kClientHeight, c.work, &x, &y))
            << c.name;
        EXPECT_EQ(c.x, x) << c.name;
        EXPECT_EQ(c.y, y) << c.name;
    }
}

} // namespace
