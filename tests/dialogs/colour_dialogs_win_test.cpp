#include "dialogs/colour_dialog.h"
#include "dialogs/gradient_dialog.h"
#include "dialogs/other_colour_dialog.h"
#include "res/colour_dialog_ids.h"
#include "res/command_ids.h"
#include "storage/settings.h"
#include "support/dialog_fixture.h"
#include "view/gradient.h"

namespace {

const char kColourTitle[] = "カラー設定";
const char kGradientTitle[] = "グラデーション設定";
const char kOtherTitle[] = "境界線と選択色の設定";

const COLORREF kBlack = RGB(0, 0, 0);

// The options the colour dialogs touch, as one value to compare.
struct ColourOptions {
    int32_t background, grid, gridType, gradWay, cursorGround, cursorGradWay;
    uint32_t color, gStart, gEnd, gridColor, cursorColor, cursorStart, cursorEnd;
    bool operator==(const ColourOptions& o) const {
        return background == o.background && grid == o.grid && gridType == o.gridType &&
               gradWay == o.gradWay && cursorGround == o.cursorGround &&
               cursorGradWay == o.cursorGradWay && color == o.color && gStart == o.gStart &&
               gEnd == o.gEnd && gridColor == o.gridColor && cursorColor == o.cursorColor &&
               cursorStart == o.cursorStart && cursorEnd == o.cursorEnd;
    }
};

ColourOptions StoredColours() {
    return {GetBackGround(),     GetGrid(),          GetGridType(),    GetGradWay(),
            GetCursorGround(),   GetCursorGradWay(), GetColor(),       GetGColorStart(),
            GetGColorEnd(),      GetGridColor(),     GetCursorColor(), GetCursorGColorStart(),
            GetCursorGColorEnd()};
}

void StoreColours(const ColourOptions& o) {
    SetBackGround(o.background);
    SetGrid(o.grid);
    SetGridType(o.gridType);
    SetGradWay(o.gradWay);
    SetCursorGround(o.cursorGround);
    SetCursorGradWay(o.cursorGradWay);
    SetColor(o.color);
    SetGColorStart(o.gStart);
    SetGColorEnd(o.gEnd);
    SetGridColor(o.gridColor);
    SetCursorColor(o.cursorColor);
    SetCursorGColorStart(o.cursorStart);
    SetCursorGColorEnd(o.cursorEnd);
}

const ColourOptions kStarting = {1,
                                 0,
                                 2,
                                 1,
                                 0,
                                 0,
                                 RGB(10, 20, 30),
                                 RGB(200, 0, 0),
                                 RGB(0, 0, 200),
                                 RGB(0, 128, 0),
                                 RGB(250, 250, 0),
                                 RGB(0, 40, 80),
                                 RGB(90, 90, 90)};

COLORREF Pixel(HDC surface, int x, int y) {
    return surface ? GetPixel(surface, x, y) : CLR_INVALID;
}

using ColourDialogTest = DialogTest;

// Every way out without saving: Cancel and the close box, after changing the colour, the
// gradient (saved in its own dialog), the radios and the grid box.
TEST_F(ColourDialogTest, CancelAndCloseBoxLeaveEveryOptionAsItWas) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        StoreColours(kStarting);
        WithDialog(IDM_BACKGROUND_COLOUR, kColourTitle, [closeBox](HWND dialog) {
            AnswerColourPicker(dialog, IDC_COLOUR_PLAIN_PICK, RGB(1, 2, 3));
            PressButton(dialog, IDC_COLOUR_GRADIENT_PICK);
            HWND gradient = WaitForOwnedDialog(dialog, kGradientTitle);
            if (gradient) {
                ClickButton(gradient, IDC_GRADIENT_ACROSS);
                PressButton(gradient, IDC_GRADIENT_OK);
                WaitUntilGone(gradient);
            }
            ClickButton(dialog, IDC_COLOUR_USE_PLAIN);
            ClickButton(dialog, IDC_COLOUR_NO_GRID);
            if (closeBox)
                PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                PressButton(dialog, IDC_COLOUR_CANCEL);
        });
        EXPECT_TRUE(kStarting == StoredColours());
    }
    WithDialog(IDM_OTHER_COLOURS, kOtherTitle, [](HWND dialog) {
        ClickButton(dialog, IDC_OTHER_LINE_DOT);
        ClickButton(dialog, IDC_OTHER_CURSOR_GRADIENT);
        AnswerColourPicker(dialog, IDC_OTHER_GRID_COLOUR, RGB(7, 8, 9));
        PressButton(dialog, IDC_OTHER_CANCEL);
    });
    EXPECT_TRUE(kStarting == StoredColours());
}

// OK stores the picked colour, the radio and the grid box; the close writes them.
TEST_F(ColourDialogTest, OkStoresThePickedColourAndTheClosedWindowWritesIt) {
    StoreColours(kStarting);
    COLORREF opened = CLR_INVALID, cancelled = CLR_INVALID, shown = CLR_INVALID;
    COLORREF line = CLR_INVALID, noLine = CLR_INVALID;
    WithDialog(IDM_BACKGROUND_COLOUR, kColourTitle, [&](HWND dialog) {
        ClickButton(dialog, IDC_COLOUR_USE_PLAIN);
        opened = AnswerColourPicker(dialog, IDC_COLOUR_PLAIN_PICK, RGB(40, 50, 60));
        // A cancelled picker opens on the colour being worked on and changes nothing.
        cancelled = AnswerColourPicker(dialog, IDC_COLOUR_PLAIN_PICK, CLR_INVALID);
        HDC preview = ColourPreviewSurface();
        shown = PixelOnceDrawn(preview, 10, 10, RGB(40, 50, 60));
        line = Pixel(preview, 40, 10);
        ClickButton(dialog, IDC_COLOUR_NO_GRID);
        noLine = Pixel(preview, 40, 10);
        PressButton(dialog, IDC_COLOUR_OK);
    });
    EXPECT_EQ(RGB(10, 20, 30), opened);
    EXPECT_EQ(RGB(40, 50, 60), cancelled);
    EXPECT_EQ(RGB(40, 50, 60), shown);
    EXPECT_EQ(kBlack, line) << "black grid lines 40 pixels apart, whatever the grid colour";
    EXPECT_EQ(RGB(40, 50, 60), noLine);
    EXPECT_EQ(0, GetBackGround());
    EXPECT_EQ(1, GetGrid());
    EXPECT_EQ(RGB(40, 50, 60), GetColor());
    std::string ini = CloseAndReadSettings();
    EXPECT_EQ(std::to_string(RGB(40, 50, 60)), SettingsValue(ini, "Color"));
    EXPECT_EQ("0", SettingsValue(ini, "BackGround"));
    EXPECT_EQ("1", SettingsValue(ini, "Grid"));
}

// The gradient goes to its dialog and comes back on its OK only; the preview shows it.
TEST_F(ColourDialogTest, TheGradientDialogChangesTheGradientOnlyOnItsOk) {
    StoreColours(kStarting);
    int seenWayRadio = 0;
    COLORREF startSwatch = CLR_INVALID, endSwatch = CLR_INVALID;
    COLORREF left = CLR_INVALID, right = CLR_INVALID, top = CLR_INVALID, bottom = CLR_INVALID;
    WithDialog(IDM_BACKGROUND_COLOUR, kColourTitle, [&](HWND dialog) {
        // The close box first: nothing comes back.
        PressButton(dialog, IDC_COLOUR_GRADIENT_PICK);
        HWND gradient = WaitForOwnedDialog(dialog, kGradientTitle);
        if (!gradient) return;
        seenWayRadio = IsTicked(gradient, IDC_GRADIENT_DOWN) ? IDC_GRADIENT_DOWN : 0;
        AnswerColourPicker(gradient, IDC_GRADIENT_START, RGB(0, 255, 0));
        ClickButton(gradient, IDC_GRADIENT_ACROSS);
        PostMessageA(gradient, WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitUntilGone(gradient);
        HDC preview = ColourPreviewSurface();
        top = Pixel(preview, 10, 0);
        bottom = Pixel(preview, 10, 154);
        // Then OK: a new start colour, left to right.
        PressButton(dialog, IDC_COLOUR_GRADIENT_PICK);
        gradient = WaitForOwnedDialog(dialog, kGradientTitle);
        if (!gradient) return;
        AnswerColourPicker(gradient, IDC_GRADIENT_START, RGB(0, 255, 0));
        HDC surface = GradientSurface();
        startSwatch = PixelOnceDrawn(surface, 10, 10, RGB(0, 255, 0));
        endSwatch = Pixel(surface, 110, 10);
        ClickButton(gradient, IDC_GRADIENT_ACROSS);
        PressButton(gradient, IDC_GRADIENT_OK);
        WaitUntilGone(gradient);
        left = PixelOnceDrawn(preview, 0, 10, RGB(0, 255, 0));
        right = Pixel(preview, 179, 10);
        PressButton(dialog, IDC_COLOUR_OK);
    });
    EXPECT_EQ(IDC_GRADIENT_DOWN, seenWayRadio);
    EXPECT_EQ(RGB(200, 0, 0), top) << "the close box returned the gradient unchanged";
    EXPECT_EQ(RGB(0, 0, 200), bottom);
    EXPECT_EQ(RGB(0, 255, 0), startSwatch);
    EXPECT_EQ(RGB(0, 0, 200), endSwatch);
    EXPECT_EQ(RGB(0, 255, 0), left);
    EXPECT_EQ(RGB(0, 0, 200), right);
    EXPECT_EQ(1, GetBackGround());
    EXPECT_EQ(0, GetGradWay());
    EXPECT_EQ(RGB(0, 255, 0), GetGColorStart());
    EXPECT_EQ(RGB(0, 0, 200), GetGColorEnd());
    std::string ini = CloseAndReadSettings();
    EXPECT_EQ("0", SettingsValue(ini, "GradWay"));
    EXPECT_EQ(std::to_string(RGB(0, 255, 0)), SettingsValue(ini, "GColorStart"));
}

// An unknown direction shows as left to right and leaves the stored one alone until saved.
TEST_F(ColourDialogTest, AnUnknownGradientDirectionShowsAsLeftToRight) {
    StoreColours(kStarting);
    SetGradWay(5);
    bool across = false;
    WithDialog(IDM_BACKGROUND_COLOUR, kColourTitle, [&](HWND dialog) {
        PressButton(dialog, IDC_COLOUR_GRADIENT_PICK);
        HWND gradient = WaitForOwnedDialog(dialog, kGradientTitle);
        if (gradient) {
            across = IsTicked(gradient, IDC_GRADIENT_ACROSS);
            PostMessageA(gradient, WM_SYSCOMMAND, SC_CLOSE, 0);
            WaitUntilGone(gradient);
        }
        PressButton(dialog, IDC_COLOUR_CANCEL);
    });
    EXPECT_TRUE(across);
    EXPECT_EQ(5, GetGradWay());
}

// Run as Windows XP too: the desktop picture exists only from the Windows 2000 class on.
TEST_F(ColourDialogTest, TheDesktopPictureFollowsTheVersionClass) {
    SetBackGround(2);
    bool desktopTicked = false, plainTicked = false, desktopEnabled = false, groupEnabled = false;
    WithDialog(IDM_BACKGROUND_COLOUR, kColourTitle, [&](HWND dialog) {
        desktopTicked = IsTicked(dialog, IDC_COLOUR_USE_DESKTOP);
        plainTicked = IsTicked(dialog, IDC_COLOUR_USE_PLAIN);
        desktopEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_COLOUR_USE_DESKTOP)) != 0;
        groupEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_COLOUR_DESKTOP_GROUP)) != 0;
        PressButton(dialog, IDC_COLOUR_OK);
    });
    bool modern = GetOsVersionCode() >= 8;
    EXPECT_EQ(modern, desktopTicked);
    EXPECT_EQ(!modern, plainTicked);
    EXPECT_EQ(modern, desktopEnabled);
    EXPECT_EQ(modern, groupEnabled);
    EXPECT_EQ(modern ? 2 : 0, GetBackGround());
}

// Line style and cursor kind follow their radios; a stored style no radio shows is kept.
TEST_F(ColourDialogTest, OtherColoursSaveTheRadiosAndKeepAnUnknownLineStyle) {
    const struct {
        int storedType, click, savedType;
    } cases[] = {{7, 0, 7}, {2, 0, 2}, {7, IDC_OTHER_LINE_DASH_DOT_DOT, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.storedType);
        StoreColours(kStarting);
        SetGridType(c.storedType);
        int ticked = 0;
        WithDialog(IDM_OTHER_COLOURS, kOtherTitle, [&](HWND dialog) {
            for (int id = IDC_OTHER_LINE_SOLID; id <= IDC_OTHER_LINE_DASH_DOT_DOT; ++id)
                ticked += IsTicked(dialog, id) ? 1 : 0;
            if (c.click) ClickButton(dialog, c.click);
            ClickButton(dialog, IDC_OTHER_CURSOR_GRADIENT);
            PressButton(dialog, IDC_OTHER_SAVE);
        });
        EXPECT_EQ(c.storedType <= 4 ? 1 : 0, ticked);
        EXPECT_EQ(c.savedType, GetGridType());
        EXPECT_EQ(1, GetCursorGround());
    }
    std::string ini = CloseAndReadSettings();
    EXPECT_EQ("4", SettingsValue(ini, "GridType"));
    EXPECT_EQ("1", SettingsValue(ini, "CursorGround"));
}

// The preview: the cursor fill inside an outline in the border colour and the chosen style;
// the colours come from the pickers and are saved with the cursor gradient.
TEST_F(ColourDialogTest, OtherColoursPreviewAndSaveThePickedColours) {
    StoreColours(kStarting);
    SetGridType(0);
    COLORREF corner = CLR_INVALID, inside = CLR_INVALID, gradientTop = CLR_INVALID;
    int dashGaps = 0;
    WithDialog(IDM_OTHER_COLOURS, kOtherTitle, [&](HWND dialog) {
        AnswerColourPicker(dialog, IDC_OTHER_GRID_COLOUR, RGB(255, 0, 255));
        AnswerColourPicker(dialog, IDC_OTHER_CURSOR_COLOUR, RGB(0, 255, 255));
        HDC preview = OtherColourPreviewSurface();
        corner = PixelOnceDrawn(preview, 0, 0, RGB(255, 0, 255));
        inside = PixelOnceDrawn(preview, 25, 25, RGB(0, 255, 255));
        ClickButton(dialog, IDC_OTHER_LINE_DASH);
        // The preview is redrawn by a posted message: wait for the dashed outline.
        for (int tries = 0; tries < 80 && dashGaps == 0; ++tries, Sleep(25))
            for (int x = 0; x < 50; ++x)
                dashGaps += Pixel(preview, x, 0) == RGB(0, 255, 255) ? 1 : 0;
        PressButton(dialog, IDC_OTHER_CURSOR_GRADIENT_PICK);
        HWND gradient = WaitForOwnedDialog(dialog, kGradientTitle);
        if (gradient) {
            AnswerColourPicker(gradient, IDC_GRADIENT_START, RGB(255, 255, 255));
            ClickButton(gradient, IDC_GRADIENT_DOWN);
            PressButton(gradient, IDC_GRADIENT_OK);
            WaitUntilGone(gradient);
        }
        ClickButton(dialog, IDC_OTHER_CURSOR_GRADIENT);
        gradientTop = PixelOnceDrawn(preview, 25, 1,
                                     GradientColourAt(RGB(255, 255, 255), RGB(90, 90, 90), 1, 50));
        PressButton(dialog, IDC_OTHER_SAVE);
    });
    EXPECT_EQ(RGB(255, 0, 255), corner);
    EXPECT_EQ(RGB(0, 255, 255), inside);
    EXPECT_GT(dashGaps, 0) << "a dashed outline shows the fill in its gaps";
    // Row 1, the first inside the outline, is the first step after the start colour.
    EXPECT_EQ(GradientColourAt(RGB(255, 255, 255), RGB(90, 90, 90), 1, 50), gradientTop);
    EXPECT_EQ(RGB(255, 0, 255), GetGridColor());
    EXPECT_EQ(RGB(0, 255, 255), GetCursorColor());
    EXPECT_EQ(RGB(255, 255, 255), GetCursorGColorStart());
    EXPECT_EQ(1, GetCursorGradWay());
    EXPECT_EQ(1, GetGradWay()) << "the background's gradient is left alone";
    std::string ini = CloseAndReadSettings();
    EXPECT_EQ(std::to_string(RGB(255, 0, 255)), SettingsValue(ini, "GridColor"));
    EXPECT_EQ("1", SettingsValue(ini, "CursorGradWay"));
}

} // namespace
