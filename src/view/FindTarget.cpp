// The view's side of the search: what the find state reads from and does to its view.
#include "document/FindView.h"

#include "view/EditDisplay.h"
#include "view/Selection.h"

CTextDocument* FindViewDocument(CEditDisplay* view)
{
    return view->GetDocument();
}

int FindViewCaret(CEditDisplay* view)
{
    return view->GetIndex();
}

void FindViewClearSelection(CEditDisplay* view)
{
    view->m_pSelection->Clear();
}

void FindViewSelect(CEditDisplay* view, int start, int end)
{
    view->m_pSelection->Clear();
    view->MoveCaret(start);
    view->m_pSelection->Extend(start);
    view->MoveCaret(end);
    view->m_pSelection->Extend(end);
    view->ShowSelectionUnfocused();
}

void FindViewPlaceCaret(CEditDisplay* view, int index)
{
    view->MoveCaret(index);
    view->ShowSelectionUnfocused();
}
