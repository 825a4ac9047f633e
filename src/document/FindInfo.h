#pragma once
#include <windows.h>

#include "base/PtrList.h"
#include "document/TextMatch.h"

class CEditDisplay;
class CTextDocument;

extern const char FIND_NOT_FOUND_TEXT[];
extern const char FIND_FINAL_TEXT[];

// One half of the find state: the scan of the Find dialog, or that of the Replace dialog.
struct CFindHalf {
    char* pattern;
    int match;
    int next;
    int stop;
    int length;
    int options;
    int count;
    int fresh;
    int dirty;
    // the document's change count when this half last ran, its own replacements included
    unsigned int seen;
};

// The find and replace state of one view. Each half scans the text once round from
// where it started, and restarts at the caret once the caret or the text has changed.
// The messages are owned by the window that made the call (the dialog).
class CFindInfo : public CObject {
public:
    explicit CFindInfo(CEditDisplay* view);
    virtual ~CFindInfo();

    void FindNext(HWND owner, const char* pattern, int options);
    void ReplaceFindNext(HWND owner, const char* pattern, const char* replacement, int options);
    void ReplaceNext(HWND owner, const char* pattern, const char* replacement, int options);
    void ReplaceAll(HWND owner, const char* pattern, const char* replacement, int options);
    void MarkDirty();

    CFindHalf m_find;
    CFindHalf m_replace;
    char* m_pReplacement;
    int m_nReplacePrevious;
    int m_nReplacementLength;
    int m_bReplaceDone;
    CEditDisplay* m_pView;
    CTextDocument* m_pDocument;

private:
    CFindInfo(const CFindInfo&);
    CFindInfo& operator=(const CFindInfo&);
    int SetHalf(CFindHalf* half, const char* pattern, int options);
    int SetReplacement(const char* replacement);
    int Scan(CFindHalf* half);
    int Successor(const CFindHalf* half, int i) const;
    void Message(HWND owner, const char* text) const;
    int ReplacePending();
    void Remember(CFindHalf* half);
    // Memory for a copy or a table was short: reported with the document's owner window.
    void ReportNoMemory() const;
    char* CopyString(const char* s) const;

    CTextMatcher m_matcher;
};
