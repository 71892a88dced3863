#include "view/grid_view.h"

// Display styles, scrolling and the cell tooltips are not built yet.
void ResetScroll() {}
void UpdateScrollRange() {}
void AddCellTools(HWND, HWND) {}
void UpdateCellToolRects(HWND, HWND) {}
bool SelectCellSize(int) { return false; }
void ApplyDisplayStyle(int) {}
void SwitchDisplayStyle(int) {}
void SwitchCellSize(int) {}
