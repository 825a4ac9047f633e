#pragma once

class CEditDisplay;

// The find and replace state of one view. Each half restarts its scan at the caret
// once the caret or the text has changed.
class CFindInfo {
public:
    explicit CFindInfo(CEditDisplay* view);
    virtual ~CFindInfo();

    void MarkDirty();

    CEditDisplay* m_pView;
    int m_bFindDirty;
    int m_bReplaceDirty;

private:
    CFindInfo(const CFindInfo&);
    CFindInfo& operator=(const CFindInfo&);
};
