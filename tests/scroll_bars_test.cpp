#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/TextDocument.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/FontInfo.h"
#include "view/ScrollBars.h"

static void Resize(CEditDisplay* v, int width, int height)
{
    SetWindowPos(v->m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

static int LinesPerPage(CEditDisplay* v)
{
    RECT r;
    GetClientRect(v->m_hWnd, &r);
    return (r.bottom - 1) / v->m_nLineHeight;
}

TEST(ScrollBars, TheVerticalRangeCountsLinesBeyondAPage)
{
    ViewHarness h("short");
    CEditDisplay* v = h.View();
    CScrollBars* bars = v->m_pScrollBars;
    EXPECT_EQ(0, bars->GetVertMax()) << "everything fits";
    int page = LinesPerPage(v);
    std::string more = "\r" + NumberedLines(page, "");
    h.m_pDocument->InsertText(more.data(), static_cast<int>(more.size()), 5);
    EXPECT_EQ(1, bars->GetVertMax()) << "one line more than fits";
    EXPECT_EQ(page, static_cast<int>(bars->m_vert.nPage));
    EXPECT_EQ(page, bars->m_vert.nMax);
    bars->VScroll(SB_PAGEDOWN);
    EXPECT_EQ(1, bars->GetVertPos()) << "a page down stops at the maximum";
    EXPECT_EQ(1, bars->SetVertPos(5, 1)) << "a vertical request beyond is clamped";
    bars->VScroll(SB_TOP);
    EXPECT_EQ(0, bars->GetVertPos());
    bars->VScroll(SB_BOTTOM);
    EXPECT_EQ(1, bars->GetVertPos());
}

TEST(ScrollBars, TheHorizontalRangeFollowsTheWidestLine)
{
    ViewHarness h("a much longer line than the others\rshort");
    CEditDisplay* v = h.View();
    CScrollBars* bars = v->m_pScrollBars;
    int widest = h.m_pDocument->GetWidestWidth();
    Resize(v, widest + 13, 200);
    EXPECT_EQ(0, bars->GetHorzMax()) << "12 pixels to spare need no scrolling";
    Resize(v, widest + 12, 200);
    EXPECT_EQ(1, bars->GetHorzMax()) << "one pixel more needs one column";
    EXPECT_EQ(0, bars->SetHorzPos(2, 1)) << "beyond the maximum nothing changes";
    EXPECT_EQ(0, bars->GetHorzPos());
    EXPECT_EQ(1, bars->SetHorzPos(1, 1));

    // Shortening the widest line pulls the position back, shifting the view.
    h.m_pDocument->RemoveText(5, 20);
    EXPECT_EQ(0, bars->GetHorzMax());
    EXPECT_EQ(0, bars->GetHorzPos());
}

TEST(ScrollBars, RemovingLinesAtTheBottomPullsTheTopBack)
{
    ViewHarness h(NumberedLines(100, ""));
    CEditDisplay* v = h.View();
    CScrollBars* bars = v->m_pScrollBars;
    bars->VScroll(SB_BOTTOM);
    int max = bars->GetVertMax();
    EXPECT_EQ(max, bars->GetVertPos());
    std::string text(h.m_pDocument->GetTextAt(0));
    size_t cut = text.find("\r70\r");
    h.m_pDocument->RemoveText(static_cast<int>(cut), static_cast<int>(text.size() - cut));
    EXPECT_EQ(max - 30, bars->GetVertMax());
    EXPECT_EQ(max - 30, bars->GetVertPos());
    EXPECT_EQ(std::to_string(max - 30), std::string(v->m_pTopLine, 2));
}

TEST(ScrollBars, ArrowsAreDisabledAtTheEnds)
{
    ViewHarness h(NumberedLines(100, ""));
    CScrollBars* bars = h.View()->m_pScrollBars;
    SCROLLBARINFO info;
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetScrollBarInfo(bars->GetVertBar(), OBJID_CLIENT, &info));
    EXPECT_TRUE(info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) << "up arrow at the top";
    EXPECT_FALSE(info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) << "down arrow";
    bars->VScroll(SB_LINEDOWN);
    ASSERT_TRUE(GetScrollBarInfo(bars->GetVertBar(), OBJID_CLIENT, &info));
    EXPECT_FALSE(info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE);
    ASSERT_TRUE(GetScrollBarInfo(bars->GetHorzBar(), OBJID_CLIENT, &info));
    EXPECT_TRUE(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) << "nothing to scroll sideways";
}

TEST(ScrollBars, ATinyViewStillHasAPageOfOne)
{
    ViewHarness h(NumberedLines(10, ""));
    CEditDisplay* v = h.View();
    Resize(v, 3, 3);
    EXPECT_EQ(1u, v->m_pScrollBars->m_vert.nPage);
    EXPECT_EQ(1u, v->m_pScrollBars->m_horz.nPage);
    EXPECT_EQ(9, v->m_pScrollBars->GetVertMax());
}

TEST(ScrollBars, AFontWithoutMetricsDividesByNothing)
{
    ViewHarness h(NumberedLines(3, ""));
    CFontInfo* font = h.m_pDocument->GetFontInfo();
    font->m_tm.tmHeight = 0;
    font->m_tm.tmAveCharWidth = 0;
    CEditDisplay* v = h.AddView();
    EXPECT_EQ(1, v->m_nLineHeight);
    EXPECT_EQ(1, v->m_nCharWidth);
    v->m_pScrollBars->Recalculate();
    EXPECT_TRUE(v->MoveCaret(h.m_pDocument->GetTextLength()));
    ViewPicture picture(v);
    EXPECT_GT(picture.m_nWidth, 0);
}

// The bar's pixels as they are on the screen now.
static std::vector<DWORD> BarPixels(HWND bar)
{
    RECT r;
    GetClientRect(bar, &r);
    ViewPicture shot(r.right, r.bottom, [bar, &r](HDC dc) {
        HDC screen = GetDC(bar);
        BitBlt(dc, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
        ReleaseDC(bar, screen);
    });
    return shot.m_pixels;
}

// A bar drawn only when its look changes must still look as one drawn afresh.
static void ExpectDrawnAsNew(HWND bar, const char* after)
{
    std::vector<DWORD> shown = BarPixels(bar);
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(shown == BarPixels(bar)) << after;
}

// The focused view's horizontal bar, drawn, with the caret at the end of the text.
static HWND CaretAtTheEnd(ViewHarness& h)
{
    CEditDisplay* v = h.View();
    SetFocus(v->m_hWnd);
    EXPECT_TRUE(v->HasFocus());
    v->MoveCaret(h.m_pDocument->GetTextLength());
    HWND bar = v->m_pScrollBars->GetHorzBar();
    UpdateWindow(GetParent(bar));
    return bar;
}

TEST(ScrollBars, TypingAtTheEndOfTheWidestLineKeepsTheBarAtItsEnd)
{
    ViewHarness h(std::string(20, 'w'));
    CEditDisplay* v = h.View();
    CScrollBars* bars = v->m_pScrollBars;
    HWND bar = CaretAtTheEnd(h);
    SCROLLBARINFO info;
    info.cbSize = sizeof(info);
    // From nothing to scroll, over the first columns, then along a range one column each.
    for (int i = 0; i < 60; i++) {
        SendMessageA(v->m_hWnd, WM_CHAR, 'w', 1);
        ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
        int max = bars->GetHorzMax();
        EXPECT_EQ(max, bars->GetHorzPos()) << i;
        EXPECT_EQ(max > 0, !!IsWindowEnabled(bar)) << i;
        EXPECT_EQ(max > 0, !(info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE)) << i;
        EXPECT_TRUE(info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) << i;
        if (i % 20 == 19)
            ExpectDrawnAsNew(bar, "typing");
    }
    ASSERT_GT(bars->GetHorzMax(), 2);
    SendMessageA(v->m_hWnd, WM_CHAR, 8, 1);
    EXPECT_EQ(bars->GetHorzMax(), bars->GetHorzPos());
    ExpectDrawnAsNew(bar, "a backspace");
    bars->HScroll(SB_LINEUP);
    bars->HScroll(SB_LINEUP);
    ExpectDrawnAsNew(bar, "a thumb moved between the ends");
    bars->HScroll(SB_TOP);
    ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
    EXPECT_TRUE(info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_FALSE(info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
    ExpectDrawnAsNew(bar, "scrolling to the left end");
}

// Typing at the end of a wide line gives the bar a new range that seldom moves its thumb:
// nothing new to draw, but a paint the bar was waiting for must still happen.
TEST(ScrollBars, ANewRangeKeepsAPaintTheBarWasWaitingFor)
{
    ViewHarness h(std::string(5000, 'w'));
    HWND bar = CaretAtTheEnd(h);
    RECT r;
    GetClientRect(bar, &r);
    for (int i = 0; i < 10; i++) {
        HDC dc = GetDC(bar);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(bar, dc);
        InvalidateRect(bar, nullptr, TRUE);
        SendMessageA(h.View()->m_hWnd, WM_CHAR, 'w', 1);
        UpdateWindow(bar);
        ExpectDrawnAsNew(bar, "a paint that was waiting");
    }
}
