#include "view/EditDisplay.h"

#include "document/TextDocument.h"
#include "document/TextHelpers.h"

CEditDisplay::CEditDisplay(CTextDocument* document)
    : m_pDocument(document), m_nTopIndex(0), m_pTopLine(document->GetTextAt(0))
{
}

CEditDisplay::~CEditDisplay()
{
}

int CEditDisplay::OnBufferMoved()
{
    m_pTopLine = m_pDocument->GetTextAt(m_nTopIndex);
    return 1;
}

int CEditDisplay::OnTextInserted(int index, int count)
{
    // Text inserted above the top line pushes it down: the same line stays at the top.
    if (index < m_nTopIndex) {
        m_nTopIndex += count;
        m_pTopLine += count;
    }
    return 1;
}

int CEditDisplay::OnTextRemoving(int index, int count)
{
    if (index >= m_nTopIndex)
        return 1;
    if (index + count < m_nTopIndex) {
        m_nTopIndex -= count;
        m_pTopLine -= count;
        return 1;
    }
    // The removal reaches the top line: the line holding index becomes the top.
    int lineLength;
    int top = index;
    m_pTopLine = MoveByLines(0, &lineLength, &top, m_pDocument->GetTextAt(index));
    m_nTopIndex = top;
    return 1;
}

int CEditDisplay::OnTextRemoved(int, int)
{
    return 1;
}

int CEditDisplay::OnUndoStarting()
{
    return 1;
}

int CEditDisplay::OnFontChanged()
{
    return 1;
}

int NotifyBufferMoved(CEditDisplay* view, void*)
{
    return view->OnBufferMoved();
}

int NotifyTextInserted(CEditDisplay* view, void* notice)
{
    CEditNotice* n = static_cast<CEditNotice*>(notice);
    return view->OnTextInserted(n->index, n->count);
}

int NotifyTextRemoving(CEditDisplay* view, void* notice)
{
    CEditNotice* n = static_cast<CEditNotice*>(notice);
    return view->OnTextRemoving(n->index, n->count);
}

int NotifyTextRemoved(CEditDisplay* view, void* notice)
{
    CEditNotice* n = static_cast<CEditNotice*>(notice);
    return view->OnTextRemoved(n->index, n->count);
}

int NotifyUndoStarting(CEditDisplay* view, void*)
{
    return view->OnUndoStarting();
}

int NotifyFontChanged(CEditDisplay* view, void*)
{
    return view->OnFontChanged();
}
