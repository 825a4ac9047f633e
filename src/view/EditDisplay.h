#pragma once
#include <windows.h>

#include "base/PtrList.h"

class CDocFrame;
class CDragInfo;
class CFindInfo;
class CFontInfo;
class COpenDocument;
class CScrollBars;
class CSelection;
class CTextDocument;

// Auto-scroll zones of a point in or near a view.
enum { SCROLL_NONE = 1112, SCROLL_SLOW = 1113, SCROLL_FAST = 1114 };

// Text column 0 is drawn this far from the view's left edge.
const int VIEW_LEFT_MARGIN = 10;

// The view state bits of m_nState: the mouse's selection, drag and auto-scroll states.
enum {
    VS_RIGHT_DRAG = 0x01,
    VS_FAST_SCROLL = 0x02,
    VS_CAPTION_DIMMED = 0x04,
    VS_LEFT_DRAG = 0x08,
    VS_AUTO_SCROLL = 0x10,
    VS_SELECTING = 0x20,
    VS_OVER_VIEW = 0x40
};

// What a case conversion does to the selected letters.
enum CaseMode { CASE_LOWER = 1, CASE_UPPER = 2, CASE_INVERT = 3 };
// Which scroll offsets a device context's window origin takes on.
enum OriginMode { ORIGIN_BOTH = 0, ORIGIN_HORIZONTAL = 1, ORIGIN_VERTICAL = 2 };

// The editing view: one per "Display" window. It shows one document from its top line
// on, owns the caret, the selection and an off-screen picture, and turns keys and
// commands into edits of the document, which tells every view of it what changed.
class CEditDisplay : public CObject {
public:
    // Creates the "Display" child of the frame; m_hWnd stays null when that failed
    // (reported), and the caller then deletes the object.
    CEditDisplay(COpenDocument* owner, CDocFrame* frame);
    virtual ~CEditDisplay();

    // caret and index (EditCaret.cpp)
    int SetIndex(int index);
    int MoveCaret(int index);
    void UpdateCaret(int show);
    int PointFromIndex(int index, POINT* pt) const;
    int CaretFromPoint(POINT client);
    void ComputeLineLayout(int line);
    void LayOutLineAt(int index);
    POINT CaretClientPoint() const;
    void ScrollCaretIntoView(POINT* client);
    // The caret's zero-based row and column, as the status bar shows them.
    void CaretRowColumn(int* row, int* column) const;
    void PublishCaretPosition() const;
    int NearestIndexOnLine(const char* lineStart, int lineIndex, int length, int x) const;

    // keyboard and the selection edits it makes (EditKeyboard.cpp)
    void OnKeyDown(UINT key);
    void OnChar(unsigned char ch);
    void MoveLeft(int shift, int ctrl);
    void MoveRight(int shift, int ctrl);
    void MoveVertically(int down, int shift, int ctrl);
    int DeleteSelection();
    int ReplaceSelection(const char* bytes, int count);

    // clipboard, delete and case commands (EditCommands.cpp); each edit is one undo step
    int OnEditCommand(int id);
    int PlaceOnClipboard();
    int Copy();
    int Cut();
    int Paste();
    int DeleteCommand();
    int ConvertCase(CaseMode mode);

    // picture (EditPaint.cpp)
    void InvalidateView();
    // Marks part of the picture stale while the rest stays as it is.
    void InvalidatePart(const RECT& part);
    // Rows row to last of the picture, counted from the top line.
    void InvalidateRowsFrom(int row, int last);
    void ShiftPicture(int dx);
    void ForgetStaleParts();
    void SetupDC(HDC dc, OriginMode mode) const;
    void PaintInto(HDC target);
    void DrawPicture(HDC dc, int width, int height);
    void DrawPart(HDC dc, const RECT& part, int height);
    void DrawLines(HDC dc, const RECT& part, int height, HRGN selected) const;
    void RecreateBitmap();
    void OnSizing(int edge);
    void OnExitSizeMove();

    // mouse buttons, moves and the cursor (EditMouse.cpp)
    void OnLeftButtonDown(int x, int y, int doubleClick);
    void OnLeftButtonUp();
    void OnRightButtonDown(int x, int y);
    void OnRightButtonUp(int x, int y);
    void OnMouseMove();
    void OnCaptureChanged();
    void OnTimer(UINT_PTR id);
    int PointInSelection(POINT client) const;
    void SetMouseCursor() const;
    RECT VisibleArea() const;
    int InVisibleArea(POINT client) const;

    // drag and drop of the selection, within and between views (EditDrag.cpp)
    void StartDrag(short kind);
    void EndDrag();
    void LeftDrop();
    void OnDropCommand(int id);
    void OnHandOverTimer();
    // Ends the drag this view holds without a drop (its source is going, or the mouse went
    // elsewhere): no text changes, the capture goes.
    void CancelDrag();
    // Stops auto-scroll and a hover over another view, with their timers.
    void StopTimers();
    // Forgets the small box round a press that tells a click from the start of a drag.
    void DropDragRegion();
    void ActivateFrame();
    int IsActiveFrame() const;

    // auto-scroll at the edges while selecting or dragging (AutoScroll.cpp)
    int ScrollZone(POINT client) const;
    void CheckAutoScroll(POINT client);
    int ScrollStep(POINT screen) const;
    void OnAutoScrollTimer();

    // window, commands and the document's notifications (EditDisplay.cpp)
    void OnSize();
    void OnSetFocus();
    void OnKillFocus();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnInitMenuPopup(HMENU menu, int index);
    void OnMouseWheel(int delta);
    int IsDocumentVisible() const;
    void UpdateCommandState();
    int CanDelete() const;
    void OnSelectionChanged();
    void SelectAll();
    void ShowSelectionUnfocused();
    void ScrollBy(int columns, int lines);
    void OnVScroll(int code);
    void OnHScroll(int code);
    void AttachScrollBars(CScrollBars* bars);
    void PlaceWindow();
    int SetState(unsigned int bits);
    int ClearState(unsigned int bits);
    int TestState(unsigned int bits) const { return (m_nState & bits) == bits; }

    int OnBufferMoved();
    int OnTextInserted(int index, int count);
    int OnTextRemoving(int index, int count);
    int OnTextRemoved(int index, int count);
    int OnUndoStarting();
    int OnFontChanged();
    int OnTextReplaced(int caret, int shortest);

    HWND GetWindow() const { return m_hWnd; }
    CTextDocument* GetDocument() const { return m_pDocument; }
    COpenDocument* GetOwner() const { return m_pOwner; }
    CFindInfo* GetFindInfo() const { return m_pFind; }
    CFontInfo* GetFontInfo() const;
    COLORREF GetTextColour() const;
    int GetLineHeight() const { return m_nLineHeight; }
    int GetCharWidth() const { return m_nCharWidth; }
    int GetTopIndex() const { return m_nTopIndex; }
    int GetIndex() const { return m_nIndex; }
    int GetWidestLineWidth() const;
    int GetVertPos() const;
    int GetHorzPos() const;
    int HasFocus() const { return m_hWnd && GetFocus() == m_hWnd; }

    HWND m_hWnd;
    int m_bSizing;
    POINT m_ptCaret;
    int m_nIndex;
    int m_bCaretExists;
    CSelection* m_pSelection;
    int m_bPaintSelectionUnfocused;
    HWND m_hWndDropTarget;
    CDragInfo* m_pDrag;
    CFindInfo* m_pFind;
    int m_nCaretLine;
    int m_nLineOverhang;
    int m_nTopIndex;
    const char* m_pTopLine;
    CScrollBars* m_pScrollBars;
    int m_nLineHeight;
    int m_nCharWidth;
    unsigned short m_nScrollSpeed;
    short m_nSpeedTicks;
    HDC m_hMemDC;
    HBITMAP m_hBitmap;
    int m_bDirty;
    // While m_bDirty is 0, the parts of the picture to draw again before it is shown:
    // edited rows, and the columns a sideways scroll brought in. Kept apart, an edited row
    // and a new strip at the edge do not add up to the whole picture.
    RECT m_rcStale;
    RECT m_rcExposed;
    int m_nBitmapWidth;
    int m_nBitmapHeight;
    HRGN m_hDragRgn;
    COpenDocument* m_pOwner;
    CDocFrame* m_pFrame;
    CTextDocument* m_pDocument;
    POINT m_ptDesired;
    unsigned int m_nState;
    int m_bCaptureReleased;
    // text index of the line that m_nLineOverhang describes; -1 once the text has changed
    int m_nLayoutStart;

private:
    CEditDisplay(const CEditDisplay&);
    CEditDisplay& operator=(const CEditDisplay&);
    void Abandon(const char* caption, DWORD error);
    void ReplaceBitmap(int width, int height);
    void ClampToText();
    void LayOutLine(int line, int start, int length);
    void InvalidateEdit(int index, int breaks);
    void ForgetMeasurements();
    void SetMenuState(HMENU menu, UINT item, int byPosition, int enabled) const;
    void SelectWordAtCaret();
    void TrackMenu(int resource, POINT client);
    int PlaceDraggedText(int k, int copy);
    void TakeDrag(CDragInfo* drag);
    void TakeMouse();
    void ReleaseMouse();
    void AbandonDrags();
    int IsDragging() const { return (m_nState & (VS_LEFT_DRAG | VS_RIGHT_DRAG)) != 0; }
    int EdgeBand() const { return m_nLineHeight < 15 ? m_nLineHeight : 15; }
};

// The text of a CF_TEXT block as the document holds it: up to the first NUL or the block's
// end, each line end one CR. A NUL-terminated copy to free with delete[], or null: then
// count is -1 when memory was short.
char* ClipboardBlockText(HGLOBAL data, int* count);

// Whether CF_TEXT is on the clipboard, asked again only after the clipboard changed.
int ClipboardHasText();

// The view of a "Display" window of this process, or null for any other window.
CEditDisplay* ViewOfWindow(HWND window);

// Paints a frame window's caption as active or inactive, with its three buttons.
void DrawFrameCaption(HWND window, int active);
