#include "app/StatusBar.h"

#include <commctrl.h>
#include <string.h>

#include <new>

#include "app/AppState.h"
#include "base/ErrorBox.h"
#include "resources/resource.h"

namespace {

const char UNIT[] = "statusbar";

struct CPaneEntry : public CObject {
    CStatusPane pane;
};

// Lays the panes out again after the control has re-docked itself on a resize.
LRESULT CALLBACK StatusFilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_SIZE) {
        LRESULT result = CallWindowProcA(original, window, message, wParam, lParam);
        if (g_app.m_pStatusBar && g_app.m_pStatusBar->m_hWnd == window)
            g_app.m_pStatusBar->ApplyLayout();
        return result;
    }
    if (message == WM_DESTROY)
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    return CallWindowProcA(original, window, message, wParam, lParam);
}

} // namespace

CStatusBar::CStatusBar(HWND parent)
    : m_hWnd(nullptr), m_pPanes(new (std::nothrow) CPtrList(1)), m_nLeftCount(0), m_nRightCount(0),
      m_bSimple(0)
{
    memset(&m_simple, 0, sizeof(m_simple));
    m_nBorders[0] = m_nBorders[1] = m_nBorders[2] = 0;
    if (!m_pPanes)
        return; // start-up drops a status bar without its pane list
    UNIT_ASSERT(parent != nullptr, UNIT);
    m_hWnd = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS, nullptr, parent,
                                 IDW_STATUSBAR);
    if (m_hWnd) {
        LONG_PTR original = SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC,
                                              reinterpret_cast<LONG_PTR>(StatusFilterProc));
        UNIT_ASSERT(original != 0, UNIT);
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, original);
        SendMessageA(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(m_nBorders));
        SendMessageA(m_hWnd, SB_SIMPLE, FALSE, 0);
    }
    CStatusPane message;
    memset(&message, 0, sizeof(message));
    message.m_nId = PANE_MESSAGE;
    message.m_nStyle = SBT_NOBORDERS;
    InsertPane(&message, 0);
}

CStatusBar::~CStatusBar()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd);
    delete m_pPanes;
}

int CStatusBar::InsertPane(const CStatusPane* pane, int position)
{
    CPaneEntry* entry = new (std::nothrow) CPaneEntry;
    UNIT_ASSERT(entry != nullptr, UNIT);
    if (!entry)
        return 0;
    entry->pane = *pane;
    int added = m_pPanes->AddTail(entry);
    UNIT_ASSERT(added, UNIT);
    if (!added) {
        delete entry;
        return 0;
    }
    m_pPanes->MoveNode(m_pPanes->GetCount() - 1, position);
    return 1;
}

void CStatusBar::RemovePaneAt(int index)
{
    delete static_cast<CPaneEntry*>(m_pPanes->RemoveAt(index));
}

CStatusPane* CStatusBar::PaneAt(int index) const
{
    CPaneEntry* entry = static_cast<CPaneEntry*>(m_pPanes->GetAt(index));
    return entry ? &entry->pane : nullptr;
}

CStatusPane* CStatusBar::FindPane(UINT id, int* index) const
{
    int i = 0;
    for (CPtrNode* node = m_pPanes->m_pFirst; node; node = node->next, i++) {
        CStatusPane* pane = &static_cast<CPaneEntry*>(node->item)->pane;
        if (pane->m_nId == id) {
            if (index)
                *index = i;
            return pane;
        }
    }
    return nullptr;
}

int CStatusBar::AddPanes(const CStatusPane* panes, WORD count)
{
    if (!panes)
        return 0;
    for (WORD i = 0; i < count; i++) {
        if (panes[i].m_wFlags & PANE_RIGHT) {
            if (InsertPane(&panes[i], m_nLeftCount + m_nRightCount + 1))
                m_nRightCount++;
        } else if (InsertPane(&panes[i], m_nLeftCount)) {
            m_nLeftCount++;
        }
    }
    ApplyLayout();
    return 1;
}

void CStatusBar::RemoveAddedPanes()
{
    for (; m_nLeftCount > 0; m_nLeftCount--)
        RemovePaneAt(0);
    for (; m_nRightCount > 0; m_nRightCount--)
        RemovePaneAt(1);
    ApplyLayout();
}

int CStatusBar::RemovePane(UINT id)
{
    int index;
    CStatusPane* pane = FindPane(id, &index);
    if (!pane)
        return 0;
    if (index < m_nLeftCount)
        m_nLeftCount--;
    else if (index > m_nLeftCount)
        m_nRightCount--;
    RemovePaneAt(index);
    ApplyLayout();
    return 1;
}

int CStatusBar::UpdatePane(const CStatusPane* request)
{
    CStatusPane* pane = request ? FindPane(request->m_nId, nullptr) : nullptr;
    if (!pane)
        return 0;
    if (request->m_wMask & PANE_MASK_STYLE)
        pane->m_nStyle = request->m_nStyle;
    if (request->m_wMask & PANE_MASK_WIDTH)
        pane->m_nFixedWidth = request->m_nFixedWidth;
    if (request->m_wMask & PANE_MASK_TEXT)
        lstrcpynA(pane->m_szText, request->m_szText, sizeof(pane->m_szText));
    ApplyLayout();
    return 1;
}

void CStatusBar::ApplyLayout()
{
    UNIT_ASSERT(m_hWnd != nullptr, UNIT);
    if (!m_hWnd)
        return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    int available = client.right;
    int count = m_pPanes->GetCount();
    int* widths = new (std::nothrow) int[count];
    if (!widths)
        return;

    HDC dc = GetDC(m_hWnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    int total = (count - 1) * m_nBorders[2] + 2 * m_nBorders[0] + PANE_MIN_WIDTH;
    for (int i = 0; i < count; i++) {
        const CStatusPane* pane = PaneAt(i);
        SIZE extent = {0, 0};
        if (pane->m_wFlags & PANE_FIXED)
            widths[i] = pane->m_nFixedWidth;
        else if (pane->m_szText[0] &&
                 GetTextExtentPoint32A(dc, pane->m_szText, lstrlenA(pane->m_szText), &extent))
            widths[i] = extent.cx + 8;
        else
            widths[i] = 0;
        if (widths[i] < PANE_MIN_WIDTH)
            widths[i] = PANE_MIN_WIDTH;
        total += widths[i];
    }
    SelectObject(dc, previous);
    ReleaseDC(m_hWnd, dc);

    if (total > available) {
        // Only shrinkable panes give way; the bar may stay wider than the window.
        for (int i = 0; i < count && total != available; i++) {
            if (!(PaneAt(i)->m_wFlags & PANE_SHRINKS))
                continue;
            int cut = widths[i] - PANE_MIN_WIDTH;
            if (cut > total - available)
                cut = total - available;
            widths[i] -= cut;
            total -= cut;
        }
    } else {
        int index;
        if (FindPane(PANE_MESSAGE, &index))
            widths[index] += LOWORD(available) - total;
    }

    for (int i = 1; i < count; i++)
        widths[i] += widths[i - 1];
    // The control draws itself at once for every changed text: the bar is drawn once, with
    // the rest of the window, instead.
    SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_hWnd, SB_SETPARTS, count, reinterpret_cast<LPARAM>(widths));
    for (int i = 0; i < count; i++) {
        const CStatusPane* pane = PaneAt(i);
        SendMessageA(m_hWnd, SB_SETTEXTA, pane->m_nStyle | i,
                     reinterpret_cast<LPARAM>(pane->m_szText));
        if (pane->m_wFlags & PANE_TOOLTIP)
            SendMessageA(m_hWnd, SB_SETTIPTEXTA, i, reinterpret_cast<LPARAM>(pane->m_szText));
    }
    SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hWnd, nullptr, FALSE);
    delete[] widths;
}

void CStatusBar::SetSimple(int on)
{
    if (!m_hWnd || (on ? 1 : 0) == m_bSimple)
        return;
    SendMessageA(m_hWnd, SB_SIMPLE, on ? TRUE : FALSE, 0);
    m_bSimple = on ? 1 : 0;
    if (on)
        SendMessageA(m_hWnd, SB_SETTEXTA, m_simple.m_nStyle | SB_SIMPLEID,
                     reinterpret_cast<LPARAM>(m_simple.m_szText));
}

void CStatusBar::SetSimpleText(const CStatusPane* pane)
{
    if (!pane)
        return;
    m_simple = *pane;
    m_simple.m_szText[sizeof(m_simple.m_szText) - 1] = 0;
    if (m_bSimple && m_hWnd)
        SendMessageA(m_hWnd, SB_SETTEXTA, m_simple.m_nStyle | SB_SIMPLEID,
                     reinterpret_cast<LPARAM>(m_simple.m_szText));
}

void CStatusBar::ForwardSize(WPARAM type, int width, int height)
{
    if (m_hWnd)
        SendMessageA(m_hWnd, WM_SIZE, type, MAKELPARAM(width, height));
}
