#include "view/DragInfo.h"

#include "view/EditDisplay.h"

CDragInfo* CDragInfo::s_pFirst = nullptr;

CDragInfo::CDragInfo(CEditDisplay* source, short kind)
    : m_pSource(source), m_pHolder(source), m_nKind(kind), m_pNext(s_pFirst)
{
    s_pFirst = this;
}

CDragInfo::~CDragInfo()
{
    for (CDragInfo** link = &s_pFirst; *link; link = &(*link)->m_pNext) {
        if (*link == this) {
            *link = m_pNext;
            break;
        }
    }
}

void CDragInfo::SourceGone(const CEditDisplay* view)
{
    // Each cancel frees its record, so the walk starts again after every one.
    for (CDragInfo* drag = s_pFirst; drag;) {
        if (drag->m_pSource == view && drag->m_pHolder != view) {
            CEditDisplay* holder = drag->m_pHolder;
            if (holder->m_pDrag == drag)
                holder->CancelDrag();
            else
                delete drag;
            drag = s_pFirst;
        } else {
            drag = drag->m_pNext;
        }
    }
}
