#include "document/TextDocument.h"

#include <new>

#include "document/LineSort.h"

CLineSort* CTextDocument::NewLineSort(SortNotify notify, void* context)
{
    return new (std::nothrow)
        CLineSort(m_pText, GetTextLength(), m_wSortFlags, &m_bSortCancel, notify, context);
}

int CTextDocument::ApplySortedText(const CLineSort& sort)
{
    if (!sort.GetResult() || sort.GetLength() != GetTextLength())
        return 0;
    return ReplaceWithUndo(0, sort.GetLength(), sort.GetResult(), sort.GetLength());
}

int CTextDocument::SortLinesNow(int order, SortNotify notify, void* context)
{
    m_wSortFlags = static_cast<WORD>(order);
    m_bSortCancel = 0;
    CLineSort* sort = NewLineSort(notify, context);
    if (!sort)
        return 0;
    int applied = sort->Run() && ApplySortedText(*sort);
    delete sort;
    return applied;
}
