#include "view/grid_view.h"

// Scrolling and the cell tooltips are not built yet.
void ResetScroll() {}
void UpdateScrollRange() {}
void AddCellTools(HWND, HWND) {}
void UpdateCellToolRects(HWND, HWND) {}
