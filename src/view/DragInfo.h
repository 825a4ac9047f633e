#pragma once

class CEditDisplay;

// The record of a drag of the selection; it travels with the drag from view to view.
class CDragInfo {
public:
    enum { DRAG_MOVE = 1, DRAG_MENU = 2 };
    CDragInfo(CEditDisplay* source, short kind) : m_pSource(source), m_nKind(kind) {}
    virtual ~CDragInfo() {}

    CEditDisplay* m_pSource;
    short m_nKind;
};
