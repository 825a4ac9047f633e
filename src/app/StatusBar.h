#pragma once
#include <windows.h>

#include "base/PtrList.h"

// What an update request copies (CStatusPane::m_wMask).
const WORD PANE_MASK_TEXT = 1;
const WORD PANE_MASK_STYLE = 2 | 4;
const WORD PANE_MASK_WIDTH = 8;

// How a pane behaves (CStatusPane::m_wFlags).
const WORD PANE_SHRINKS = 1;
const WORD PANE_RIGHT = 2;
const WORD PANE_TOOLTIP = 4;
const WORD PANE_FIXED = 8;

const UINT PANE_MESSAGE = 100;
const int PANE_MIN_WIDTH = 10;

// One pane of the status bar, copied by value into and out of the bar.
struct CStatusPane {
    UINT m_nId;
    UINT m_nStyle; // SBT_ drawing style
    int m_nFixedWidth;
    WORD m_wMask;
    WORD m_wFlags;
    char m_szText[256];
};
static_assert(sizeof(CStatusPane) == 272, "pane records are 272 bytes");

// The status window along the main window's bottom edge: an ordered row of panes
// (left group, the message pane that takes the spare width, right group) and the
// control's simple mode, which shows one text over the whole bar.
class CStatusBar {
public:
    explicit CStatusBar(HWND parent);
    virtual ~CStatusBar();

    int AddPanes(const CStatusPane* panes, WORD count);
    void RemoveAddedPanes();
    int RemovePane(UINT id);
    int UpdatePane(const CStatusPane* request);
    void ApplyLayout();
    void SetSimple(int on);
    void SetSimpleText(const CStatusPane* pane);
    int IsSimple() const { return m_bSimple; }
    HWND GetWindow() const { return m_hWnd; }
    void ForwardSize(WPARAM type, int width, int height);

    // The pane at a position, left to right; null past the end.
    CStatusPane* PaneAt(int index) const;
    CStatusPane* FindPane(UINT id, int* index) const;

    HWND m_hWnd;
    CStatusPane m_simple;
    CPtrList* m_pPanes;
    int m_nLeftCount;
    int m_nRightCount;
    int m_nBorders[3]; // horizontal border, vertical border, gap between panes
    int m_bSimple;

private:
    CStatusBar(const CStatusBar&);
    CStatusBar& operator=(const CStatusBar&);
    int InsertPane(const CStatusPane* pane, int position);
    void RemovePaneAt(int index);
};

// The editor's own panes: the caret position on the left and the lock keys on the right,
// shown while any document is open.
const UINT PANE_POSITION = 101;
const UINT PANE_CAPS = 102;
const UINT PANE_NUM = 103;

void ShowEditorPanes(int on);
void UpdateLockIndicators();
