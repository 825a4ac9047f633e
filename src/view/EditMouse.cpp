// The mouse in the view: clicks place the caret, a press outside the selection selects, a
// press on it starts a drag, and the cursor tells which of them the pointer would do.
#include "document/FindInfo.h"
#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "resources/resource.h"
#include "view/DragInfo.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"

static POINT PointerIn(HWND window)
{
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    return p;
}

int CEditDisplay::PointInSelection(POINT client) const
{
    return m_pSelection->HitTest(client);
}

// The part of the view that is on screen: its window within the MDI client.
RECT CEditDisplay::VisibleArea() const
{
    RECT area, client;
    GetWindowRect(m_hWnd, &area);
    HWND frame = GetParent(m_hWnd);
    HWND mdiClient = frame ? GetParent(frame) : nullptr;
    if (mdiClient && GetWindowRect(mdiClient, &client))
        IntersectRect(&area, &area, &client);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

int CEditDisplay::InVisibleArea(POINT client) const
{
    RECT area = VisibleArea();
    return PtInRect(&area, client) ? 1 : 0;
}

void CEditDisplay::OnLeftButtonDown(int x, int y, int doubleClick)
{
    if (TestState(VS_RIGHT_DRAG)) {
        // A left press ends a pending right drag; the source keeps its selection.
        ClearState(VS_RIGHT_DRAG);
        StopTimers();
        ReleaseMouse();
        CEditDisplay* source = m_pDrag ? m_pDrag->m_pSource : this;
        source->ActivateFrame();
        source->MoveCaret(source->m_pSelection->End());
        SetCapture(source->m_hWnd);
        EndDrag();
        return;
    }
    POINT point = {x, y};
    CaretFromPoint(point);
    if (doubleClick) {
        SelectWordAtCaret();
    } else {
        TakeMouse();
        if (!m_pSelection->IsEmpty() && PointInSelection(point)) {
            StartDrag(CDragInfo::DRAG_MOVE);
            SetState(VS_LEFT_DRAG);
            SetMouseCursor();
            UpdateCaret(0);
        } else {
            SetState(VS_SELECTING);
            m_pSelection->Clear();
            m_pSelection->Extend(m_nIndex);
            UpdateCommandState();
            UpdateCaret(1);
        }
        CheckAutoScroll(point);
    }
    // The next search starts at the caret.
    m_pFind->MarkDirty();
}

// A run of letters and digits, or the one other byte at the caret; nothing at a line end.
void CEditDisplay::SelectWordAtCaret()
{
    m_pSelection->Clear();
    const char* text = m_pDocument->GetTextAt(0);
    unsigned char at = static_cast<unsigned char>(text[m_nIndex]);
    if (at == 0 || at == '\r')
        return;
    int start = m_nIndex, end = m_nIndex + 1;
    if (IsAsciiAlnum(at)) {
        // The text has a NUL before and after it, which stops both walks.
        while (IsAsciiAlnum(static_cast<unsigned char>(text[start - 1])))
            start--;
        while (IsAsciiAlnum(static_cast<unsigned char>(text[end])))
            end++;
    }
    m_pSelection->Extend(start);
    m_pSelection->Extend(end);
    MoveCaret(end);
}

void CEditDisplay::OnMouseMove()
{
    if ((m_nState & (VS_SELECTING | VS_LEFT_DRAG | VS_RIGHT_DRAG)) && GetCapture() == m_hWnd) {
        POINT screen;
        GetCursorPos(&screen);
        POINT q = screen;
        ScreenToClient(m_hWnd, &q);
        if (TestState(VS_SELECTING)) {
            // Above or below the text the selection follows the first or last whole line.
            RECT client;
            GetClientRect(m_hWnd, &client);
            POINT at = q;
            if (q.y < 0) {
                at.y = 1;
            } else if (q.y > client.bottom - EdgeBand()) {
                int lines = client.bottom / m_nLineHeight - 1;
                at.y = (lines > 0 ? lines : 0) * m_nLineHeight;
            }
            if (CaretFromPoint(at))
                m_pSelection->Extend(m_nIndex);
        } else if (InVisibleArea(q)) {
            // The caret shows where the text would land.
            CaretFromPoint(q);
            if (ClearState(VS_CAPTION_DIMMED))
                DrawFrameCaption(GetParent(m_hWnd), 1);
            ClearState(VS_OVER_VIEW);
        } else {
            ClearState(VS_AUTO_SCROLL);
            UpdateCaret(0);
            HWND w = WindowFromPoint(screen);
            if (w != m_hWndDropTarget) {
                ClearState(VS_OVER_VIEW);
                if (w != m_hWnd && ViewOfWindow(w)) {
                    ClearState(VS_CAPTION_DIMMED);
                    SetState(VS_OVER_VIEW);
                    m_hWndDropTarget = w;
                    DrawFrameCaption(GetParent(w), 1);
                    DrawFrameCaption(GetParent(m_hWnd), 0);
                    SetTimer(m_hWnd, 2, 300, nullptr);
                } else if (m_pDrag && m_pDrag->m_pSource != this &&
                           !TestState(VS_CAPTION_DIMMED)) {
                    // A handed-over drag away from every view: this frame is no target.
                    SetState(VS_CAPTION_DIMMED);
                    DrawFrameCaption(GetParent(m_hWnd), 0);
                }
            }
        }
        if (!TestState(VS_AUTO_SCROLL))
            CheckAutoScroll(q);
    }
    SetMouseCursor();
}

void CEditDisplay::OnLeftButtonUp()
{
    m_bCaptureReleased = 1;
    ClearState(VS_SELECTING);
    ClearState(VS_AUTO_SCROLL);
    if (TestState(VS_LEFT_DRAG))
        LeftDrop();
    // A click without a drag leaves only an anchor: the selection starts afresh.
    if (m_pSelection->IsEmpty())
        m_pSelection->Clear();
    UpdateCommandState();
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    m_pFind->MarkDirty();
}

// Takes the mouse for a gesture of this view: from now on, losing it ends the gesture.
void CEditDisplay::TakeMouse()
{
    SetCapture(m_hWnd);
    m_bCaptureReleased = 0;
}

// Gives the mouse up; the loss of the capture is then this view's own doing.
void CEditDisplay::ReleaseMouse()
{
    m_bCaptureReleased = 1;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
}

void CEditDisplay::OnCaptureChanged()
{
    // Another window or program took the mouse: what the view did with it ends, and a drag
    // it holds ends without a drop, or a later click would drop it.
    if (m_bCaptureReleased)
        return;
    ClearState(VS_SELECTING);
    ClearState(VS_AUTO_SCROLL);
    if (IsDragging())
        CancelDrag();
}

void CEditDisplay::OnRightButtonDown(int x, int y)
{
    DropDragRegion();
    if (TestState(VS_LEFT_DRAG)) {
        // A right press cancels a left drag: the source's selection collapses to its end.
        CEditDisplay* source = m_pDrag ? m_pDrag->m_pSource : this;
        ReleaseMouse();
        ClearState(VS_LEFT_DRAG);
        // A hover pending over another view must not hand the ended drag over.
        StopTimers();
        source->ActivateFrame();
        source->MoveCaret(source->m_pSelection->End());
        source->m_pSelection->Clear();
        SetCapture(source->m_hWnd);
        EndDrag();
        return;
    }
    POINT point = {x, y};
    if (!m_pSelection->IsEmpty()) {
        int px = x + GetHorzPos() * m_nCharWidth, py = y;
        int start, length;
        HRGN region = m_pSelection->BuildRegion(&start, &length);
        if (region && PtInRegion(region, px, py)) {
            TakeMouse();
            SetState(VS_RIGHT_DRAG);
            StartDrag(CDragInfo::DRAG_MENU);
            // A release within this box is a click, not a drop.
            m_hDragRgn = CreateRectRgn(px - 2, py - 2, px + 3, py + 3);
            if (m_hDragRgn)
                CombineRgn(m_hDragRgn, m_hDragRgn, region, RGN_AND);
        } else {
            m_pSelection->Clear();
        }
        if (region)
            DeleteObject(region);
    }
    CaretFromPoint(point);
}

void CEditDisplay::OnRightButtonUp(int x, int y)
{
    int k = m_nIndex;
    int isSource = !m_pDrag || m_pDrag->m_pSource == this;
    int inBox = m_hDragRgn && PtInRegion(m_hDragRgn, x + GetHorzPos() * m_nCharWidth, y);
    int click = !TestState(VS_RIGHT_DRAG) || (isSource && m_pSelection->Contains(k) && inBox);
    POINT p = {x, y};
    int menuShown = 0;
    if (click) {
        if (IsActiveFrame())
            TrackMenu(IDR_CONTEXTMENU, p);
    } else if (isSource && m_pSelection->Contains(k)) {
        int end = m_pSelection->End();
        m_pSelection->Clear();
        MoveCaret(end);
    } else {
        RECT client;
        GetClientRect(m_hWnd, &client);
        if (PtInRect(&client, p)) {
            // The record stays here for the menu's command.
            TrackMenu(IDR_DROPMENU, p);
            menuShown = 1;
        } else if (!isSource) {
            m_pDrag->m_pSource->ActivateFrame();
        }
    }
    if (ClearState(VS_RIGHT_DRAG)) {
        StopTimers();
        ReleaseMouse();
    }
    DropDragRegion();
    if (!menuShown)
        EndDrag();
    // A press on the selection hid the caret; whatever the menu's choice, it comes back.
    UpdateCaret(1);
}

// The context menu follows the Edit menu's states; the drop menu has nothing to gray.
void CEditDisplay::TrackMenu(int resource, POINT client)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource));
    HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
    if (!popup) {
        if (menu)
            DestroyMenu(menu);
        return;
    }
    if (resource == IDR_CONTEXTMENU) {
        int selected = !m_pSelection->IsEmpty();
        SetMenuState(popup, ID_EDIT_PASTE, FALSE, IsClipboardFormatAvailable(CF_TEXT));
        SetMenuState(popup, ID_EDIT_CUT, FALSE, selected);
        SetMenuState(popup, ID_EDIT_COPY, FALSE, selected);
        SetMenuState(popup, ID_EDIT_DELETE, FALSE, CanDelete());
    }
    // The menu takes the mouse: a selection ends, nothing scrolls or hands over beneath it,
    // and the drag whose record its command needs does not end with the capture.
    ClearState(VS_SELECTING);
    StopTimers();
    m_bCaptureReleased = 1;
    ClientToScreen(m_hWnd, &client);
    TrackPopupMenuEx(popup, TPM_RIGHTBUTTON, client.x, client.y, m_hWnd, nullptr);
    DestroyMenu(menu);
}

void CEditDisplay::OnTimer(UINT_PTR id)
{
    if (id == 1)
        OnAutoScrollTimer();
    else if (id == 2)
        OnHandOverTimer();
}

void CEditDisplay::SetMouseCursor() const
{
    // A view that neither holds the mouse nor is under it leaves the cursor to others.
    POINT screen;
    GetCursorPos(&screen);
    if (GetCapture() != m_hWnd && WindowFromPoint(screen) != m_hWnd)
        return;
    POINT q = PointerIn(m_hWnd);
    HCURSOR cursor;
    if (TestState(VS_SELECTING))
        cursor = m_pDocument->GetIBeamCursor();
    else if (IsDragging() && !InVisibleArea(q) && !TestState(VS_OVER_VIEW))
        cursor = m_pDocument->GetNoCursor();
    else if (IsDragging())
        cursor = m_pDocument->GetOwnCursor();
    else if (!m_pSelection->IsEmpty() && PointInSelection(q))
        cursor = m_pDocument->GetArrowCursor();
    else
        cursor = m_pDocument->GetIBeamCursor();
    SetCursor(cursor);
}
