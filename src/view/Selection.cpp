#include "view/Selection.h"

#include <stdlib.h>

#include "document/LineSteps.h"
#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "view/EditDisplay.h"
#include "view/FontInfo.h"
#include "view/LineDrawing.h"
#include "view/SelectionState.h"

CSelection::CSelection(CEditDisplay* view) : m_pView(view)
{
    m_ptAnchor.x = m_ptAnchor.y = 0;
    m_nLength = 0;
    m_nAnchor = m_nExtent = -1;
    m_bFresh = 1;
}

CSelection::~CSelection()
{
}

void CSelection::Clear()
{
    m_ptAnchor.x = m_ptAnchor.y = 0;
    m_nLength = 0;
    m_nAnchor = m_nExtent = -1;
    m_bFresh = 1;
    m_pView->OnSelectionChanged();
}

void CSelection::Extend(int index)
{
    if (index == m_nExtent)
        return;
    if (m_bFresh) {
        m_bFresh = 0;
        m_nAnchor = m_nExtent = index;
        m_nLength = 0;
        m_pView->PointFromIndex(index, &m_ptAnchor);
        return;
    }
    m_nExtent = index;
    m_nLength = index > m_nAnchor ? index - m_nAnchor : m_nAnchor - index;
    m_pView->OnSelectionChanged();
}

void CSelection::AnchorAt(int index)
{
    if (m_nLength != 0)
        return;
    m_bFresh = 1;
    m_nExtent = -1;
    Extend(index);
}

void CSelection::SaveState(CSelectionState* state) const
{
    state->m_nAnchorX = m_ptAnchor.x;
    state->m_nAnchorY = m_ptAnchor.y;
    state->m_nLength = m_nLength;
    state->m_nStart = Start();
    state->m_nEnd = End();
}

void CSelection::ClampTo(int length)
{
    if (m_bFresh)
        return;
    if (m_nAnchor > length)
        m_nAnchor = length;
    if (m_nExtent > length)
        m_nExtent = length;
    m_nLength = End() - Start();
}

HGLOBAL CSelection::ClipboardText(int* length) const
{
    // A length of 0 would make the conversion take the text up to its end.
    if (IsEmpty())
        return nullptr;
    int count = m_nLength;
    HGLOBAL block = CTextDocument::ToFileText(m_pView->m_pDocument->GetTextAt(Start()), &count);
    if (block && length)
        *length = count;
    return block;
}

int CSelection::VisibleRange(int* start, int* length) const
{
    const CEditDisplay* v = m_pView;
    RECT client = {0, 0, 0, 0};
    GetClientRect(v->m_hWnd, &client);
    int h = v->m_nLineHeight;
    int visible = (client.bottom + h - 1) / h;
    if (visible > v->m_pDocument->GetLineCount())
        visible = v->m_pDocument->GetLineCount();
    int t = v->m_nTopIndex;
    int lineLength, below = t;
    MoveByLines(visible, &lineLength, &below, v->m_pTopLine);
    int d = below - t;
    int a = Start(), b = End();
    if (a < t) {
        if (b <= t)
            return 0;
        *start = t;
        *length = b - t < d ? b - t : d;
        return 1;
    }
    if (a <= t + d - 1) {
        *start = a;
        *length = (b < t + d ? b : t + d) - a;
        return 1;
    }
    return 0;
}

// The region point of an index at or below the top line.
POINT CSelection::RegionPoint(int index) const
{
    const CEditDisplay* v = m_pView;
    const CFontInfo* font = v->GetFontInfo();
    const char* text = v->m_pDocument->GetTextAt(0);
    POINT pt = {VIEW_LEFT_MARGIN, 0};
    pt.y = (CountLines(v->m_pTopLine, index - v->m_nTopIndex) - 1) * v->m_nLineHeight;
    int lineLength, start = index;
    const char* line = MoveByLines(0, &lineLength, &start, text + index);
    if (index == v->m_nTopIndex || start != index) {
        pt.x += LineOverhang(font, line, lineLength);
        pt.x += v->m_pDocument->GetLineSteps()->SumTo(line, lineLength, index - start);
    }
    return pt;
}

// Calls f(line, line length, offset, count, more) for each line of the range [s, s + L):
// the count selected bytes from offset on, more when the range goes on past this line.
template <class F> void CSelection::WalkLines(int s, int L, F f) const
{
    const char* text = m_pView->m_pDocument->GetTextAt(0);
    int pos = s, done = 0;
    while (done < L) {
        int lineLength, lineStart = pos;
        const char* line = MoveByLines(0, &lineLength, &lineStart, text + pos);
        int o = pos - lineStart;
        int rest = lineLength - o;
        int n = L - done < rest ? L - done : rest;
        f(line, lineLength, o, n, done + n < L);
        pos += rest + 1;
        done += n + 1;
    }
}

HRGN CSelection::BuildRegion(int* start, int* length) const
{
    int s = 0, L = 0;
    *start = *length = 0;
    if (IsEmpty() || !VisibleRange(&s, &L))
        return nullptr;
    const CEditDisplay* v = m_pView;
    const CFontInfo* font = v->GetFontInfo();
    const char* text = v->m_pDocument->GetTextAt(0);
    CLineSteps* steps = v->m_pDocument->GetLineSteps();
    int h = v->m_nLineHeight, w = v->m_nCharWidth;
    POINT p = RegionPoint(s);
    if (IsLineStart(text + s))
        p.x = VIEW_LEFT_MARGIN;

    HRGN result = CreateRectRgn(0, 0, 0, 0);
    if (!result)
        return nullptr;
    WalkLines(s, L, [&](const char* line, int lineLength, int o, int n, int more) {
        int width = w;
        if (n > 0) {
            width = steps->SumTo(line, lineLength, o + n) - steps->SumTo(line, lineLength, o) +
                    (more ? w : 0);
        } else {
            o = 0;
        }
        if (o == 0)
            width += LineOverhang(font, line, lineLength);
        HRGN box = CreateRectRgn(p.x, p.y, p.x + width, p.y + h);
        if (box) {
            CombineRgn(result, result, box, RGN_OR);
            DeleteObject(box);
        }
        p.x = VIEW_LEFT_MARGIN;
        p.y += h;
    });
    *start = s;
    *length = L;
    return result;
}

void CSelection::Paint(HDC dc, HRGN region, int s, int L) const
{
    const CEditDisplay* v = m_pView;
    const CFontInfo* font = v->GetFontInfo();
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 128));
    if (brush) {
        int rop = SetROP2(dc, R2_COPYPEN);
        FillRgn(dc, region, brush);
        SetROP2(dc, rop);
    }
    COLORREF colour = SetTextColor(dc, RGB(255, 255, 255));
    int mode = SetBkMode(dc, TRANSPARENT);

    // The picture's horizontal extent in region coordinates, for clipping long lines.
    POINT origin;
    GetWindowOrgEx(dc, &origin);
    int left = origin.x, right = origin.x + v->m_nBitmapWidth;
    if (!v->m_hBitmap) {
        RECT client;
        GetClientRect(v->m_hWnd, &client);
        right = origin.x + client.right;
    }

    int y = RegionPoint(s).y;
    WalkLines(s, L, [&](const char* line, int lineLength, int o, int n, int) {
        if (n > 0) {
            int x0 = VIEW_LEFT_MARGIN + LineOverhang(font, line, lineLength);
            DrawLineSpan(dc, font, v->m_pDocument->GetLineSteps(), line, lineLength, o, n, x0,
                         y, left, right);
        }
        y += v->m_nLineHeight;
    });
    SetTextColor(dc, colour);
    SetBkMode(dc, mode);
    if (brush)
        DeleteObject(brush);
}

int CSelection::HitTest(POINT client) const
{
    int s, L;
    HRGN region = BuildRegion(&s, &L);
    if (!region)
        return 0;
    int hit = PtInRegion(region, client.x + m_pView->GetHorzPos() * m_pView->m_nCharWidth,
                         client.y);
    DeleteObject(region);
    return hit ? 1 : 0;
}
