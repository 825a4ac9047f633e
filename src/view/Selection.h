#pragma once
#include <windows.h>

class CEditDisplay;
class CSelectionState;

// The selection of one view: the range between a fixed anchor and a moving extent.
// Region coordinates: x in document pixels (left margin included, horizontal scrolling
// not subtracted), y in client pixels from the top of the top visible line.
class CSelection {
public:
    explicit CSelection(CEditDisplay* view);
    virtual ~CSelection();

    void Clear();
    void Extend(int index);
    // An empty selection starts again at index, whatever anchor it had before.
    void AnchorAt(int index);
    int IsEmpty() const { return m_nLength == 0; }
    int Start() const { return m_nAnchor < m_nExtent ? m_nAnchor : m_nExtent; }
    int End() const { return m_nAnchor < m_nExtent ? m_nExtent : m_nAnchor; }
    int Contains(int index) const { return Start() < index && index < End(); }
    void SaveState(CSelectionState* state) const;
    // Keeps both ends inside a text of length bytes, after an edit made elsewhere.
    void ClampTo(int length);

    // A CF_TEXT block of the selected text with CR LF line breaks; length gets its size.
    HGLOBAL ClipboardText(int* length) const;
    int VisibleRange(int* start, int* length) const;
    HRGN BuildRegion(int* start, int* length) const;
    // Fills region, built by BuildRegion for [start, start + length), and draws the
    // selected text over it.
    void Paint(HDC dc, HRGN region, int start, int length) const;
    int HitTest(POINT client) const;

    POINT m_ptAnchor;
    CEditDisplay* m_pView;
    int m_nLength;
    int m_nAnchor;
    int m_nExtent;
    int m_bFresh;

private:
    CSelection(const CSelection&);
    CSelection& operator=(const CSelection&);
    POINT RegionPoint(int index) const;
    template <class F> void WalkLines(int s, int L, F f) const;
};
