#pragma once

// What an edit command needs to know of the selection, taken before it changes anything.
class CSelectionState {
public:
    CSelectionState() : m_nAnchorX(0), m_nAnchorY(0), m_nLength(0), m_nStart(0), m_nEnd(0) {}
    virtual ~CSelectionState() {}

    int m_nAnchorX;
    int m_nAnchorY;
    int m_nLength;
    int m_nStart;
    int m_nEnd;
};
