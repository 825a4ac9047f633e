#include "view/ScrollBars.h"

#include <string.h>

#include "base/ErrorBox.h"
#include "document/TextDocument.h"
#include "view/EditDisplay.h"
#include "view/ViewHost.h"

static HWND CreateBar(HWND parent, HINSTANCE instance, DWORD style, int id, const RECT& r)
{
    return CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

CScrollBars::CScrollBars(CEditDisplay* view, CDocFrame* frame)
    : m_pView(view), m_pFrame(frame), m_hVertBar(nullptr), m_hHorzBar(nullptr),
      m_hSizeBox(nullptr), m_nVertMax(0), m_nHorzMax(0), m_nHeld(0)
{
    memset(&m_vert, 0, sizeof(m_vert));
    memset(&m_horz, 0, sizeof(m_horz));
    memset(&m_horzLook, 0, sizeof(m_horzLook));
    memset(&m_vertLook, 0, sizeof(m_vertLook));
    ReadMetrics();

    HWND parent = FrameWindow(frame);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    // The controls draw themselves at once for each new range and arrow state, whatever
    // the caller asks: they start empty, where that costs nothing, take their first state
    // there, and are drawn once when the layout places them.
    const RECT empty = {0, 0, 0, 0};
    HWND vert = CreateBar(parent, instance, SBS_VERT, IDC_VERT_SCROLL, empty);
    HWND horz = vert ? CreateBar(parent, instance, SBS_HORZ, IDC_HORZ_SCROLL, empty) : nullptr;
    HWND box = horz ? CreateBar(parent, instance, SBS_SIZEBOX, IDC_SIZE_BOX, empty) : nullptr;
    if (!box) {
        ShowLastError(view->m_hWnd, "Scroll bar creation failure");
        if (horz)
            DestroyWindow(horz);
        if (vert)
            DestroyWindow(vert);
        return;
    }
    m_hVertBar = vert;
    m_hHorzBar = horz;
    m_hSizeBox = box;

    m_vert.cbSize = m_horz.cbSize = sizeof(SCROLLINFO);
    m_vert.fMask = m_horz.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    m_vert.nPos = m_horz.nPos = 0;
    Recalculate();
    Layout();
}

// The controls are children of the frame and go with its window.
CScrollBars::~CScrollBars()
{
}

void CScrollBars::ReadMetrics()
{
    m_cxVScroll = static_cast<short>(GetSystemMetrics(SM_CXVSCROLL));
    m_cyVArrow = static_cast<short>(GetSystemMetrics(SM_CYVSCROLL));
    m_cxHArrow = static_cast<short>(GetSystemMetrics(SM_CXHSCROLL));
    m_cyHScroll = static_cast<short>(GetSystemMetrics(SM_CYHSCROLL));
}

void CScrollBars::Layout()
{
    ReadMetrics();
    RECT r = ViewArea(m_pFrame);
    SetWindowPos(m_hVertBar, nullptr, r.right, r.top, m_cxVScroll, r.bottom - r.top, SWP_NOZORDER);
    SetWindowPos(m_hHorzBar, nullptr, r.left, r.bottom, r.right - r.left, m_cyHScroll, SWP_NOZORDER);
    SetWindowPos(m_hSizeBox, nullptr, r.right, r.bottom, m_cxVScroll, m_cyHScroll, SWP_NOZORDER);
    Recalculate();
}

static UINT ArrowRule(int pos, int max)
{
    if (max == 0)
        return ESB_DISABLE_BOTH;
    if (pos == 0)
        return ESB_DISABLE_LTUP;
    if (pos == max)
        return ESB_DISABLE_RTDN;
    return ESB_ENABLE_BOTH;
}

// Makes a change to the bar without letting the bar draw it; whoever calls decides what
// is drawn. A bar already waiting for its paint is left to draw: hiding it now would
// throw that paint away.
template <class Change> static BOOL Quietly(HWND bar, Change change)
{
    if (GetUpdateRect(bar, nullptr, FALSE))
        return change();
    SendMessageA(bar, WM_SETREDRAW, FALSE, 0);
    BOOL done = change();
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    return done;
}

// Notes what the bar shows before its first change since it was last drawn, then gives
// it the change without drawing it. A new range resets the arrows, and the control
// draws itself whole for that whenever one of them was off.
void CScrollBars::SetBar(HWND bar, Look* look, const SCROLLINFO& info)
{
    if (!look->pending) {
        look->pending = 1;
        look->info.cbSize = sizeof(look->info);
        look->known = GetScrollBarInfo(bar, OBJID_CLIENT, &look->info);
    }
    auto set = [bar, &info] { return static_cast<BOOL>(SetScrollInfo(bar, SB_CTL, &info, FALSE)); };
    if (info.fMask & SIF_RANGE)
        Quietly(bar, set);
    else
        set();
}

// The arrows a bar's state shows, in the terms of EnableScrollBar.
static UINT ShownArrows(const SCROLLBARINFO& info)
{
    UINT shown = ESB_ENABLE_BOTH;
    if (info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE)
        shown |= ESB_DISABLE_LTUP;
    if (info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE)
        shown |= ESB_DISABLE_RTDN;
    return shown;
}

static int SameLook(const SCROLLBARINFO& a, const SCROLLBARINFO& b)
{
    return a.xyThumbTop == b.xyThumbTop && a.xyThumbBottom == b.xyThumbBottom &&
           ShownArrows(a) == ShownArrows(b);
}

// Each drawing of a bar costs milliseconds, and on a wide range a step of one unit seldom
// moves the thumb by a pixel: a changed bar gets its arrows (both off when there is
// nothing to scroll, else the one at an end) and is drawn once, only when its thumb or
// its arrows look different from before the change.
void CScrollBars::Show(HWND bar, Look* look, int pos, int max)
{
    if (m_nHeld || !look->pending)
        return;
    look->pending = 0;
    // Without the drawing the control is not enabled again by the new range: a disabled
    // bar takes no focus.
    BOOL enable = max > 0;
    if (!IsWindowEnabled(bar) != !enable)
        EnableWindow(bar, enable);
    SCROLLBARINFO after;
    after.cbSize = sizeof(after);
    int known = look->known && GetScrollBarInfo(bar, OBJID_CLIENT, &after);
    UINT arrows = ArrowRule(pos, max);
    if (!known || ShownArrows(after) != arrows) {
        // A new range gives the bar both arrows again without drawing them. Giving it
        // back arrows the screen still shows needs no drawing, which would cost as much
        // as drawing the whole bar; other arrows are drawn, with the whole bar.
        int drawn = known && ShownArrows(look->info) == arrows;
        auto enable = [bar, arrows] { return EnableScrollBar(bar, SB_CTL, arrows); };
        BOOL changed = drawn ? Quietly(bar, enable) : enable();
        if (changed && !drawn)
            return;
        if (changed)
            known = GetScrollBarInfo(bar, OBJID_CLIENT, &after);
    }
    if (!known || !SameLook(look->info, after))
        RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CScrollBars::Hold()
{
    m_nHeld++;
}

void CScrollBars::Release()
{
    if (m_nHeld > 0 && --m_nHeld == 0) {
        Show(m_hHorzBar, &m_horzLook, m_horz.nPos, m_nHorzMax);
        Show(m_hVertBar, &m_vertLook, m_vert.nPos, m_nVertMax);
    }
}

void CScrollBars::ChangeBar(HWND bar, Look* look, const SCROLLINFO& info, int max)
{
    SetBar(bar, look, info);
    Show(bar, look, info.nPos, max);
}

// The position alone leaves the range and page as they were.
void CScrollBars::MovePosition(HWND bar, Look* look, int pos, int max)
{
    SCROLLINFO info;
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    info.nPos = pos;
    ChangeBar(bar, look, info, max);
}

static int SameBar(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

void CScrollBars::Recalculate()
{
    const SCROLLINFO horz = m_horz, vert = m_vert;
    RECT client = {0, 0, 0, 0};
    if (m_pView->m_hWnd)
        GetClientRect(m_pView->m_hWnd, &client);
    int width = client.right - client.left - 1;
    int height = client.bottom - client.top - 1;
    CTextDocument* doc = m_pView->m_pDocument;
    int lines = doc->GetLineCount();
    int lineHeight = m_pView->GetLineHeight();
    int charWidth = m_pView->GetCharWidth();

    // The document keeps its widest line's width current with every edit: no re-measuring.
    int content = doc->GetWidestWidth() + 12;
    int excess = content > width ? content - width : 0;
    int columnsPerPage = width / charWidth > 1 ? width / charWidth : 1;
    int linesPerPage = height / lineHeight > 1 ? height / lineHeight : 1;
    m_nHorzMax = excess ? (excess + charWidth - 1) / charWidth : 0;
    m_nVertMax = lines > linesPerPage ? lines - linesPerPage : 0;

    int columns = 0, rows = 0;
    if (m_horz.nPos > m_nHorzMax) {
        columns = m_nHorzMax - m_horz.nPos;
        m_horz.nPos = m_nHorzMax;
    }
    if (m_vert.nPos > m_nVertMax) {
        rows = m_nVertMax - m_vert.nPos;
        m_vert.nPos = m_nVertMax;
    }
    m_horz.nMin = 0;
    m_horz.nMax = columnsPerPage + m_nHorzMax - 1;
    m_horz.nPage = columnsPerPage;
    m_vert.nMin = 0;
    m_vert.nMax = lines - 1;
    m_vert.nPage = linesPerPage;
    // Most edits change neither bar; redrawing the controls for nothing costs milliseconds.
    if (!SameBar(horz, m_horz))
        ChangeBar(m_hHorzBar, &m_horzLook, m_horz, m_nHorzMax);
    if (!SameBar(vert, m_vert))
        ChangeBar(m_hVertBar, &m_vertLook, m_vert, m_nVertMax);
    if (columns || rows)
        m_pView->ScrollBy(columns, rows);
}

// The position a scroll code asks for, or the current one when it asks for nothing.
int CScrollBars::NewPosition(int code, HWND bar, const SCROLLINFO& info, int max) const
{
    int pos = info.nPos;
    int page = static_cast<int>(info.nPage);
    switch (code) {
    case SB_LINEUP:
        return pos > 0 ? pos - 1 : pos;
    case SB_LINEDOWN:
        return pos < max ? pos + 1 : pos;
    case SB_PAGEUP:
        return pos - page > 0 ? pos - page : 0;
    case SB_PAGEDOWN:
        return pos + page < max ? pos + page : max;
    case SB_THUMBTRACK: {
        SCROLLINFO track;
        memset(&track, 0, sizeof(track));
        track.cbSize = sizeof(track);
        track.fMask = SIF_TRACKPOS;
        if (!GetScrollInfo(bar, SB_CTL, &track))
            return pos;
        return track.nTrackPos;
    }
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return max;
    default:
        return pos;
    }
}

void CScrollBars::VScroll(int code)
{
    int pos = NewPosition(code, m_hVertBar, m_vert, m_nVertMax);
    if (pos != m_vert.nPos)
        SetVertPos(pos, 1);
}

void CScrollBars::HScroll(int code)
{
    int pos = NewPosition(code, m_hHorzBar, m_horz, m_nHorzMax);
    if (pos != m_horz.nPos)
        SetHorzPos(pos, 1);
}

int CScrollBars::SetVertPos(int pos, int notify)
{
    if (pos == m_vert.nPos)
        return 0;
    if (pos < 0)
        pos = 0;
    if (pos > m_nVertMax)
        pos = m_nVertMax;
    int old = m_vert.nPos;
    m_vert.nPos = pos;
    MovePosition(m_hVertBar, &m_vertLook, pos, m_nVertMax);
    if (notify)
        m_pView->ScrollBy(0, pos - old);
    return pos;
}

int CScrollBars::SetHorzPos(int pos, int notify)
{
    if (pos < 0 || pos > m_nHorzMax || pos == m_horz.nPos)
        return 0;
    int old = m_horz.nPos;
    m_horz.nPos = pos;
    MovePosition(m_hHorzBar, &m_horzLook, pos, m_nHorzMax);
    if (notify)
        m_pView->ScrollBy(pos - old, 0);
    return pos;
}
