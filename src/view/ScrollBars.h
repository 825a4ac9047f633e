#pragma once
#include <windows.h>

class CDocFrame;
class CEditDisplay;

// Control ids of the three scroll bar windows in a document frame.
const int IDC_HORZ_SCROLL = 10003;
const int IDC_VERT_SCROLL = 10004;
const int IDC_SIZE_BOX = 10005;

// The scroll bar pair of one view: controls in the document frame beside and below the
// view, and the two positions it draws from. Vertically one unit is a line, horizontally
// one average character width.
class CScrollBars {
public:
    CScrollBars(CEditDisplay* view, CDocFrame* frame);
    virtual ~CScrollBars();

    // 0 when a control could not be created (reported): the caller deletes the object.
    int IsCreated() const { return m_hVertBar != nullptr; }

    void Recalculate();
    void Layout();
    void VScroll(int code);
    void HScroll(int code);
    int SetVertPos(int pos, int notify);
    int SetHorzPos(int pos, int notify);

    int GetVertPos() const { return m_vert.nPos; }
    int GetHorzPos() const { return m_horz.nPos; }
    int GetVertMin() const { return 0; }
    int GetHorzMin() const { return 0; }
    int GetVertMax() const { return m_nVertMax; }
    int GetHorzMax() const { return m_nHorzMax; }
    HWND GetVertBar() const { return m_hVertBar; }
    HWND GetHorzBar() const { return m_hHorzBar; }

    // Between Hold and Release the bars take their new ranges and positions without being
    // drawn; Release draws a changed bar once, and only when its thumb or arrows moved.
    void Hold();
    void Release();

    // What a bar showed when it was last drawn, and whether it has changed since.
    struct Look {
        int pending;
        int known;
        SCROLLBARINFO info;
    };

    CEditDisplay* m_pView;
    CDocFrame* m_pFrame;
    SCROLLINFO m_vert;
    SCROLLINFO m_horz;
    short m_cxVScroll;
    short m_cyVArrow;
    short m_cxHArrow;
    short m_cyHScroll;
    HWND m_hVertBar;
    HWND m_hHorzBar;
    HWND m_hSizeBox;
    int m_nVertMax;
    int m_nHorzMax;

private:
    CScrollBars(const CScrollBars&);
    CScrollBars& operator=(const CScrollBars&);
    void ReadMetrics();
    void SetBar(HWND bar, Look* look, const SCROLLINFO& info);
    void Show(HWND bar, Look* look, int pos, int max);
    void ChangeBar(HWND bar, Look* look, const SCROLLINFO& info, int max);
    void MovePosition(HWND bar, Look* look, int pos, int max);
    int NewPosition(int code, HWND bar, const SCROLLINFO& info, int max) const;

    int m_nHeld;
    Look m_horzLook;
    Look m_vertLook;
};
