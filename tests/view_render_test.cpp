#include <gtest/gtest.h>

#include <string>

#include "app/DocFrame.h"
#include "document/TextDocument.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/FontInfo.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"

static const COLORREF NAVY = RGB(0, 0, 128);

TEST(Rendering, TextStartsTenPixelsFromTheLeftEdge)
{
    ViewHarness h("HHHH\rHHHH");
    CEditDisplay* v = h.View();
    ViewPicture picture(v);
    int lh = v->m_nLineHeight;
    int ink = picture.FirstInk(0, lh);
    EXPECT_GE(ink, 10);
    EXPECT_LE(ink, 12);
    EXPECT_EQ(ink, picture.FirstInk(lh, 2 * lh)) << "every line starts at the margin";
    EXPECT_EQ(-1, picture.FirstInk(2 * lh, picture.m_nHeight)) << "nothing below the text";
}

TEST(Rendering, ATabLeavesABlankOfTheTabWidth)
{
    ViewHarness h("H\r\tH\rH\tH");
    CEditDisplay* v = h.View();
    ViewPicture picture(v);
    int lh = v->m_nLineHeight;
    int tab = v->GetFontInfo()->TabUnit();
    int plain = picture.FirstInk(0, lh);
    EXPECT_EQ(plain + tab, picture.FirstInk(lh, 2 * lh));
    // After one character the tab runs on to the next stop.
    int first = picture.FirstInk(2 * lh, 3 * lh);
    int second = picture.FirstInk(2 * lh, 3 * lh, plain + v->GetFontInfo()->m_pWidths['H']);
    EXPECT_EQ(plain + tab, second);
    EXPECT_EQ(plain, first);
}

TEST(Rendering, TheSelectionShowsOnlyWhileTheViewHasTheFocus)
{
    ViewHarness h("Hello world\rsecond line");
    CEditDisplay* v = h.View();
    SendMessageA(v->m_hWnd, WM_COMMAND, 40033, 0);
    EXPECT_GT(ViewPicture(v).Count(NAVY), 0);
    EXPECT_GT(ViewPicture(v).Count(RGB(255, 255, 255)), 0);

    SetFocus(h.m_hToolbar);
    EXPECT_EQ(0, ViewPicture(v).Count(NAVY)) << "redrawn without the highlight";
    v->ShowSelectionUnfocused();
    EXPECT_GT(ViewPicture(v).Count(NAVY), 0) << "unless find asked for it";
    SetFocus(v->m_hWnd);
    EXPECT_EQ(0, v->m_bPaintSelectionUnfocused);
}

TEST(Rendering, TheRegionCoversOneRectanglePerSelectedLine)
{
    ViewHarness h("abcdef\rghijkl\rmnopqr\rstu");
    CEditDisplay* v = h.View();
    int lh = v->m_nLineHeight, w = v->m_nCharWidth;
    v->m_pSelection->Extend(3);
    v->m_pSelection->Extend(17);
    int s, L;
    HRGN region = v->m_pSelection->BuildRegion(&s, &L);
    ASSERT_TRUE(region);
    EXPECT_EQ(3, s);
    EXPECT_EQ(14, L);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ(10, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(3 * lh, box.bottom);
    POINT end;
    v->PointFromIndex(17, &end);
    EXPECT_TRUE(PtInRegion(region, end.x - 1, 2 * lh + 1)) << "the last line up to the end";
    EXPECT_FALSE(PtInRegion(region, end.x + 1, 2 * lh + 1));
    POINT lineEnd;
    v->PointFromIndex(13, &lineEnd);
    EXPECT_TRUE(PtInRegion(region, lineEnd.x + w - 1, lh + 1)) << "a selected break adds a char";
    EXPECT_FALSE(PtInRegion(region, lineEnd.x + w + 1, lh + 1));
    DeleteObject(region);

    // Scrolled below the selection there is nothing to build or hit.
    v->m_pSelection->Clear();
    v->m_pSelection->Extend(0);
    v->m_pSelection->Extend(2);
    SetWindowPos(v->m_hWnd, nullptr, 0, 0, 200, lh, SWP_NOMOVE | SWP_NOZORDER);
    v->m_pScrollBars->SetVertPos(2, 1);
    EXPECT_EQ(nullptr, v->m_pSelection->BuildRegion(&s, &L));
    POINT origin = {11, 1};
    EXPECT_EQ(0, v->m_pSelection->HitTest(origin));
}

TEST(Rendering, ScrollingShiftsThePicture)
{
    std::string text;
    for (int i = 0; i < 40; i++)
        text += std::string("Line ") + std::to_string(i) + " " + std::string(80, 'W' - i % 3) + "\r";
    ViewHarness h(text);
    CEditDisplay* v = h.View();
    int lh = v->m_nLineHeight, cw = v->m_nCharWidth;
    ViewPicture before(v);
    ASSERT_GT(v->m_pScrollBars->GetHorzMax(), 3);
    v->m_pScrollBars->SetHorzPos(3, 1);
    ViewPicture right(v);
    int differ = 0;
    for (int y = 0; y < before.m_nHeight; y++)
        for (int x = 0; x + 3 * cw < before.m_nWidth; x++)
            differ += right.At(x, y) != before.At(x + 3 * cw, y);
    EXPECT_EQ(0, differ) << "columns move left by three average widths";

    v->m_pScrollBars->SetHorzPos(0, 1);
    v->m_pScrollBars->SetVertPos(2, 1);
    ViewPicture down(v);
    differ = 0;
    for (int y = 0; y + 2 * lh < before.m_nHeight; y++)
        for (int x = 0; x < before.m_nWidth; x++)
            differ += down.At(x, y) != before.At(x, y + 2 * lh);
    EXPECT_EQ(0, differ) << "lines move up by two line heights";
}

TEST(Rendering, AVeryLongLineShowsTheSamePictureFarToTheRight)
{
    // The pattern repeats every tab stop, so a scroll by whole tab units far along the
    // line must show exactly what the start of the line shows.
    std::string line;
    while (line.size() < 1000000)
        line += "ab\t";
    ViewHarness h(line);
    CEditDisplay* v = h.View();
    ViewPicture start(v);
    int columnsPerTab = v->GetFontInfo()->TabUnit() / v->m_nCharWidth;
    int distant = v->m_pScrollBars->GetHorzMax() / 2 / columnsPerTab * columnsPerTab;
    ASSERT_GT(distant, 100000);
    ASSERT_TRUE(v->m_pScrollBars->SetHorzPos(distant, 1));
    ViewPicture there(v);
    int differ = 0, ink = 0;
    for (int y = 0; y < start.m_nHeight; y++) {
        for (int x = 10; x < start.m_nWidth; x++) {
            differ += there.At(x, y) != start.At(x, y);
            ink += start.At(x, y) != RGB(255, 255, 255);
        }
    }
    EXPECT_GT(ink, 0);
    EXPECT_EQ(0, differ);
}

TEST(Rendering, ANewPictureIsDrawnOnlyAfterAChange)
{
    ViewHarness h("abc");
    CEditDisplay* v = h.View();
    ViewPicture first(v);
    EXPECT_EQ(0, v->m_bDirty);
    SendMessageA(v->m_hWnd, WM_ERASEBKGND, 0, 0);
    EXPECT_EQ(0, v->m_bDirty);
    h.m_pDocument->InsertText("x", 1, 0);
    EXPECT_EQ(0, v->m_bDirty) << "the edited line alone is drawn again";
    EXPECT_EQ(0, v->m_rcStale.top);
    EXPECT_EQ(v->m_nLineHeight, v->m_rcStale.bottom);
}

TEST(Rendering, SizingMakesOneBitmapAsLargeAsTheDragCanReach)
{
    ViewHarness h("abc");
    CEditDisplay* v = h.View();
    SendMessageA(v->m_hWnd, WM_SIZING, WMSZ_BOTTOMRIGHT, 0);
    EXPECT_EQ(1, v->m_bSizing);
    // The drag can reach the edges of the MDI client the frame lives in.
    RECT frame, mdi;
    GetClientRect(h.Frame()->m_hWnd, &frame);
    MapWindowPoints(h.Frame()->m_hWnd, nullptr, reinterpret_cast<POINT*>(&frame), 2);
    HWND area = GetParent(h.Frame()->m_hWnd);
    GetClientRect(area, &mdi);
    MapWindowPoints(area, nullptr, reinterpret_cast<POINT*>(&mdi), 2);
    EXPECT_EQ(mdi.right - frame.left, v->m_nBitmapWidth);
    EXPECT_EQ(mdi.bottom - frame.top, v->m_nBitmapHeight);
    HBITMAP during = v->m_hBitmap;
    SendMessageA(v->m_hWnd, WM_SIZING, WMSZ_BOTTOMRIGHT, 0);
    EXPECT_EQ(during, v->m_hBitmap) << "made once per resize";
    SetWindowPos(h.Frame()->m_hWnd, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(during, v->m_hBitmap);
    SendMessageA(v->m_hWnd, WM_EXITSIZEMOVE, 0, 0);
    RECT client;
    GetClientRect(v->m_hWnd, &client);
    EXPECT_EQ(0, v->m_bSizing);
    EXPECT_EQ(client.right, v->m_nBitmapWidth);
    EXPECT_EQ(client.bottom, v->m_nBitmapHeight);
}

TEST(Rendering, ANewFontGivesEveryViewItsLineHeightAndCaret)
{
    ViewHarness h("first\rsecond");
    CEditDisplay* v = h.View();
    v->MoveCaret(8);
    HDC screen = GetDC(nullptr);
    HFONT big = CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    h.m_pDocument->GetFontInfo()->SetFont(big, screen, RGB(0, 0, 0));
    ReleaseDC(nullptr, screen);
    h.m_pDocument->RemeasureAllLines();
    int height = h.m_pDocument->GetFontInfo()->TextMetrics().tmHeight;
    ASSERT_GT(height, 30);
    EXPECT_EQ(height, v->m_nLineHeight);
    EXPECT_EQ(height, v->m_ptCaret.y) << "the caret stays on the second line";
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_EQ(v->m_ptCaret.x, caret.x);
    ViewPicture picture(v);
    EXPECT_NE(-1, picture.FirstInk(height, 2 * height)) << "the second line is drawn lower";
}
