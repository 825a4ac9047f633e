#include "document/FindInfo.h"
#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"
#include "view/WordMotion.h"

static int KeyDown(int key)
{
    return GetKeyState(key) < 0;
}

void CEditDisplay::OnKeyDown(UINT key)
{
    int shift = KeyDown(VK_SHIFT), ctrl = KeyDown(VK_CONTROL);
    int lineLength, start;
    switch (key) {
    case VK_PRIOR:
        if (shift)
            OnHScroll(SB_PAGELEFT);
        else
            OnVScroll(SB_PAGEUP);
        break;
    case VK_NEXT:
        if (shift)
            OnHScroll(SB_PAGERIGHT);
        else
            OnVScroll(SB_PAGEDOWN);
        break;
    case VK_HOME:
        m_pSelection->Clear();
        m_pDocument->LineAt(m_nIndex, &start, &lineLength);
        MoveCaret(start);
        m_pFind->MarkDirty();
        break;
    case VK_END:
        m_pSelection->Clear();
        m_pDocument->LineAt(m_nIndex, &start, &lineLength);
        MoveCaret(start + lineLength);
        m_pFind->MarkDirty();
        break;
    case VK_LEFT:
        MoveLeft(shift, ctrl);
        break;
    case VK_RIGHT:
        MoveRight(shift, ctrl);
        break;
    case VK_UP:
        MoveVertically(0, shift, ctrl);
        break;
    case VK_DOWN:
        MoveVertically(1, shift, ctrl);
        break;
    default:
        return;
    }
    UpdateCommandState();
}

void CEditDisplay::MoveLeft(int shift, int ctrl)
{
    if (!m_pSelection->IsEmpty() && !shift) {
        MoveCaret(m_pSelection->Start());
        m_pSelection->Clear();
        m_pFind->MarkDirty();
        return;
    }
    if (m_nIndex == 0)
        return;
    if (shift)
        m_pSelection->AnchorAt(m_nIndex);
    MoveCaret(ctrl ? WordLeftIndex(m_pDocument->GetTextAt(0), m_nIndex) : m_nIndex - 1);
    if (shift)
        m_pSelection->Extend(m_nIndex);
    m_pFind->MarkDirty();
}

void CEditDisplay::MoveRight(int shift, int ctrl)
{
    if (!m_pSelection->IsEmpty() && !shift) {
        MoveCaret(m_pSelection->End());
        m_pSelection->Clear();
        m_pFind->MarkDirty();
        return;
    }
    if (m_nIndex == m_pDocument->GetTextLength())
        return;
    if (shift)
        m_pSelection->AnchorAt(m_nIndex);
    MoveCaret(ctrl ? WordRightIndex(m_pDocument->GetTextAt(0), m_nIndex) : m_nIndex + 1);
    m_pFind->MarkDirty();
    if (shift)
        m_pSelection->Extend(m_nIndex);
}

// Up and Down keep the column of the last horizontal positioning in m_ptDesired.
void CEditDisplay::MoveVertically(int down, int shift, int ctrl)
{
    if (ctrl) {
        if (m_pScrollBars)
            m_pScrollBars->SetVertPos(GetVertPos() + (down ? 1 : -1), 1);
        return;
    }
    if (!m_pSelection->IsEmpty() && !shift) {
        if (down)
            MoveCaret(m_pSelection->End());
        else
            SetIndex(m_pSelection->Start());
        m_pSelection->Clear();
        m_pFind->MarkDirty();
    }
    if (down ? m_nCaretLine >= m_pDocument->GetLineCount() - 1 : m_nCaretLine == 0)
        return;
    if (shift)
        m_pSelection->AnchorAt(m_nIndex);
    int lineLength, index = m_nIndex;
    const char* line = MoveByLines(down ? 1 : -1, &lineLength, &index,
                                   m_pDocument->GetTextAt(m_nIndex));
    POINT desired = m_ptDesired;
    MoveCaret(NearestIndexOnLine(line, index, lineLength, desired.x));
    m_ptDesired = desired;
    m_pFind->MarkDirty();
    if (shift)
        m_pSelection->Extend(m_nIndex);
}
