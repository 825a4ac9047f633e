// Dragging the selection: within a view, to another view of the document or of another
// document, handed from view to view by hovering. The record goes with the drag and the
// view that holds it frees it.
#include <new>

#include "base/ErrorBox.h"
#include "document/SavedString.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "view/DragInfo.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"
#include "view/SelectionState.h"

CEditDisplay* ViewOfWindow(HWND window)
{
    // A view of another process would hand over a pointer into its own address space.
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process) || process != GetCurrentProcessId())
        return nullptr;
    char text[256] = "";
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    if (lstrcmpA(text, "CEditDisplay Class") != 0)
        return nullptr;
    return static_cast<CEditDisplay*>(GetPropA(window, "disProp"));
}

void CEditDisplay::ActivateFrame()
{
    HWND frame = GetParent(m_hWnd);
    HWND mdiClient = frame ? GetParent(frame) : nullptr;
    if (mdiClient)
        SendMessageA(mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame), 0);
    // A frame that was active already keeps the focus where it was; the drag wants it here.
    if (!HasFocus())
        SetFocus(m_hWnd);
}

int CEditDisplay::IsActiveFrame() const
{
    HWND frame = GetParent(m_hWnd);
    HWND mdiClient = frame ? GetParent(frame) : nullptr;
    return mdiClient &&
           reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0)) == frame;
}

void CEditDisplay::StartDrag(short kind)
{
    // A drop menu closed without a choice left its record here.
    delete m_pDrag;
    m_pDrag = new (std::nothrow) CDragInfo(this, kind);
}

void CEditDisplay::EndDrag()
{
    delete m_pDrag;
    m_pDrag = nullptr;
}

void CEditDisplay::LeftDrop()
{
    CEditDisplay* source = m_pDrag ? m_pDrag->m_pSource : nullptr;
    POINT q;
    GetCursorPos(&q);
    ScreenToClient(m_hWnd, &q);
    if (source && InVisibleArea(q)) {
        int k = m_nIndex;
        const CSelection* dragged = source->m_pSelection;
        if (source->m_pDocument != m_pDocument) {
            m_pSelection->Clear();
            PlaceDraggedText(k, 0);
        } else if (dragged->Contains(k)) {
            // Dropped onto the dragged text, in whichever view of it: nothing moves.
            m_pSelection->Clear();
        } else if (k != dragged->Start() && k != dragged->End()) {
            PlaceDraggedText(k, 0);
        }
    } else if (source) {
        source->ActivateFrame();
        source->MoveCaret(source->m_pSelection->End());
        source->m_pSelection->Clear();
    }
    ClearState(VS_LEFT_DRAG);
    StopTimers();
    EndDrag();
    UpdateCaret(1);
    SetMouseCursor();
    UpdateCommandState();
}

// Moves (or copies) the source's selected text to k of this view and selects it there:
// one history entry in each document that changes. 0 when nothing changed.
int CEditDisplay::PlaceDraggedText(int k, int copy)
{
    CEditDisplay* source = m_pDrag->m_pSource;
    CSelectionState state;
    source->m_pSelection->SaveState(&state);
    int s = state.m_nStart, n = state.m_nLength;
    if (n <= 0)
        return 0;
    int sameDocument = source->m_pDocument == m_pDocument;
    // A move within one document copies its bytes itself.
    char* bytes = nullptr;
    if (copy || !sameDocument) {
        bytes = CopyBytes(source->m_pDocument->GetTextAt(s), n);
        if (!bytes) {
            ShowOutOfMemory(m_pDocument->GetOwnerWindow());
            return 0;
        }
    }
    m_pSelection->Clear();
    // Where the source's selection stood, the text has moved or shifted.
    if (source != this && (sameDocument || !copy))
        source->m_pSelection->Clear();
    int done;
    if (copy) {
        done = m_pDocument->InsertWithUndo(k, bytes, n);
    } else if (sameDocument) {
        done = m_pDocument->MoveWithUndo(s, k, n);
        if (done && s < k)
            k -= n;
    } else {
        done = m_pDocument->InsertWithUndo(k, bytes, n) &&
               source->m_pDocument->RemoveWithUndo(s, n);
    }
    delete[] bytes;
    if (done) {
        m_pSelection->Extend(k);
        m_pSelection->Extend(k + n);
        MoveCaret(k + n);
    }
    UpdateCommandState();
    return done;
}

void CEditDisplay::OnDropCommand(int id)
{
    if (!m_pDrag)
        return;
    CEditDisplay* source = m_pDrag->m_pSource;
    int k = m_nIndex;
    if (id == ID_DROP_MOVE) {
        // A move into the moved text itself has nowhere to go.
        if (source->m_pDocument == m_pDocument && source->m_pSelection->Contains(k))
            m_pSelection->Clear();
        else
            PlaceDraggedText(k, 0);
    } else if (id == ID_DROP_COPY) {
        PlaceDraggedText(k, 1);
    } else {
        m_pSelection->Clear();
        if (source != this)
            source->ActivateFrame();
    }
    EndDrag();
}

void CEditDisplay::OnHandOverTimer()
{
    if (!TestState(VS_OVER_VIEW)) {
        KillTimer(m_hWnd, 2);
        return;
    }
    HWND target = m_hWndDropTarget;
    ClearState(VS_OVER_VIEW);
    // The window under the pointer may have gone meanwhile: the drag then stays here.
    CEditDisplay* view = ViewOfWindow(target);
    if (!view || !m_pDrag)
        return;
    ReleaseMouse();
    ClearState(VS_LEFT_DRAG | VS_RIGHT_DRAG);
    DropDragRegion();
    CDragInfo* drag = m_pDrag;
    m_pDrag = nullptr;
    view->TakeDrag(drag);
}

void CEditDisplay::TakeDrag(CDragInfo* drag)
{
    ActivateFrame();
    TakeMouse();
    delete m_pDrag;
    m_pDrag = drag;
    drag->m_pHolder = this;
    int left = drag->m_nKind == CDragInfo::DRAG_MOVE;
    if (!(GetAsyncKeyState(left ? VK_LBUTTON : VK_RBUTTON) & 0x8000)) {
        // The button came up on the way: the drag ends here without a drop.
        ReleaseMouse();
        EndDrag();
        return;
    }
    SetState(left ? VS_LEFT_DRAG : VS_RIGHT_DRAG);
    OnMouseMove();
}

void CEditDisplay::DropDragRegion()
{
    if (m_hDragRgn)
        DeleteObject(m_hDragRgn);
    m_hDragRgn = nullptr;
}

// A drop or cancel ends the hover too: its timer would hand the next drag to that view.
void CEditDisplay::StopTimers()
{
    ClearState(VS_AUTO_SCROLL | VS_OVER_VIEW);
    if (ClearState(VS_CAPTION_DIMMED))
        DrawFrameCaption(GetParent(m_hWnd), 1);
}

void CEditDisplay::CancelDrag()
{
    StopTimers();
    ClearState(VS_LEFT_DRAG | VS_RIGHT_DRAG);
    ReleaseMouse();
    DropDragRegion();
    EndDrag();
    UpdateCaret(1);
}

// For the destructor: this view's own record goes, and so does every drag of its text.
void CEditDisplay::AbandonDrags()
{
    KillTimer(m_hWnd, 1);
    KillTimer(m_hWnd, 2);
    if (m_pDrag)
        ReleaseMouse();
    EndDrag();
    CDragInfo::SourceGone(this);
}
