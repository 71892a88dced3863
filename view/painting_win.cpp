#include "view/painting.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "storage/entry_icons.h"
#include "storage/icon_loading.h"
#include "storage/settings.h"
#include "view/caption_strips.h"
#include "view/drawing_objects.h"
#include "view/gradient.h"
#include "view/grid.h"
#include "view/offscreen_buffer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const int kIconHalf = 16;
const UINT kCaptionCodePage = 932; // the caption font's character set
const int kCrossPenWidth = 3;
// Rows above a caption that its kept strip covers too.
const int kCaptionStripMargin = 2;

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

// Calls draw(x, y) for the icon's top-left corner, twice on the cursor cell: raised by two
// pixels with a one-pixel trail.
template <typename Draw> void DrawAtIconPlace(int centreX, int centreY, bool onCursor, Draw draw) {
    if (onCursor) {
        draw(centreX - (kIconHalf + 1), centreY - (kIconHalf + 1));
        draw(centreX - (kIconHalf + 2), centreY - (kIconHalf + 2));
    } else {
        draw(centreX - kIconHalf, centreY - kIconHalf);
    }
}

// The stored frames straight from memory: the mask (5-5-5) ANDed, then the colour ORed; on
// the cursor's cell once, raised by three pixels.
void DrawEntryBitmaps(HDC dc, const Entry& entry, int centreX, int centreY, bool onCursor) {
    int offset = onCursor ? kIconHalf + 3 : kIconHalf;
    DrawStoredBitmaps(dc, entry.colourBits, entry.maskBits, centreX - offset, centreY - offset);
}

void DrawCross(HDC dc, int x, int y, int cellWidth, int cellHeight) {
    HGDIOBJ previousPen = SelectObject(dc, KeptPen(PS_SOLID, kCrossPenWidth, GetGridColor()));
    POINT previousPosition;
    MoveToEx(dc, x, y, &previousPosition);
    LineTo(dc, x + cellWidth, y + cellHeight);
    Line(dc, x + cellWidth, y, x, y + cellHeight);
    MoveToEx(dc, previousPosition.x, previousPosition.y, nullptr);
    SelectObject(dc, previousPen);
}

bool CaptionsShown() {
    return !(GetStyle() != 0 && GetSize() == 2);
}

// The fit of a caption as last measured, by its text and the cell's width: every paint draws
// the same captions again, always in the caption font.
struct CaptionFit {
    uint64_t key; // 0: none yet
    int length;
    SIZE extent;
};
const int kCaptionFits = 1024;
CaptionFit g_captionFits[kCaptionFits];

uint64_t CaptionKey(const char* text, int cellWidth) {
    uint32_t low = 2166136261u ^ static_cast<uint32_t>(cellWidth);
    uint32_t high = 0x9E3779B9u;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        low = (low ^ *p) * 16777619u;
        high = (high ^ *p) * 0x85EBCA6Bu + (high >> 15);
    }
    uint64_t key = static_cast<uint64_t>(high) << 32 | low;
    return key ? key : 1;
}

// FitCaption in the caption font, measured once per text and width.
int FitCaptionOnce(HDC dc, const char* text, int cellWidth, SIZE* extent) {
    uint64_t key = CaptionKey(text, cellWidth);
    CaptionFit& fit = g_captionFits[key % kCaptionFits];
    if (fit.key != key) {
        fit.length = FitCaption(dc, text, cellWidth, &fit.extent);
        fit.key = key;
    }
    *extent = fit.extent;
    int n = lstrlenA(text);
    return fit.length < n ? fit.length : n;
}

// What the background puts under an icon's square whose top-left corner is at x, y.
IconGround GroundAt(int x, int y) {
    int ground = GetBackGround();
    if (ground == 1) {
        int way = GetGradWay();
        int span = way == 0 ? ColumnCount() * CellWidth() : RowCount() * CellHeight();
        return IconGround{2, GetGColorStart(), GetGColorEnd(), way, span, way == 0 ? x : y};
    }
    if (ground == 2 && PaintOsVersionCode() >= 8) return IconGround{}; // the desktop
    return IconGround{1, GetColor(), 0, 0, 0, 0};
}

// The first row of a cell, counted from its top, below all the cell may show but its caption:
// the icon's square (the system draws icons at its own icon size), and the row the cursor's
// cell above covers.
int FirstCaptionOnlyRow(int cellHeight) {
    int iconRows = GetSystemMetrics(SM_CYICON);
    if (iconRows < kIconSide) iconRows = kIconSide;
    int row = (cellHeight >> 1) - kIconHalf + iconRows;
    return row > 1 ? row : 1;
}

// Draws the caption with the caption font selected in dc. Given a first row below which only
// the ground lies under the caption, the caption may be copied from a kept strip of the cell's
// bottom rows: true when it was.
bool DrawCaptionText(HDC dc, int x, int y, const char* name, int firstStripRow = -1) {
    char text[kEntryNameSize];
    lstrcpynA(text, name, sizeof text);
    int cellWidth = CellWidth();
    int cellHeight = CellHeight();
    SIZE extent;
    int m = FitCaptionOnce(dc, text, cellWidth, &extent);
    int textX = x + ((cellWidth - extent.cx) >> 1);
    int textY = y + cellHeight - extent.cy - 2;
    if (firstStripRow >= 0) {
        RECT strip = {x, textY - kCaptionStripMargin, x + cellWidth, y + cellHeight};
        if (strip.top >= y + firstStripRow &&
            DrawCaptionStrip(dc, text, m, textX, textY, strip, GroundAt(strip.left, strip.top)))
            return true;
    }
    TextOutA(dc, textX, textY, text, m);
    return false;
}

// Draws the icon of one entry in the given mode: true, or false when it has none to show.
bool DrawIconOf(HDC dc, const Entry& entry, int iconMode, int centreX, int centreY, bool onCursor) {
    bool hasBits = entry.colourBits && entry.maskBits;
    if (iconMode == 1 && hasBits) {
        KeptIcon* kept = KeptBitsIcon(entry.colourBits, entry.maskBits);
        if (kept) {
            // The cursor's cell has a ground of its own, and its second icon lies over the
            // first.
            DrawAtIconPlace(centreX, centreY, onCursor, [&](int x, int y) {
                DrawKeptIcon(dc, kept, x, y, onCursor ? IconGround{} : GroundAt(x, y));
            });
        }
        return kept != nullptr;
    }
    if (iconMode == 2 && hasBits) {
        // Off the cursor the drawing over a plain or gradient ground is kept, as in mode 1.
        KeptIcon* kept = onCursor ? nullptr : KeptBitsIcon(entry.colourBits, entry.maskBits, 2);
        int x = centreX - kIconHalf;
        int y = centreY - kIconHalf;
        if (kept)
            DrawKeptIcon(dc, kept, x, y, GroundAt(x, y));
        else
            DrawEntryBitmaps(dc, entry, centreX, centreY, onCursor);
        return true;
    }
    if (iconMode == 3) {
        // Asked of the shell at every paint: the icon shows what the file looks like now.
        HICON icon = EntryShellIcon(entry);
        if (!icon) return false;
        DrawAtIconPlace(centreX, centreY, onCursor,
                        [&](int x, int y) { DrawIcon(dc, x, y, icon); });
        DestroyIcon(icon);
        return true;
    }
    return false;
}

// Paints one cell; its caption may come from a kept strip (see DrawCaptionText) unless
// firstStripRow is -1. True when the caption did, so that the cell drew nothing outside it.
bool PaintEntryCell(HDC dc, const Entry& entry, int iconMode, int x, int y, bool onCursor,
                    int firstStripRow) {
    int cellWidth = CellWidth();
    int cellHeight = CellHeight();
    int centreX = x + (cellWidth >> 1);
    int centreY = y + (cellHeight >> 1);
    // The cross says the file is gone or has no icon; an icon still on its way is not drawn
    // yet, which leaves the cell as bare as an empty one until it arrives.
    if (!DrawIconOf(dc, entry, iconMode, centreX, centreY, onCursor) && !entry.iconPending) {
        DrawCross(dc, x, y, cellWidth, cellHeight);
        firstStripRow = -1;
    }
    if (!CaptionsShown()) return false;
    char name[kEntryNameSize];
    CaptionNameOf(name, entry.FileName, entry.Attribute);
    return DrawCaptionText(dc, x, y, name, onCursor ? -1 : firstStripRow);
}

// One colour per pixel column (way 0) or row, in the layout of a 32-bit DIB.
uint32_t* GradientLine(COLORREF startColour, COLORREF endColour, int span) {
    uint32_t* line = static_cast<uint32_t*>(std::malloc(static_cast<size_t>(span) * 4));
    if (!line) return nullptr;
    for (int i = 0; i < span; ++i)
        line[i] = GradientPixelAt(startColour, endColour, i, span);
    return line;
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
    FillRect(dc, &area, KeptBrush(colour));
}

void GradientFill(HDC dc, int x, int y, int width, int height, COLORREF startColour,
                  COLORREF endColour, int way) {
    if (width <= 0 || height <= 0) return;
    // One line of colours, stretched across the other direction in one call.
    int span = way == 0 ? width : height;
    uint32_t* line = GradientLine(startColour, endColour, span);
    if (!line) return;
    int lineWidth = way == 0 ? span : 1;
    int lineHeight = way == 0 ? 1 : span;
    BITMAPINFO info = {};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), lineWidth, -lineHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    StretchDIBits(dc, x, y, width, height, 0, 0, lineWidth, lineHeight, line, &info, DIB_RGB_COLORS,
                  SRCCOPY);
    std::free(line);
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

    int tab = CurrentTab();
    int first = FirstVisibleRow() * columns;
    // Cells shown for the first time since start-up get their icons before they are drawn.
    BindShownIcons(tab, first, rows * columns);
    int iconMode = GetIconDraw();
    if (iconMode == 3) ReleaseKeptIcons();
    HGDIOBJ previousFont = SelectObject(dc, CaptionFont());
    int firstStripRow = HasPixelsOf32Bits(dc) ? FirstCaptionOnlyRow(cellHeight) : -1;
    int k = 0;
    for (int i = 0; i < rows; ++i) {
        // A strip covers its cell's columns: the cell to its left must not have drawn into
        // them (the cursor's extra column, a cross's end, a caption's ink reaching out).
        bool leftDrewInside = true;
        for (int j = 0; j < columns; ++j, ++k) {
            // Indices are dense: after the first empty cell all others are empty too.
            const Entry* entry = FindEntry(tab, first + k);
            if (!entry) {
                i = rows;
                break;
            }
            bool onCursor = j == CursorColumn() && i == CursorRow();
            leftDrewInside = PaintEntryCell(dc, *entry, iconMode, j * cellWidth, i * cellHeight,
                                            onCursor, leftDrewInside ? firstStripRow : -1);
        }
    }
    SelectObject(dc, previousFont);
}

int FitCaption(HDC dc, const char* name, int cellWidth, SIZE* extent) {
    int n = lstrlenA(name);
    // ends[i]: the width up to the character that byte i belongs to (a two-byte character
    // gives both its bytes the same end). One spare element: a lone lead byte at the end
    // is given one too.
    int ends[kEntryNameSize + 1] = {};
    *extent = SIZE{0, 0};
    if (n >= kEntryNameSize || !GetTextExtentExPointA(dc, name, n, 0, nullptr, ends, extent)) {
        return n;
    }
    if (extent->cx < cellWidth) return n;
    // The longest run of whole characters narrower than the cell...
    int m = 0;
    for (int i = 0; i < n;) {
        int next = i + (IsDBCSLeadByteEx(kCaptionCodePage, static_cast<BYTE>(name[i])) ? 2 : 1);
        if (next > n || ends[next - 1] >= cellWidth) break;
        m = i = next;
    }
    extent->cx = m > 0 ? ends[m - 1] : 0;
    // ...or one byte more: bytes are dropped one at a time, so a caption may end in the first
    // byte of a character, which the font draws as a character of its own.
    if (m + 1 < n && IsDBCSLeadByteEx(kCaptionCodePage, static_cast<BYTE>(name[m]))) {
        SIZE cut = {0, 0};
        if (GetTextExtentPoint32A(dc, name, m + 1, &cut) && cut.cx < cellWidth) {
            *extent = cut;
            return m + 1;
        }
    }
    return m;
}

void PaintCaption(HDC dc, int x, int y, const char* name) {
    HGDIOBJ previousFont = SelectObject(dc, CaptionFont());
    DrawCaptionText(dc, x, y, name);
    SelectObject(dc, previousFont);
}

void PaintGridLines() {
    HDC dc = BackBuffer().BufferDc();
    int cellWidth = CellWidth();
    int cellHeight = CellHeight();
    int columns = ColumnCount();
    int rows = RowCount();
    int width = columns * cellWidth;
    int height = rows * cellHeight;
    HGDIOBJ previousPen = SelectObject(dc, KeptPen(GridPenStyle(GetGridType()), 0, GetGridColor()));
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
}
