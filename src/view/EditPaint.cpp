#include <initializer_list>
#include <stdlib.h>

#include "base/ErrorBox.h"
#include "document/LineSteps.h"
#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "view/EditDisplay.h"
#include "view/FontInfo.h"
#include "view/LineDrawing.h"
#include "view/Selection.h"

void CEditDisplay::InvalidateView()
{
    m_bDirty = 1;
    ForgetStaleParts();
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CEditDisplay::ForgetStaleParts()
{
    SetRectEmpty(&m_rcStale);
    SetRectEmpty(&m_rcExposed);
}

void CEditDisplay::InvalidatePart(const RECT& part)
{
    if (m_bDirty)
        return;
    UnionRect(&m_rcStale, &m_rcStale, &part);
    if (m_hWnd)
        InvalidateRect(m_hWnd, &part, TRUE);
}

void CEditDisplay::InvalidateRowsFrom(int row, int last)
{
    if (last < row)
        return;
    RECT rows = {0, row * m_nLineHeight, m_nBitmapWidth, (last + 1) * m_nLineHeight};
    InvalidatePart(rows);
}

// The rest of the picture moves along with a sideways scroll of fewer columns than the
// view is wide; the columns that come into view are drawn, as is a part still stale.
void CEditDisplay::ShiftPicture(int dx)
{
    if (m_bDirty || !m_hBitmap || dx == 0 || dx >= m_nBitmapWidth || -dx >= m_nBitmapWidth) {
        InvalidateView();
        return;
    }
    int saved = SaveDC(m_hMemDC);
    SelectObject(m_hMemDC, m_hBitmap);
    if (dx > 0)
        BitBlt(m_hMemDC, 0, 0, m_nBitmapWidth - dx, m_nBitmapHeight, m_hMemDC, dx, 0, SRCCOPY);
    else
        BitBlt(m_hMemDC, -dx, 0, m_nBitmapWidth + dx, m_nBitmapHeight, m_hMemDC, 0, 0, SRCCOPY);
    RestoreDC(m_hMemDC, saved);
    RECT all = {0, 0, m_nBitmapWidth, m_nBitmapHeight};
    for (RECT* part : {&m_rcStale, &m_rcExposed}) {
        OffsetRect(part, -dx, 0);
        IntersectRect(part, part, &all);
    }
    RECT exposed = all;
    if (dx > 0)
        exposed.left = m_nBitmapWidth - dx;
    else
        exposed.right = -dx;
    UnionRect(&m_rcExposed, &m_rcExposed, &exposed);
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CEditDisplay::SetupDC(HDC dc, OriginMode mode) const
{
    SetMapMode(dc, MM_TEXT);
    SelectObject(dc, GetFontInfo()->GetFont());
    SetTextColor(dc, GetTextColour());
    int x = GetHorzPos() * m_nCharWidth, y = GetVertPos() * m_nLineHeight;
    if (mode == ORIGIN_HORIZONTAL)
        y = 0;
    else if (mode == ORIGIN_VERTICAL)
        x = 0;
    SetWindowOrgEx(dc, x, y, nullptr);
}

// Copies the picture to target, redrawing it first when it is stale. Without an
// off-screen bitmap (its creation failed) the picture is drawn straight into target.
void CEditDisplay::PaintInto(HDC target)
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (!m_hBitmap) {
        int saved = SaveDC(target);
        DrawPicture(target, client.right, client.bottom);
        RestoreDC(target, saved);
        return;
    }
    int saved = SaveDC(m_hMemDC);
    SelectObject(m_hMemDC, m_hBitmap);
    if (m_bDirty) {
        DrawPicture(m_hMemDC, m_nBitmapWidth, m_nBitmapHeight);
        m_bDirty = 0;
    } else {
        // Where the two overlap, the second drawing gives the same pixels as the first.
        for (const RECT* part : {&m_rcStale, &m_rcExposed})
            if (!IsRectEmpty(part))
                DrawPart(m_hMemDC, *part, m_nBitmapHeight);
    }
    ForgetStaleParts();
    BitBlt(target, 0, 0, client.right, client.bottom, m_hMemDC, 0, 0, SRCCOPY);
    RestoreDC(m_hMemDC, saved);
}

void CEditDisplay::DrawPicture(HDC dc, int width, int height)
{
    RECT all = {0, 0, width, height};
    DrawPart(dc, all, height);
}

// Draws the picture within part, the same there as the whole picture; the rest stays.
void CEditDisplay::DrawPart(HDC dc, const RECT& part, int height)
{
    int saved = SaveDC(dc);
    int s = 0, L = 0;
    HRGN selected = nullptr;
    if (!m_pSelection->IsEmpty() && (HasFocus() || m_bPaintSelectionUnfocused))
        selected = m_pSelection->BuildRegion(&s, &L);
    IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
    FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetupDC(dc, ORIGIN_HORIZONTAL);
    SetBkMode(dc, TRANSPARENT);
    SetViewportOrgEx(dc, VIEW_LEFT_MARGIN, 0, nullptr);
    DrawLines(dc, part, height, selected);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    if (selected) {
        m_pSelection->Paint(dc, selected, s, L);
        DeleteObject(selected);
    }
    SetWindowOrgEx(dc, 0, 0, nullptr);
    RestoreDC(dc, saved);
}

// Whether the selection's fill, region (in picture rows, document x), covers all of part
// that row's text can reach, which drawing it would only have painted over.
static int Covered(HRGN region, const RECT& part, int row, int lineHeight, int dx)
{
    RECT reach = {part.left + dx, (row - 1) * lineHeight, part.right + dx, (row + 2) * lineHeight};
    if (reach.top < part.top)
        reach.top = part.top;
    if (reach.bottom > part.bottom)
        reach.bottom = part.bottom;
    HRGN rest = CreateRectRgnIndirect(&reach);
    if (!rest)
        return 0;
    int kind = CombineRgn(rest, rest, region, RGN_DIFF);
    DeleteObject(rest);
    return kind == NULLREGION;
}

// Draws the lines of a picture of that height that reach into part, from the top line on;
// nothing above it is read. Lines that the selected region hides are left out.
void CEditDisplay::DrawLines(HDC dc, const RECT& part, int height, HRGN selected) const
{
    const CFontInfo* font = GetFontInfo();
    // A glyph may reach into the row above or below its own.
    int first = part.top / m_nLineHeight - 1;
    int lines = (height + m_nLineHeight - 1) / m_nLineHeight;
    int below = (part.bottom + m_nLineHeight - 1) / m_nLineHeight + 1;
    if (below < lines)
        lines = below;
    int length = m_pDocument->GetTextLength();
    int left = GetHorzPos() * m_nCharWidth - VIEW_LEFT_MARGIN;
    int right = left + part.right;
    left += part.left;
    const char* p = m_pTopLine;
    for (int i = 0, o = 0; i < lines && m_nTopIndex + o < length; i++) {
        // The caret's line is often the one line of megabytes: the document knows its end.
        int n = m_pDocument->KeptLineLength(m_nTopIndex + o);
        if (n < 0)
            n = LineLength(p);
        if (n > 0 && i >= first &&
            !(selected && Covered(selected, part, i, m_nLineHeight, GetHorzPos() * m_nCharWidth)))
            DrawLineSpan(dc, font, m_pDocument->GetLineSteps(), p, n, 0, n,
                         LineOverhang(font, p, n), i * m_nLineHeight, left, right);
        o += n + 1;
        p += n + 1;
    }
}

void CEditDisplay::ReplaceBitmap(int width, int height)
{
    if (m_hBitmap) {
        if (!DeleteObject(m_hBitmap))
            ShowLastError(m_hWnd, "Bitmap destruction failed");
        m_hBitmap = nullptr;
    }
    m_nBitmapWidth = width;
    m_nBitmapHeight = height;
    // A minimised frame leaves nothing to draw: no bitmap until it has a size again.
    if (width > 0 && height > 0) {
        HDC dc = GetDC(m_hWnd);
        m_hBitmap = CreateCompatibleBitmap(dc, width, height);
        if (!m_hBitmap)
            ShowLastError(m_hWnd, "Bitmap creation failed");
        ReleaseDC(m_hWnd, dc);
    }
    InvalidateView();
}

void CEditDisplay::RecreateBitmap()
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    ReplaceBitmap(client.right - client.left, client.bottom - client.top);
}

static RECT ScreenClientRect(HWND window)
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// While the user drags a frame edge the bitmap is made once, as large as that drag can
// make the frame, instead of at every step.
void CEditDisplay::OnSizing(int edge)
{
    if (m_bSizing)
        return;
    HWND frame = GetParent(m_hWnd);
    HWND client = GetParent(frame);
    RECT F = ScreenClientRect(frame);
    RECT M = ScreenClientRect(client ? client : GetDesktopWindow());
    int width = F.right - F.left, height = F.bottom - F.top;
    switch (edge) {
    case WMSZ_LEFT: width = F.right - M.left; break;
    case WMSZ_RIGHT: width = M.right - F.left; break;
    case WMSZ_TOP: height = F.bottom - M.top; break;
    case WMSZ_TOPLEFT: width = F.right - M.left; height = F.bottom - M.top; break;
    case WMSZ_TOPRIGHT: width = M.right - F.left; height = F.bottom - M.top; break;
    case WMSZ_BOTTOM: height = M.bottom - F.top; break;
    case WMSZ_BOTTOMLEFT: width = F.right - M.left; height = M.bottom - F.top; break;
    case WMSZ_BOTTOMRIGHT: width = M.right - F.left; height = M.bottom - F.top; break;
    }
    ReplaceBitmap(width, height);
    m_bSizing = 1;
}

void CEditDisplay::OnExitSizeMove()
{
    if (!m_bSizing)
        return;
    m_bSizing = 0;
    RecreateBitmap();
}

void DrawFrameCaption(HWND window, int active)
{
    // A null window's DC would be the whole screen's.
    HDC dc = window && IsWindow(window) ? GetWindowDC(window) : nullptr;
    if (!dc)
        return;
    RECT w;
    GetWindowRect(window, &w);
    int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
    int bw = GetSystemMetrics(SM_CXSIZE) - 1, bh = GetSystemMetrics(SM_CYSIZE) - 3;
    int ch = GetSystemMetrics(SM_CYCAPTION);
    RECT caption = {fx, fy, (w.right - w.left) - fx, fy + ch - 1};
    DrawCaption(window, dc, &caption, active ? DC_ACTIVE | DC_ICON | DC_TEXT : DC_ICON | DC_TEXT);
    RECT close = {caption.right - bw - 1, fy + 2, caption.right - 2, fy + bh + 1};
    DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    RECT max = {close.left - bw - 1, close.top, close.left - 2, close.bottom};
    DrawFrameControl(dc, &max, DFC_CAPTION, DFCS_CAPTIONMAX);
    RECT min = {max.left - bw + 1, close.top, max.left, close.bottom};
    DrawFrameControl(dc, &min, DFC_CAPTION, DFCS_CAPTIONMIN);
    ReleaseDC(window, dc);
}
