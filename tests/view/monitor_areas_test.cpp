#include "view/monitor_areas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The primary monitor with a taskbar at its foot, one right of it, one left of it and higher
// up (negative coordinates), and one above it.
const MonitorArea kPrimary = {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
const MonitorArea kRight = {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}};
const MonitorArea kLeft = {{-1280, -200, 0, 824}, {-1280, -200, 0, 784}};
const MonitorArea kAbove = {{0, -1080, 1920, 0}, {0, -1080, 1920, 0}};

TEST(MonitorAreas, WindowsAndPointsBelongToTheMonitorThatShowsThem) {
    const std::vector<MonitorArea> two = {kPrimary, kRight}, three = {kPrimary, kRight, kLeft},
                                   above = {kPrimary, kAbove}, removed = {kPrimary};
    const struct {
        const char* name;
        const std::vector<MonitorArea>& monitors;
        ScreenRect window;
        int windowMonitor;
        int x, y, pointMonitor;
        bool shown;
    } rows[] = {
        {"on the primary", two, {100, 100, 400, 400}, 0, 100, 100, 0, true},
        {"across two, most on the right", two, {1800, 0, 2100, 300}, 1, 2000, 50, 1, true},
        {"across two, evenly: the primary", two, {1770, 0, 2070, 300}, 0, 3199, 1023, 1, true},
        {"left, negative coordinates", three, {-300, -150, 0, 150}, 2, -1280, -200, 2, true},
        {"above, mostly below the seam", above, {100, -50, 400, 250}, 0, 100, -1, 1, true},
        {"monitor removed since", removed, {2000, 50, 2300, 350}, 0, 2000, 50, 0, false},
    };
    for (const auto& r : rows) {
        int n = static_cast<int>(r.monitors.size());
        EXPECT_EQ(r.windowMonitor, MonitorOfRect(r.monitors.data(), n, r.window)) << r.name;
        EXPECT_EQ(r.pointMonitor, MonitorOfPoint(r.monitors.data(), n, r.x, r.y)) << r.name;
        EXPECT_EQ(r.shown, PointOnAnyMonitor(r.monitors.data(), n, r.x, r.y)) << r.name;
    }
    EXPECT_EQ(-1, MonitorOfRect(nullptr, 0, kPrimary.monitor));
}

// Each monitor gives what the primary gives at the same place on it.
TEST(MonitorAreas, EachMonitorSnapsAndCentresAsThePrimaryDoes) {
    const int kW = 300, kH = 300;
    // Near the left monitor's left edge: flush with it, the tracked position corrected by
    // the 5 pixels to the edge as on the primary, not by the screen coordinate.
    DragTrack track = {-1275, 100};
    DragPlacement p = SnapDragStepOn(kLeft, {-1275, 100, -975, 400}, kW, kH, -3, 0, &track);
    EXPECT_EQ(-1280, p.left);
    EXPECT_EQ(-1283, track.x);
    // Dragged right to the seam with the right monitor: flush with it, held while the pointer
    // stays on the primary, carried on once the pointer crosses.
    const MonitorArea two[] = {kPrimary, kRight};
    const struct {
        int pointerX, dx, left;
    } steps[] = {{1703, 3, 1620}, {1900, 197, 1620}, {1930, 30, 1653}};
    ScreenRect w = {1615, 100, 1915, 400};
    track = {1615, 100};
    for (const auto& step : steps) {
        p = SnapDragStepUnder(two, 2, step.pointerX, 200, w, kW, kH, step.dx, 0, &track);
        EXPECT_EQ(step.left, p.left) << "pointer at " << step.pointerX;
        w = {p.left, p.top, p.left + kW, p.top + kH};
    }
    // The work area's right and bottom are halved from the monitor's corner.
    EXPECT_EQ(1920 + 640 - kW / 2, CentredLeft(kRight, kW));
    EXPECT_EQ(-200 + 492 - kH / 2, CentredTop(kLeft, kH));
}

} // namespace
