#include "view/painting.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "storage/icon_loading.h"
#include "storage/settings.h"
#include "view/gradient.h"
#include "view/grid.h"
#include "view/offscreen_buffer.h"

#include <cstdlib>
#include <cstring>

namespace {

const char kCaptionFace[] = "ＭＳ　明朝";
const int kCaptionHeight = 12;
const int kIconHalf = 16;
const int kCrossPenWidth = 3;

// Asked once, at the first paint.
int PaintOsVersionCode() {
    static int code = GetOsVersionCode();
    return code;
}

int GridPenStyle(int gridType) {
    switch (gridType) {
    case 1: return PS_DASH;
    case 2: return PS_DOT;
    case 3: return PS_DASHDOT;
    case 4: return PS_DASHDOTDOT;
    default: return PS_SOLID;
    }
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void CopyDesktopBehindGrid(HDC dc, HWND window) {
    HWND desktop = GetDesktopWindow();
    HDC desktopDc = GetDC(desktop);
    RECT source;
    if (GetStyle() == 0) {
        GetWindowRect(TabControl(), &source);
        source.top = source.bottom;
    } else {
        GetWindowRect(window, &source);
    }
    RECT client;
    GetClientRect(window, &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, desktopDc, source.left, source.top, SRCCOPY);
    ReleaseDC(desktop, desktopDc);
    SetTimer(window, kDesktopRefreshTimerId, kDesktopRefreshMs, nullptr);
}

void PaintPlainBackground(HDC dc, HWND window) {
    RECT client;
    GetClientRect(window, &client);
    FillColourRect(dc, client.left, client.top, client.right, client.bottom, GetColor());
    KillTimer(window, kDesktopRefreshTimerId);
}

void PaintCursorCell(HDC dc, int cellWidth, int cellHeight) {
    if (CursorColumn() < 0 || CursorRow() < 0) return;
    int x = CursorColumn() * cellWidth;
    int y = CursorRow() * cellHeight;
    // One pixel wider and taller than the cell; the grid lines cover the overlap again.
    if (GetCursorGround() == 1) {
        GradientFill(dc, x, y, cellWidth + 1, cellHeight + 1, GetCursorGColorStart(),
                     GetCursorGColorEnd(), GetCursorGradWay());
    } else {
        FillColourRect(dc, x, y, x + cellWidth + 1, y + cellHeight + 1, GetCursorColor());
    }
}

void DrawEntryIcon(HDC dc, HICON icon, int centreX, int centreY, bool onCursor) {
    if (onCursor) {
        // Raised by two pixels with a one-pixel trail.
        DrawIcon(dc, centreX - (kIconHalf + 1), centreY - (kIconHalf + 1), icon);
        DrawIcon(dc, centreX - (kIconHalf + 2), centreY - (kIconHalf + 2), icon);
    } else {
        DrawIcon(dc, centreX - kIconHalf, centreY - kIconHalf, icon);
    }
}

void DrawEntryBitmaps(HDC dc, HBITMAP colour, HBITMAP mask, int centreX, int centreY,
                      bool onCursor) {
    int offset = onCursor ? kIconHalf + 3 : kIconHalf;
    int left = centreX - offset;
    int top = centreY - offset;
    HDC source = CreateCompatibleDC(nullptr);
    if (source) {
        HGDIOBJ previous = SelectObject(source, mask);
        BitBlt(dc, left, top, 32, 32, source, 0, 0, SRCAND);
        SelectObject(source, colour);
        BitBlt(dc, left, top, 32, 32, source, 0, 0, SRCPAINT);
        SelectObject(source, previous);
        DeleteDC(source);
    }
}

void DrawCross(HDC dc, int x, int y, int cellWidth, int cellHeight) {
    HPEN pen = CreatePen(PS_SOLID, kCrossPenWidth, GetGridColor());
    HGDIOBJ previousPen = SelectObject(dc, pen);
    POINT previousPosition;
    MoveToEx(dc, x, y, &previousPosition);
    LineTo(dc, x + cellWidth, y + cellHeight);
    Line(dc, x + cellWidth, y, x, y + cellHeight);
    MoveToEx(dc, previousPosition.x, previousPosition.y, nullptr);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

bool CaptionsShown() {
    return !(GetStyle() != 0 && GetSize() == 2);
}

void PaintEntryCaption(HDC dc, const EntrySnapshot& snapshot, int x, int y) {
    char name[kEntryNameSize];
    CaptionNameOf(name, snapshot.FileName, snapshot.Attribute);
    PaintCaption(dc, x, y, name);
}

void PaintEntryCell(HDC dc, EntrySnapshot* snapshot, int x, int y, bool onCursor) {
    int cellWidth = CellWidth();
    int cellHeight = CellHeight();
    int centreX = x + (cellWidth >> 1);
    int centreY = y + (cellHeight >> 1);
    if (snapshot->icon) {
        DrawEntryIcon(dc, static_cast<HICON>(snapshot->icon), centreX, centreY, onCursor);
        DestroyIcon(static_cast<HICON>(snapshot->icon));
    } else if (snapshot->colourBitmap) {
        DrawEntryBitmaps(dc, static_cast<HBITMAP>(snapshot->colourBitmap),
                         static_cast<HBITMAP>(snapshot->maskBitmap), centreX, centreY, onCursor);
    } else {
        DrawCross(dc, x, y, cellWidth, cellHeight);
    }
    // The bitmaps are released whichever way the cell was drawn.
    if (snapshot->colourBitmap) DeleteObject(static_cast<HBITMAP>(snapshot->colourBitmap));
    if (snapshot->maskBitmap) DeleteObject(static_cast<HBITMAP>(snapshot->maskBitmap));
    snapshot->icon = snapshot->colourBitmap = snapshot->maskBitmap = nullptr;
    if (CaptionsShown()) PaintEntryCaption(dc, *snapshot, x, y);
}

} // namespace

void CaptionNameOf(char* out, const char* fileName, DWORD attribute) {
    lstrcpynA(out, fileName, kEntryNameSize);
    // Files show their name without the extension; folders keep theirs.
    int extension = ExtensionPosition(out);
    if (!(attribute & kFolderAttribute) && extension > 0) out[extension - 1] = '\0';
}

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

void FillColourRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    RECT area = {left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void GradientFill(HDC dc, int x, int y, int width, int height, COLORREF startColour,
                  COLORREF endColour, int way) {
    if (way == 0) {
        for (int i = 0; i < width; ++i) {
            FillColourRect(dc, x + i, y, x + i + 1, y + height,
                           GradientColourAt(startColour, endColour, i, width));
        }
    } else {
        for (int j = 0; j < height; ++j) {
            FillColourRect(dc, x, y + j, x + width, y + j + 1,
                           GradientColourAt(startColour, endColour, j, height));
        }
    }
}

void PaintGrid() {
    if (!BackBuffer().BufferDc()) return;
    PaintBackground();
    PaintEntries();
    if (GetGrid() == 0) PaintGridLines();
}

void PaintBackground() {
    HDC dc = BackBuffer().BufferDc();
    HWND window = MainWindow();
    switch (GetBackGround()) {
    case 1:
        GradientFill(dc, 0, 0, ColumnCount() * CellWidth(), RowCount() * CellHeight(),
                     GetGColorStart(), GetGColorEnd(), GetGradWay());
        KillTimer(window, kDesktopRefreshTimerId);
        break;
    case 2:
        // The screen copy needs the Windows 2000 class.
        if (PaintOsVersionCode() >= 8) {
            CopyDesktopBehindGrid(dc, window);
            break;
        }
        [[fallthrough]];
    default:
        // 0, and wherever no other background can be painted: the buffer must never show
        // what the previous paint (or nothing) left in it.
        PaintPlainBackground(dc, window);
        break;
    }
}

void PaintEntries() {
    HDC dc = BackBuffer().BufferDc();
    int cellWidth = CellWidth();
    int cellHeight = CellHeight();
    int columns = ColumnCount();
    int rows = RowCount();
    SetBkMode(dc, TRANSPARENT);
    PaintCursorCell(dc, cellWidth, cellHeight);

    EntrySnapshot* snapshot = static_cast<EntrySnapshot*>(std::calloc(1, sizeof(EntrySnapshot)));
    if (!snapshot) return;
    int tab = CurrentTab();
    int first = FirstVisibleRow() * columns;
    // Cells shown for the first time since start-up get their cached icons before they are drawn.
    BindCachedIcons(tab, first, rows * columns);
    int iconMode = GetIconDraw();
    int k = 0;
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j, ++k) {
            // Indices are dense: after the first empty cell all others are empty too.
            if (!GetEntrySnapshot(snapshot, tab, first + k, iconMode, 0)) {
                i = rows;
                break;
            }
            bool onCursor = j == CursorColumn() && i == CursorRow();
            PaintEntryCell(dc, snapshot, j * cellWidth, i * cellHeight, onCursor);
        }
    }
    std::free(snapshot);
}

int FitCaption(HDC dc, const char* name, int cellWidth, SIZE* extent) {
    int m = lstrlenA(name);
    for (;; --m) {
        extent->cx = extent->cy = 0;
        GetTextExtentPoint32A(dc, name, m, extent);
        if (extent->cx < cellWidth || m == 0) return m;
    }
}

void PaintCaption(HDC dc, int x, int y, const char* name) {
    HFONT font =
        CreateFontA(kCaptionHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0,
                    PROOF_QUALITY, FIXED_PITCH | FF_MODERN, kCaptionFace);
    HGDIOBJ previousFont = SelectObject(dc, font);
    char text[kEntryNameSize];
    lstrcpynA(text, name, sizeof text);
    int cellWidth = CellWidth();
    SIZE extent;
    int m = FitCaption(dc, text, cellWidth, &extent);
    TextOutA(dc, x + ((cellWidth - extent.cx) >> 1), y + CellHeight() - extent.cy - 2, text, m);
    SelectObject(dc, previousFont);
    DeleteObject(font);
}

void PaintGridLines() {
    HDC dc = BackBuffer().BufferDc();
    int cellWidth = CellWidth();
    int cellHeight = CellHeight();
    int columns = ColumnCount();
    int rows = RowCount();
    int width = columns * cellWidth;
    int height = rows * cellHeight;
    HPEN pen = CreatePen(GridPenStyle(GetGridType()), 0, GetGridColor());
    HGDIOBJ previousPen = SelectObject(dc, pen);
    POINT previousPosition;
    MoveToEx(dc, 0, 0, &previousPosition);
    // Two-pixel lines frame every cell, the outer border included.
    for (int i = 0; i < rows; ++i) {
        int y = i * cellHeight;
        Line(dc, 0, y, width, y);
        Line(dc, 0, y + 1, width, y + 1);
    }
    Line(dc, 0, height - 1, width, height - 1);
    Line(dc, 0, height - 2, width, height - 2);
    for (int j = 0; j < columns; ++j) {
        int x = j * cellWidth;
        Line(dc, x, 0, x, height);
        Line(dc, x + 1, 0, x + 1, height);
    }
    Line(dc, width - 1, 0, width - 1, height);
    Line(dc, width - 2, 0, width - 2, height);
    MoveToEx(dc, previousPosition.x, previousPosition.y, nullptr);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}
