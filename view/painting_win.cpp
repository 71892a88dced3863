#include "view/painting.h"

#include "app/app_state.h"
#include "storage/settings.h"
#include "view/grid.h"
#include "view/offscreen_buffer.h"

void CreateBackBuffer(HWND window) {
    OffscreenBuffer& buffer = BackBuffer();
    HDC dc = GetDC(window);
    buffer.SetBufferOwner(window);
    buffer.CreateBufferDc(dc);
    buffer.CreateBufferBitmap(dc, 500, 500);
    buffer.SelectBufferBitmap();
    if (buffer.BufferDc()) SelectObject(buffer.BufferDc(), GetStockObject(LTGRAY_BRUSH));
    ReleaseDC(window, dc);
}

void ResizeOffscreenBuffer(int width, int height) {
    OffscreenBuffer& buffer = BackBuffer();
    HDC dc = GetDC(MainWindow());
    buffer.CreateBufferBitmap(dc, width, height);
    buffer.SelectBufferBitmap();
    ReleaseDC(MainWindow(), dc);
}

void PaintGrid() {
    // Entries, the cursor and grid lines are not drawn yet: only the plain background.
    HDC dc = BackBuffer().BufferDc();
    if (!dc) return;
    RECT area = {0, 0, ColumnCount() * CellWidth(), RowCount() * CellHeight()};
    HBRUSH brush = CreateSolidBrush(GetColor());
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}
