#pragma once

class CEditDisplay;

// The record of a drag of the selection. The source is the view whose selection is the
// dragged text; the holder is the one view that has the record now and frees it. Every
// record is known to the class, so that a source going away can end its drag where it is.
class CDragInfo {
public:
    enum { DRAG_MOVE = 1, DRAG_MENU = 2 };
    CDragInfo(CEditDisplay* source, short kind);
    virtual ~CDragInfo();

    // The holders of every drag whose source is view end it; for a view being destroyed.
    static void SourceGone(const CEditDisplay* view);

    CEditDisplay* m_pSource;
    CEditDisplay* m_pHolder;
    short m_nKind;

private:
    CDragInfo(const CDragInfo&);
    CDragInfo& operator=(const CDragInfo&);
    CDragInfo* m_pNext;
    static CDragInfo* s_pFirst;
};
