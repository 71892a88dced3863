// Monitors and their work areas, as plain arithmetic on screen rectangles: which monitor a
// window or a point belongs to, and the work-area rules of one monitor.
#pragma once

#include "view/window_snapping.h"

struct MonitorArea {
    ScreenRect monitor; // the whole monitor in screen coordinates
    ScreenRect work;    // its work area
};

enum { kMaxMonitors = 32 };

// Lists the monitors, the primary one first; returns how many it wrote.
typedef int (*MonitorLister)(MonitorArea* out, int capacity);

// Index of the monitor that shows most of the rectangle, else the one nearest to it; -1 only
// for an empty list.
int MonitorOfRect(const MonitorArea* monitors, int count, const ScreenRect& r);
// Index of the monitor that shows the point, else the one nearest to it; -1 for an empty list.
int MonitorOfPoint(const MonitorArea* monitors, int count, int32_t x, int32_t y);
// Whether any monitor shows the point.
bool PointOnAnyMonitor(const MonitorArea* monitors, int count, int32_t x, int32_t y);

// The work-area rules of one monitor. They are worked out in the monitor's own coordinates
// (its top-left corner the origin, as the primary monitor's is the screen's), so every
// monitor snaps, keeps and centres a window exactly as the primary one does.
DragPlacement SnapDragStepOn(const MonitorArea& m, const ScreenRect& window, int32_t clientWidth,
                             int32_t clientHeight, int32_t dx, int32_t dy, DragTrack* track);
// A drag step on the monitor under the pointer (px, py): the pointer carries the window, so a
// window held at an edge between two monitors crosses once the pointer has gone on.
DragPlacement SnapDragStepUnder(const MonitorArea* monitors, int count, int32_t px, int32_t py,
                                const ScreenRect& window, int32_t clientWidth, int32_t clientHeight,
                                int32_t dx, int32_t dy, DragTrack* track);
bool KeepInsideWorkAreaOf(const MonitorArea& m, const ScreenRect& window, int32_t clientWidth,
                          int32_t clientHeight, int32_t* x, int32_t* y);
// The left (top) edge that centres the window: half the work area's right (bottom)
// coordinate, less half the client width (height).
int32_t CentredLeft(const MonitorArea& m, int32_t clientWidth);
int32_t CentredTop(const MonitorArea& m, int32_t clientHeight);
