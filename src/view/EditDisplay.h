#pragma once
#include <windows.h>

#include "document/PtrList.h"

class CTextDocument;

// The view of a document in one frame: which text is at its top, and how it
// follows the edits that any view of the same document makes.
class CEditDisplay : public CObject {
public:
    explicit CEditDisplay(CTextDocument* document);
    virtual ~CEditDisplay();

    int OnBufferMoved();
    int OnTextInserted(int index, int count);
    int OnTextRemoving(int index, int count);
    int OnTextRemoved(int index, int count);
    int OnUndoStarting();
    int OnFontChanged();

    CTextDocument* m_pDocument;
    int m_nTopIndex;
    const char* m_pTopLine;

private:
    CEditDisplay(const CEditDisplay&);
    CEditDisplay& operator=(const CEditDisplay&);
};

// The document's notifications, in the form that COpenDocument::ForEachView calls.
struct CEditNotice {
    int index;
    int count;
};
int NotifyBufferMoved(CEditDisplay* view, void* notice);
int NotifyTextInserted(CEditDisplay* view, void* notice);
int NotifyTextRemoving(CEditDisplay* view, void* notice);
int NotifyTextRemoved(CEditDisplay* view, void* notice);
int NotifyUndoStarting(CEditDisplay* view, void* notice);
int NotifyFontChanged(CEditDisplay* view, void* notice);
