// The edits of a document that can be undone, and their undo and redo.
#include "document/TextDocument.h"

#include <string.h>

#include <new>

#include "base/ErrorBox.h"
#include "document/DocumentOwner.h"
#include "document/EditAction.h"
#include "document/EditHistory.h"
#include "document/SavedString.h"

// count >= 0 bytes from index, all within the text.
static int HoldsRange(const CTextDocument* document, int index, int count)
{
    return index >= 0 && count >= 0 && count <= document->GetTextLength() - index;
}

// Every edit records a step: when its memory is short the user hears of it once, here.
static void NoRoomForStep(const CTextDocument* document, CEditAction* action)
{
    delete action;
    ShowOutOfMemory(document->GetOwnerWindow());
}

// An action of the given type holding a copy of count bytes; null when memory is short.
static CEditAction* NewAction(const CTextDocument* document, int type, int index,
                              const char* bytes, int count)
{
    CEditAction* action = new (std::nothrow) CEditAction(type);
    if (action) {
        action->m_nIndex = index;
        action->m_nLength = count;
        action->m_pText = CopyBytes(bytes, count);
        if (action->m_pText)
            return action;
    }
    NoRoomForStep(document, action);
    return nullptr;
}

// Records the action's step, then makes its edit. An edit that cannot be made, or a step
// that cannot be recorded, leaves the text and the history as they were: a step recorded
// for an edit that did not happen would, when undone, take away bytes that belong to
// others. The step is taken in first, so that the edit is never made and then taken back.
static int Perform(CTextDocument* document, CEditHistory* history, CEditAction* action)
{
    if (!action)
        return 0;
    if (!history->Append(action)) {
        NoRoomForStep(document, action);
        return 0;
    }
    if (!action->Apply(document)) {
        history->Drop();
        delete action;
        return 0;
    }
    history->Commit();
    return 1;
}

int CTextDocument::InsertWithUndo(int index, const char* bytes, int count)
{
    if (!bytes || count <= 0)
        return 0;
    return Perform(this, m_pHistory, NewAction(this, EDIT_INSERT, index, bytes, count));
}

int CTextDocument::RemoveWithUndo(int index, int count)
{
    if (count <= 0 || !HoldsRange(this, index, count))
        return 0;
    return Perform(this, m_pHistory, NewAction(this, EDIT_REMOVE, index, m_pText + index, count));
}

int CTextDocument::ReplaceWithUndo(int index, int oldCount, const char* bytes, int newCount)
{
    if (!HoldsRange(this, index, oldCount) || newCount < 0 ||
        (oldCount == 0 && newCount == 0))
        return 0;
    if (newCount > 0 && (!bytes || memchr(bytes, 0, newCount)))
        return 0;
    CEditAction* action = NewAction(this, EDIT_REPLACE, index, m_pText + index, oldCount);
    if (!action)
        return 0;
    action->m_nTarget = index;
    action->m_nSecondLength = newCount;
    action->m_pSecondText = CopyBytes(bytes, newCount);
    if (!action->m_pSecondText) {
        NoRoomForStep(this, action);
        return 0;
    }
    return Perform(this, m_pHistory, action);
}

int CTextDocument::MoveWithUndo(int source, int target, int count)
{
    if (count <= 0 || !HoldsRange(this, source, count) || target < 0 ||
        target > GetTextLength())
        return 0;
    // A target inside the moved bytes has no place once they are taken out.
    if (source < target && target < source + count)
        return 0;
    CEditAction* action = NewAction(this, EDIT_MOVE, source, m_pText + source, count);
    if (!action)
        return 0;
    action->m_nSecondLength = count;
    action->m_nTarget = source < target ? target - count : target;
    return Perform(this, m_pHistory, action);
}

// matchCase tells how the occurrences were found; their spellings are compared either way.
int CTextDocument::ReplaceAllWithUndo(const int* indexes, int count, int oldLength,
                                      const char* bytes, int newLength, int)
{
    if (!indexes || count <= 0 || oldLength <= 0 || newLength < 0)
        return 0;
    if (newLength > 0 && (!bytes || memchr(bytes, 0, newLength)))
        return 0;
    // Ascending, apart and within the text, or the replay would not be exact.
    int next = 0;
    for (int i = 0; i < count; i++) {
        if (indexes[i] < next || !HoldsRange(this, indexes[i], oldLength))
            return 0;
        next = indexes[i] + oldLength;
    }
    CEditAction* action = new (std::nothrow) CEditAction(EDIT_REPLACE_ALL);
    if (action) {
        action->m_nLength = oldLength;
        action->m_nSecondLength = newLength;
        action->m_pSecondText = CopyBytes(bytes, newLength);
    }
    if (!action || !action->m_pSecondText || !action->SetOccurrences(m_pText, indexes, count)) {
        NoRoomForStep(this, action);
        return 0;
    }
    return Perform(this, m_pHistory, action);
}

int CTextDocument::Undo()
{
    if (!m_pHistory->CanUndo())
        return 0;
    // Before the text changes, so that each view can drop its selection.
    TellViews(m_pOwner, DOC_UNDO_STARTING, 0, 0);
    m_pHistory->Undo();
    return m_pHistory->CanUndo();
}

int CTextDocument::Redo()
{
    if (!m_pHistory->CanRedo())
        return 0;
    // A selection kept over the redone edit would cover other bytes afterwards.
    TellViews(m_pOwner, DOC_UNDO_STARTING, 0, 0);
    m_pHistory->Redo();
    return m_pHistory->CanRedo();
}

int CTextDocument::CanUndo() const
{
    return m_pHistory->CanUndo();
}

int CTextDocument::CanRedo() const
{
    return m_pHistory->CanRedo();
}
