#include "view/window_snapping.h"

namespace {

// The correction of the tracked position when a top or bottom edge snaps: the remainder of
// the two coordinates. It is at most the snap distance for every ordinary work area; a zero
// or negative operand (a work area ending at 0, a window above the primary monitor) makes no
// correction, so nothing divides by zero and the tracked position never jumps.
int32_t SnapRemainder(int32_t value, int32_t divisor) {
    if (divisor <= 0 || value < 0) return 0;
    int32_t remainder = value % divisor;
    return remainder > kSnapDistance ? kSnapDistance : remainder;
}

int32_t HorizontalStep(const ScreenRect& w, int32_t clientWidth, const ScreenRect& a, int32_t dx,
                       int32_t* trackedX) {
    if (dx > 0) {
        if (a.right > w.right + kSnapDistance) {
            *trackedX += dx;
            return *trackedX;
        }
        if (w.right < a.right && a.right <= w.right + kSnapDistance) {
            *trackedX += dx + (a.right - w.right);
            return a.right - clientWidth;
        }
    } else if (dx < 0) {
        if (w.left > a.left + kSnapDistance) {
            *trackedX += dx;
            return *trackedX;
        }
        if (a.left < w.left && w.left <= a.left + kSnapDistance) {
            *trackedX += dx - w.left;
            return a.left;
        }
    }
    return w.left;
}

int32_t VerticalStep(const ScreenRect& w, int32_t clientHeight, const ScreenRect& a, int32_t dy,
                     int32_t* trackedY) {
    if (dy > 0) {
        if (a.bottom > w.bottom + kSnapDistance) {
            *trackedY += dy;
            return *trackedY;
        }
        if (w.bottom < a.bottom && a.bottom <= w.bottom + kSnapDistance) {
            *trackedY += dy - SnapRemainder(w.bottom + kSnapDistance, a.bottom);
            return a.bottom - clientHeight;
        }
    } else if (dy < 0) {
        if (w.top > a.top + kSnapDistance) {
            *trackedY += dy;
            return *trackedY;
        }
        if (a.top < w.top && w.top <= a.top + kSnapDistance) {
            *trackedY += dy - SnapRemainder(a.top + kSnapDistance, w.top);
            return a.top;
        }
    }
    return w.top;
}

} // namespace

DragPlacement SnapDragStep(const ScreenRect& window, int32_t clientWidth, int32_t clientHeight,
                           const ScreenRect& work, int32_t dx, int32_t dy, DragTrack* track) {
    DragPlacement placement;
    placement.left = HorizontalStep(window, clientWidth, work, dx, &track->x);
    placement.top = VerticalStep(window, clientHeight, work, dy, &track->y);
    return placement;
}

bool KeepInsideWorkArea(const ScreenRect& window, int32_t clientWidth, int32_t clientHeight,
                        const ScreenRect& work, int32_t* x, int32_t* y) {
    bool moved = false;
    *x = window.left;
    *y = window.top;
    if (window.left < work.left) *x = work.left, moved = true;
    if (work.right < window.right) *x = work.right - clientWidth, moved = true;
    if (window.top < work.top) *y = work.top, moved = true;
    if (work.bottom < window.bottom) *y = work.bottom - clientHeight, moved = true;
    // A window larger than the work area keeps its top-left corner (and caption) on it.
    if (moved && *x < work.left) *x = work.left;
    if (moved && *y < work.top) *y = work.top;
    return moved;
}
