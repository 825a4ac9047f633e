#include "document/TextDocument.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"
#include "view/SelectionState.h"

static int KeyHeld(int key)
{
    return GetKeyState(key) < 0;
}

void CEditDisplay::OnChar(unsigned char ch)
{
    switch (ch) {
    case 8:
        if (!m_pSelection->IsEmpty())
            DeleteSelection();
        else if (m_nIndex > 0)
            m_pDocument->RemoveWithUndo(m_nIndex - 1, 1);
        break;
    case 10:
    case 27:
        MessageBeep(0);
        return;
    default: {
        // AltGr arrives as Ctrl+Alt: only Ctrl alone makes a command key, not a character.
        if (KeyHeld(VK_CONTROL) && !KeyHeld(VK_MENU))
            return;
        char byte = static_cast<char>(ch);
        if (!m_pSelection->IsEmpty())
            ReplaceSelection(&byte, 1);
        else
            m_pDocument->InsertWithUndo(m_nIndex, &byte, 1);
        break;
    }
    }
    m_ptDesired = m_ptCaret;
    // The history takes the step only after the views were told of the edit.
    UpdateCommandState();
}

int CEditDisplay::DeleteSelection()
{
    if (m_pSelection->IsEmpty())
        return 0;
    CSelectionState state;
    m_pSelection->SaveState(&state);
    int done = m_pDocument->RemoveWithUndo(state.m_nStart, state.m_nLength);
    m_pSelection->Clear();
    return done;
}

int CEditDisplay::ReplaceSelection(const char* bytes, int count)
{
    if (m_pSelection->IsEmpty())
        return 0;
    CSelectionState state;
    m_pSelection->SaveState(&state);
    int done = m_pDocument->ReplaceWithUndo(state.m_nStart, state.m_nLength, bytes, count);
    m_pSelection->Clear();
    return done;
}
