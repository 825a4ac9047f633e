#pragma once

#include "base/PtrList.h"

class CEditAction;
class CTextDocument;

// How many edits can be undone.
const int HISTORY_LIMIT = 25;

// The undo steps of one document, oldest first. The first m_nPosition actions are
// applied (undo takes the last of them); the rest can be redone, the first first.
class CEditHistory : public CObject {
public:
    explicit CEditHistory(CTextDocument* document);
    virtual ~CEditHistory();

    // Appends an applied action, discarding what could have been redone and, past the
    // limit, the oldest; owns it from then on. 0 (nothing changed) when memory is short.
    int Add(CEditAction* action);
    int Undo();
    int Redo();
    int CanUndo() const { return m_nPosition > 0; }
    int CanRedo() const { return m_nPosition < m_pActions->GetCount(); }

    CPtrList* m_pActions;
    CTextDocument* m_pDocument;
    int m_nPosition;

private:
    CEditHistory(const CEditHistory&);
    CEditHistory& operator=(const CEditHistory&);
};
