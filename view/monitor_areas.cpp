#include "view/monitor_areas.h"

#include <cstdint>

namespace {

int64_t Overlap(int32_t a0, int32_t a1, int32_t b0, int32_t b1) {
    int32_t low = a0 > b0 ? a0 : b0;
    int32_t high = a1 < b1 ? a1 : b1;
    return high > low ? static_cast<int64_t>(high) - low : 0;
}

int64_t SharedArea(const ScreenRect& a, const ScreenRect& b) {
    return Overlap(a.left, a.right, b.left, b.right) * Overlap(a.top, a.bottom, b.top, b.bottom);
}

// How far a coordinate lies outside [low, high).
int64_t Outside(int32_t v, int32_t low, int32_t high) {
    if (v < low) return static_cast<int64_t>(low) - v;
    if (v >= high) return static_cast<int64_t>(v) - high + 1;
    return 0;
}

int64_t SquaredDistance(const ScreenRect& r, int32_t x, int32_t y) {
    int64_t dx = Outside(x, r.left, r.right), dy = Outside(y, r.top, r.bottom);
    return dx * dx + dy * dy;
}

// The gap between two rectangles, squared; 0 when they touch or overlap.
int64_t SquaredGap(const ScreenRect& a, const ScreenRect& b) {
    int64_t dx = 0, dy = 0;
    if (a.right <= b.left) dx = static_cast<int64_t>(b.left) - a.right;
    if (b.right <= a.left) dx = static_cast<int64_t>(a.left) - b.right;
    if (a.bottom <= b.top) dy = static_cast<int64_t>(b.top) - a.bottom;
    if (b.bottom <= a.top) dy = static_cast<int64_t>(a.top) - b.bottom;
    return dx * dx + dy * dy;
}

ScreenRect Shifted(const ScreenRect& r, int32_t dx, int32_t dy) {
    ScreenRect out = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    return out;
}

} // namespace

int MonitorOfRect(const MonitorArea* monitors, int count, const ScreenRect& r) {
    int best = count > 0 ? 0 : -1;
    int64_t bestArea = 0, bestGap = INT64_MAX;
    // On a tie the earlier monitor keeps it, so the primary wins a window split evenly.
    for (int i = 0; i < count; ++i) {
        int64_t area = SharedArea(monitors[i].monitor, r);
        int64_t gap = SquaredGap(monitors[i].monitor, r);
        if (area > bestArea || (bestArea == 0 && area == 0 && gap < bestGap)) {
            best = i;
            bestArea = area;
            bestGap = gap;
        }
    }
    return best;
}

int MonitorOfPoint(const MonitorArea* monitors, int count, int32_t x, int32_t y) {
    int best = count > 0 ? 0 : -1;
    int64_t bestDistance = INT64_MAX;
    for (int i = 0; i < count; ++i) {
        int64_t d = SquaredDistance(monitors[i].monitor, x, y);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

bool PointOnAnyMonitor(const MonitorArea* monitors, int count, int32_t x, int32_t y) {
    for (int i = 0; i < count; ++i)
        if (SquaredDistance(monitors[i].monitor, x, y) == 0) return true;
    return false;
}

DragPlacement SnapDragStepOn(const MonitorArea& m, const ScreenRect& window, int32_t clientWidth,
                             int32_t clientHeight, int32_t dx, int32_t dy, DragTrack* track) {
    int32_t ox = m.monitor.left, oy = m.monitor.top;
    DragTrack local = {track->x - ox, track->y - oy};
    DragPlacement p = SnapDragStep(Shifted(window, -ox, -oy), clientWidth, clientHeight,
                                   Shifted(m.work, -ox, -oy), dx, dy, &local);
    track->x = local.x + ox;
    track->y = local.y + oy;
    p.left += ox;
    p.top += oy;
    return p;
}

DragPlacement SnapDragStepUnder(const MonitorArea* monitors, int count, int32_t px, int32_t py,
                                const ScreenRect& window, int32_t clientWidth, int32_t clientHeight,
                                int32_t dx, int32_t dy, DragTrack* track) {
    int i = MonitorOfPoint(monitors, count, px, py);
    if (i < 0) {
        DragPlacement stay = {window.left, window.top};
        return stay;
    }
    return SnapDragStepOn(monitors[i], window, clientWidth, clientHeight, dx, dy, track);
}

bool KeepInsideWorkAreaOf(const MonitorArea& m, const ScreenRect& window, int32_t clientWidth,
                          int32_t clientHeight, int32_t* x, int32_t* y) {
    return KeepInsideWorkArea(window, clientWidth, clientHeight, m.work, x, y);
}

int32_t CentredLeft(const MonitorArea& m, int32_t clientWidth) {
    return m.monitor.left + (m.work.right - m.monitor.left) / 2 - clientWidth / 2;
}

int32_t CentredTop(const MonitorArea& m, int32_t clientHeight) {
    return m.monitor.top + (m.work.bottom - m.monitor.top) / 2 - clientHeight / 2;
}
