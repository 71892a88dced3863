// Window-drag snapping and keeping the window in the work area, as plain arithmetic on screen
// rectangles.
#pragma once

#include <cstdint>

enum { kSnapDistance = 10 };

struct ScreenRect {
    int32_t left, top, right, bottom;
};

// The tracked top-left of a dragged window: where it would be without snapping.
struct DragTrack {
    int32_t x, y;
};

// One drag step with the pointer moved by (dx, dy): the window's new top-left, and the tracked
// position updated.
struct DragPlacement {
    int32_t left, top;
};
DragPlacement SnapDragStep(const ScreenRect& window, int32_t clientWidth, int32_t clientHeight,
                           const ScreenRect& work, int32_t dx, int32_t dy, DragTrack* track);

// The top-left that keeps a window inside the work area (its client size standing for the
// window's on the right and bottom edges); false when it may stay where it is.
bool KeepInsideWorkArea(const ScreenRect& window, int32_t clientWidth, int32_t clientHeight,
                        const ScreenRect& work, int32_t* x, int32_t* y);
