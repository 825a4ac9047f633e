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

    // Takes an action in before its edit is made, so that recording cannot fail once the
    // text has changed: 0 (nothing changed) when memory is short. Then either Commit, once
    // the edit is made, or Drop, when it could not be.
    int Append(CEditAction* action);
    // The appended action takes the place of what could have been redone and, past the
    // limit, of the oldest; the history owns it from then on.
    void Commit();
    // Gives the appended action back to the caller.
    void Drop();
    int Undo();
    int Redo();
    int CanUndo() const { return m_nPosition > 0; }
    int CanRedo() const { return m_nPosition < m_pActions->GetCount() - m_bAppended; }

    CPtrList* m_pActions;
    CTextDocument* m_pDocument;
    int m_nPosition;
    // An action appended and neither committed nor dropped yet, last in the list.
    int m_bAppended;

private:
    CEditHistory(const CEditHistory&);
    CEditHistory& operator=(const CEditHistory&);
};
