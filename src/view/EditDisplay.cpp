#include "view/EditDisplay.h"

#include <stdlib.h>
#include <new>

#include <commctrl.h>

#include "base/ErrorBox.h"
#include "base/ShellMessages.h"
#include "document/FindInfo.h"
#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "resources/resource.h"
#include "view/FontInfo.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"
#include "view/ViewHost.h"

CEditDisplay::CEditDisplay(COpenDocument* owner, CDocFrame* frame)
    : m_hWnd(nullptr), m_bSizing(0), m_nIndex(0), m_bCaretExists(0), m_pSelection(nullptr),
      m_bPaintSelectionUnfocused(0), m_hWndDropTarget(nullptr), m_pDrag(nullptr),
      m_pFind(nullptr), m_nCaretLine(0), m_nLineOverhang(0),
      m_nTopIndex(0), m_pTopLine(nullptr), m_pScrollBars(nullptr), m_nLineHeight(1),
      m_nCharWidth(1), m_nScrollSpeed(1), m_nSpeedTicks(0), m_hMemDC(nullptr),
      m_hBitmap(nullptr), m_bDirty(1), m_nBitmapWidth(0), m_nBitmapHeight(0),
      m_hDragRgn(nullptr), m_pOwner(owner), m_pFrame(frame), m_pDocument(nullptr),
      m_nState(0), m_bCaptureReleased(1), m_nLayoutStart(-1)
{
    m_ptCaret.x = m_ptCaret.y = 0;
    m_ptDesired.x = m_ptDesired.y = 0;
    ForgetStaleParts();

    RECT area = ViewArea(frame);
    HWND parent = FrameWindow(frame);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));

    m_pDocument = HostedText(owner);
    if (!m_pDocument) {
        Abandon("Invalid document pointer", GetLastError());
        return;
    }
    // The accessors never answer 0, so the metrics are safe divisors.
    m_nLineHeight = GetFontInfo()->LineHeight();
    m_nCharWidth = GetFontInfo()->AverageWidth();
    m_pTopLine = m_pDocument->GetTextAt(0);

    m_pSelection = new (std::nothrow) CSelection(this);
    if (!m_pSelection) {
        Abandon("Selection object creation failed", ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    m_pFind = new (std::nothrow) CFindInfo(this);
    if (!m_pFind) {
        Abandon("Find object creation failed", ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    HWND window = CreateWindowExA(WS_EX_LEFT, "Display", "CEditDisplay Class", WS_CHILD | WS_VISIBLE,
                                  area.left, area.top, area.right - area.left,
                                  area.bottom - area.top, parent, nullptr, instance, this);
    if (!window) {
        Abandon("MDI display window creation failed", GetLastError());
        return;
    }
    m_hWnd = window;
    SetIndex(0);
    SetFocus(m_hWnd);

    HDC dc = GetDC(m_hWnd);
    m_hMemDC = CreateCompatibleDC(dc);
    if (!m_hMemDC) {
        ReleaseDC(m_hWnd, dc);
        Abandon("Compatible DC creation failed", GetLastError());
        return;
    }
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width > 0 && height > 0) {
        m_hBitmap = CreateCompatibleBitmap(dc, width, height);
        if (!m_hBitmap) {
            ReleaseDC(m_hWnd, dc);
            Abandon("Bitmap creation failed", GetLastError());
            return;
        }
        m_nBitmapWidth = width;
        m_nBitmapHeight = height;
    }
    ReleaseDC(m_hWnd, dc);
}

// Reports a failed creation step and takes down what was built, leaving m_hWnd null.
// The window no longer refers to the object, so the caller alone deletes it; the failure
// has been told, so the caller tells nothing more.
void CEditDisplay::Abandon(const char* caption, DWORD error)
{
    ShowLastError(FrameWindow(m_pFrame), caption, error);
    if (m_hWnd) {
        RemovePropA(m_hWnd, "disProp");
        DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
}

CEditDisplay::~CEditDisplay()
{
    // First, while every part of this view is still there for the drags that end with it.
    AbandonDrags();
    delete m_pSelection;
    delete m_pFind;
    if (m_hMemDC)
        DeleteDC(m_hMemDC);
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    DropDragRegion();
}

CFontInfo* CEditDisplay::GetFontInfo() const
{
    return m_pDocument->GetFontInfo();
}

COLORREF CEditDisplay::GetTextColour() const
{
    return GetFontInfo()->GetColour();
}

int CEditDisplay::GetWidestLineWidth() const
{
    return m_pDocument->GetWidestWidth();
}

int CEditDisplay::GetVertPos() const
{
    return m_pScrollBars ? m_pScrollBars->GetVertPos() : 0;
}

int CEditDisplay::GetHorzPos() const
{
    return m_pScrollBars ? m_pScrollBars->GetHorzPos() : 0;
}

int CEditDisplay::SetState(unsigned int bits)
{
    int was = TestState(bits);
    m_nState |= bits;
    return was;
}

int CEditDisplay::ClearState(unsigned int bits)
{
    int was = TestState(bits);
    if ((bits & VS_OVER_VIEW) && (m_nState & VS_OVER_VIEW)) {
        KillTimer(m_hWnd, 2);
        if (m_hWndDropTarget)
            DrawFrameCaption(GetParent(m_hWndDropTarget), 0);
        DrawFrameCaption(GetParent(m_hWnd), 1);
        m_hWndDropTarget = nullptr;
    }
    if ((bits & VS_AUTO_SCROLL) && (m_nState & VS_AUTO_SCROLL)) {
        KillTimer(m_hWnd, 1);
        m_nScrollSpeed = 1;
        m_nSpeedTicks = 0;
        bits |= VS_FAST_SCROLL;
    }
    m_nState &= ~bits;
    return was;
}

void CEditDisplay::AttachScrollBars(CScrollBars* bars)
{
    m_pScrollBars = bars;
    if (bars)
        bars->Layout();
}

void CEditDisplay::PlaceWindow()
{
    RECT area = ViewArea(m_pFrame);
    SetWindowPos(m_hWnd, nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER);
}

void CEditDisplay::OnVScroll(int code)
{
    if (m_pScrollBars)
        m_pScrollBars->VScroll(code);
}

void CEditDisplay::OnHScroll(int code)
{
    if (m_pScrollBars)
        m_pScrollBars->HScroll(code);
}

void CEditDisplay::ScrollBy(int columns, int lines)
{
    if (!columns && !lines)
        return;
    // Only this view's own caret moves: the caret of another view is not ours to shift.
    if (m_bCaretExists) {
        POINT caret;
        GetCaretPos(&caret);
        SetCaretPos(caret.x - columns * m_nCharWidth, caret.y - lines * m_nLineHeight);
    }
    if (lines) {
        int lineLength;
        m_pTopLine = MoveByLines(lines, &lineLength, &m_nTopIndex, m_pTopLine);
        InvalidateView();
        return;
    }
    ShiftPicture(columns * m_nCharWidth);
}

void CEditDisplay::OnSize()
{
    if (!m_hWnd)
        return;
    if (m_pScrollBars)
        m_pScrollBars->Layout();
    if (!m_bSizing)
        RecreateBitmap();
}

void CEditDisplay::OnSetFocus()
{
    // Edits made in other views may have moved the text under a kept index.
    ClampToText();
    POINT p;
    if (PointFromIndex(m_nIndex, &p)) {
        LayOutLineAt(m_nIndex);
        m_ptCaret = p;
    }
    // The position pane showed the caret of the view that had the focus before.
    PublishCaretPosition();
    UpdateCaret(1);
    if (!m_pSelection->IsEmpty()) {
        InvalidateView();
        MoveCaret(m_pSelection->End());
    }
    m_bPaintSelectionUnfocused = 0;
    UpdateCommandState();
    // The open Find and Replace dialogs act on the focused view from now on.
    SendToFindDialogs(WM_ACTIVE_VIEW_CHANGED, reinterpret_cast<WPARAM>(m_pFind), 0);
}

void CEditDisplay::OnKillFocus()
{
    UpdateCaret(0);
    if (!m_pSelection->IsEmpty())
        InvalidateView();
}

int CEditDisplay::IsDocumentVisible() const
{
    return m_pDocument->HasVisibleText();
}

void CEditDisplay::OnMouseWheel(int delta)
{
    if (m_pScrollBars)
        m_pScrollBars->SetVertPos(GetVertPos() - delta / WHEEL_DELTA * 3, 1);
}

void CEditDisplay::OnSelectionChanged()
{
    SetMouseCursor();
    UpdateCommandState();
    InvalidateView();
}

void CEditDisplay::ShowSelectionUnfocused()
{
    m_bPaintSelectionUnfocused = 1;
    InvalidateView();
}

void CEditDisplay::SelectAll()
{
    m_pSelection->Clear();
    MoveCaret(0);
    m_pSelection->Extend(0);
    m_pSelection->Extend(m_pDocument->GetTextLength());
}

void CEditDisplay::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case ID_FILE_SAVEAS: m_pDocument->SaveDocumentAs(); break;
    case ID_FILE_SAVE: m_pDocument->SaveDocument(1); break;
    case ID_FILE_PRINT: m_pDocument->Print(); break;
    case ID_EDIT_SELECTFONT: m_pDocument->SelectDocumentFont(); break;
    // Redo moves the history on only after the views were told of the edit.
    case ID_EDIT_UNDO: m_pDocument->Undo(); UpdateCommandState(); break;
    case ID_EDIT_REDO: m_pDocument->Redo(); UpdateCommandState(); break;
    case ID_EDIT_SELECTALL: SelectAll(); break;
    case ID_DROP_MOVE:
    case ID_DROP_COPY:
    case ID_DROP_CANCEL: OnDropCommand(LOWORD(wParam)); break;
    case ID_SORT_ALPHABETIC: m_pDocument->SortLines(SORT_ASCENDING); break;
    case ID_SORT_REVERSEALPHABETIC: m_pDocument->SortLines(SORT_DESCENDING); break;
    case ID_SORT_NUMERIC: m_pDocument->SortLines(SORT_ASCENDING | SORT_NUMERIC); break;
    case ID_SORT_REVERSENUMERIC: m_pDocument->SortLines(SORT_DESCENDING | SORT_NUMERIC); break;
    default:
        if (!OnEditCommand(LOWORD(wParam)))
            PassCommandToFrame(m_pOwner, wParam, lParam);
        break;
    }
}

void CEditDisplay::SetMenuState(HMENU menu, UINT item, int byPosition, int enabled) const
{
    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    info.fState = enabled ? 0 : MFS_GRAYED;
    SetMenuItemInfoA(menu, item, byPosition, &info);
}

void CEditDisplay::OnInitMenuPopup(HMENU menu, int index)
{
    // The main frame counts one popup less while a frame is maximised; that also hits
    // the nested "Text Operations" popup, which has five items.
    if (IsZoomed(FrameWindow(m_pFrame)) && GetMenuItemCount(menu) == 5)
        index++;
    int selected = !m_pSelection->IsEmpty();
    int text = m_pDocument->GetTextLength() > 0;
    if (index == 1) {
        SetMenuState(menu, ID_EDIT_UNDO, FALSE, m_pDocument->CanUndo());
        SetMenuState(menu, ID_EDIT_REDO, FALSE, m_pDocument->CanRedo());
        SetMenuState(menu, ID_EDIT_CUT, FALSE, selected);
        SetMenuState(menu, ID_EDIT_COPY, FALSE, selected);
        SetMenuState(menu, ID_EDIT_DELETE, FALSE, CanDelete());
        SetMenuState(menu, ID_EDIT_PASTE, FALSE, IsClipboardFormatAvailable(CF_TEXT));
        SetMenuState(menu, ID_EDIT_FIND, FALSE, text);
        SetMenuState(menu, ID_EDIT_REPLACE, FALSE, text);
        SetMenuState(menu, ID_EDIT_SELECTALL, FALSE, text);
        SetMenuState(menu, 9, TRUE, 1);
        SetMenuState(menu, ID_EDIT_SELECTFONT, FALSE, 1);
    } else if (index == 9) {
        SetMenuState(menu, ID_CASE_LOWER, FALSE, selected);
        SetMenuState(menu, ID_CASE_UPPER, FALSE, selected);
        SetMenuState(menu, ID_CASE_INVERT, FALSE, selected);
        SetMenuState(menu, 4, TRUE, text);
    }
}

// The Delete key reaches the view as command 40010 through the accelerators, which drop
// the command while its menu item is grayed: the item follows the caret, not the popup.
int CEditDisplay::CanDelete() const
{
    return !m_pSelection->IsEmpty() || m_nIndex < m_pDocument->GetTextLength();
}

void CEditDisplay::UpdateCommandState()
{
    if (HMENU menu = CommandMenu(m_pOwner))
        SetMenuState(menu, ID_EDIT_DELETE, FALSE, CanDelete());
    HWND toolbar = CommandToolbar(m_pOwner);
    if (!toolbar)
        return;
    int selected = !m_pSelection->IsEmpty();
    int paste = ClipboardHasText();
    const struct { int id; int enabled; } buttons[] = {
        {ID_FILE_SAVE, 1},
        {ID_EDIT_COPY, selected},
        {ID_EDIT_CUT, selected},
        {ID_EDIT_PASTE, paste},
        {ID_EDIT_DELETE, selected},
        {ID_EDIT_UNDO, m_pDocument->CanUndo()},
        {ID_EDIT_REDO, m_pDocument->CanRedo()},
        {ID_EDIT_FIND, m_pDocument->GetTextLength() > 0},
        {ID_FILE_PRINT, 1},
        {ID_FILE_PRINTPREVIEW, 0},
    };
    for (const auto& b : buttons)
        SendMessageA(toolbar, TB_ENABLEBUTTON, b.id, MAKELONG(b.enabled, 0));
}

// A view without the focus keeps its caret index and selection through edits made in
// another view; a removal there must not leave them past the end of the text.
void CEditDisplay::ClampToText()
{
    int length = m_pDocument->GetTextLength();
    if (m_nIndex > length)
        m_nIndex = length;
    m_pSelection->ClampTo(length);
}

void CEditDisplay::ForgetMeasurements()
{
    m_nLayoutStart = -1;
}

int CEditDisplay::OnBufferMoved()
{
    ForgetMeasurements();
    m_pTopLine = m_pDocument->GetTextAt(m_nTopIndex);
    return 1;
}

int CEditDisplay::OnTextInserted(int index, int count)
{
    ForgetMeasurements();
    int breaks = CountLines(m_pDocument->GetTextAt(index), count) - 1;
    // The new range and the caret's scroll draw each bar at most once, after both.
    if (m_pScrollBars) {
        m_pScrollBars->Hold();
        m_pScrollBars->Recalculate();
    }
    // Text inserted above the top line pushes it down: the same line stays at the top.
    int above = index < m_nTopIndex;
    if (above) {
        m_nTopIndex += count;
        m_pTopLine += count;
        if (breaks && m_pScrollBars)
            m_pScrollBars->SetVertPos(m_pScrollBars->GetVertPos() + breaks, 0);
    }
    if (HasFocus())
        MoveCaret(index + count);
    if (m_pScrollBars)
        m_pScrollBars->Release();
    if (above)
        InvalidateView();
    else
        InvalidateEdit(index, breaks);
    UpdateCommandState();
    return 1;
}

// An edit at index, at or below the top line, changed its line and, with line breaks
// added or taken away, every line below it; the lines above stay as they are drawn.
void CEditDisplay::InvalidateEdit(int index, int breaks)
{
    int start, length;
    int row = m_pDocument->LineAt(index, &start, &length) - GetVertPos();
    int rows = (m_nBitmapHeight + m_nLineHeight - 1) / m_nLineHeight;
    if (row < 0)
        InvalidateView();
    else
        InvalidateRowsFrom(row, breaks ? rows - 1 : (row < rows ? row : rows - 1));
}

int CEditDisplay::OnTextRemoving(int index, int count)
{
    ForgetMeasurements();
    if (index >= m_nTopIndex)
        return 1;
    const char* text = m_pDocument->GetTextAt(0);
    if (index + count < m_nTopIndex) {
        int breaks = CountLines(text + index, count) - 1;
        m_nTopIndex -= count;
        m_pTopLine -= count;
        if (breaks && m_pScrollBars)
            m_pScrollBars->SetVertPos(m_pScrollBars->GetVertPos() - breaks, 0);
        return 1;
    }
    // The removal reaches the top line: walk back to the line holding index, which
    // stays in place and becomes the top.
    int breaks = CountLines(text + index, m_nTopIndex - index) - 1;
    if (m_pScrollBars)
        m_pScrollBars->SetVertPos(m_pScrollBars->GetVertPos() - breaks, 1);
    else
        ScrollBy(0, -breaks);
    return 1;
}

int CEditDisplay::OnTextRemoved(int index, int)
{
    ClampToText();
    if (m_pScrollBars) {
        m_pScrollBars->Hold();
        m_pScrollBars->Recalculate();
    }
    if (HasFocus())
        MoveCaret(index);
    if (m_pScrollBars)
        m_pScrollBars->Release();
    // Whether the removal held a line break is no longer known: the lines below may move.
    if (index < m_nTopIndex)
        InvalidateView();
    else
        InvalidateEdit(index, 1);
    UpdateCommandState();
    return 1;
}

int CEditDisplay::OnUndoStarting()
{
    if (!m_pSelection->IsEmpty())
        m_pSelection->Clear();
    return 1;
}

int CEditDisplay::OnFontChanged()
{
    ForgetMeasurements();
    HDC dc = GetDC(m_hWnd);
    SetupDC(dc, ORIGIN_BOTH);
    TEXTMETRICA tm;
    if (GetTextMetricsA(dc, &tm)) {
        m_nLineHeight = tm.tmHeight > 0 ? tm.tmHeight : 1;
        m_nCharWidth = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    }
    ReleaseDC(m_hWnd, dc);
    ComputeLineLayout(m_nCaretLine);
    if (m_pScrollBars)
        m_pScrollBars->Recalculate();
    PointFromIndex(m_nIndex, &m_ptCaret);
    if (m_bCaretExists) {
        UpdateCaret(0);
        UpdateCaret(1);
    }
    InvalidateView();
    return 1;
}

// The same end as the replacements one by one, without the walk in between: the top
// stays on its line, a kept caret and selection are clamped to the shortest text there was,
// and the scroll bars clamp once.
int CEditDisplay::OnTextReplaced(int caret, int shortest)
{
    ForgetMeasurements();
    int lineLength, top = 0;
    const char* text = m_pDocument->GetTextAt(0);
    m_pTopLine = MoveByLines(GetVertPos(), &lineLength, &top, text);
    m_nTopIndex = top;
    if (m_nIndex > shortest)
        m_nIndex = shortest;
    m_pSelection->ClampTo(shortest);
    if (m_pScrollBars)
        m_pScrollBars->Recalculate();
    if (HasFocus())
        MoveCaret(caret);
    InvalidateView();
    UpdateCommandState();
    return 1;
}
