#include "document/EditHistory.h"

#include <new>

#include "document/EditAction.h"

CEditHistory::CEditHistory(CTextDocument* document)
    : m_pActions(new (std::nothrow) CPtrList(1)), m_pDocument(document), m_nPosition(0),
      m_bAppended(0)
{
}

CEditHistory::~CEditHistory()
{
    delete m_pActions;
}

int CEditHistory::Append(CEditAction* action)
{
    m_bAppended = m_pActions->AddTail(action) ? 1 : 0;
    return m_bAppended;
}

void CEditHistory::Drop()
{
    m_pActions->RemoveAt(m_pActions->GetCount() - 1);
    m_bAppended = 0;
}

void CEditHistory::Commit()
{
    m_bAppended = 0;
    while (m_pActions->GetCount() - 1 > m_nPosition)
        delete static_cast<CEditAction*>(m_pActions->RemoveAt(m_nPosition));
    if (m_pActions->GetCount() > HISTORY_LIMIT)
        delete static_cast<CEditAction*>(m_pActions->RemoveAt(0));
    m_nPosition = m_pActions->GetCount();
}

int CEditHistory::Undo()
{
    if (!CanUndo())
        return 0;
    m_nPosition--;
    static_cast<CEditAction*>(m_pActions->GetAt(m_nPosition))->Undo(m_pDocument);
    return 1;
}

int CEditHistory::Redo()
{
    if (!CanRedo())
        return 0;
    // A step that could not be made again stays to be redone: text and history agree.
    if (!static_cast<CEditAction*>(m_pActions->GetAt(m_nPosition))->Apply(m_pDocument))
        return 0;
    m_nPosition++;
    return 1;
}
