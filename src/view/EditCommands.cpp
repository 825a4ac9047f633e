// The view's edit commands: the clipboard, Delete and the case conversions.
#include <string.h>

#include <new>

#include "base/ErrorBox.h"
#include "document/SavedString.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"
#include "view/SelectionState.h"

// The largest clipboard text that a paste takes: the text store counts in signed 32 bits.
static const SIZE_T MAX_PASTE = 0x7FFFFFFE;

int CEditDisplay::OnEditCommand(int id)
{
    switch (id) {
    case ID_EDIT_CUT: Cut(); break;
    case ID_EDIT_COPY: Copy(); break;
    case ID_EDIT_PASTE: Paste(); break;
    case ID_EDIT_DELETE: DeleteCommand(); break;
    case ID_CASE_LOWER: ConvertCase(CASE_LOWER); break;
    case ID_CASE_UPPER: ConvertCase(CASE_UPPER); break;
    case ID_CASE_INVERT: ConvertCase(CASE_INVERT); break;
    default: return 0;
    }
    return 1;
}

// The toolbar's Paste follows every keystroke, and asking for a format can mean a round
// trip to the process that owns the clipboard; its sequence number changes with every
// change of the clipboard. A number of 0 means it is not known: then the answer is not kept.
int ClipboardHasText()
{
    static DWORD s_nSeen = 0;
    static int s_bText = 0;
    DWORD now = GetClipboardSequenceNumber();
    if (now == 0 || now != s_nSeen) {
        s_bText = IsClipboardFormatAvailable(CF_TEXT) ? 1 : 0;
        s_nSeen = now;
    }
    return s_bText;
}

// Clipboard managers and the system's own clipboard bridge hold the clipboard for a moment
// after every change: a refusal then is no reason to drop the user's command.
static int OpenClipboardPatiently(HWND owner)
{
    DWORD start = GetTickCount();
    while (!OpenClipboard(owner)) {
        if (GetTickCount() - start >= 250) {
            MessageBeep(MB_OK);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

// Puts the selected text on the clipboard as CF_TEXT with CR LF. The clipboard is emptied
// only once the text is ready, so a failure leaves it as it was; the user is told of it
// once the clipboard is closed again, not while a box would keep it from other programs.
int CEditDisplay::PlaceOnClipboard()
{
    if (m_pSelection->IsEmpty() || !OpenClipboardPatiently(m_hWnd))
        return 0;
    HGLOBAL block = m_pSelection->ClipboardText(nullptr);
    if (block) {
        EmptyClipboard();
        if (!SetClipboardData(CF_TEXT, block)) {
            GlobalFree(block);
            block = nullptr;
        }
    }
    CloseClipboard();
    if (!block)
        ShowOutOfMemory(m_pDocument->GetOwnerWindow());
    return block != nullptr;
}

int CEditDisplay::Copy()
{
    int done = PlaceOnClipboard();
    UpdateCommandState();
    return done;
}

int CEditDisplay::Cut()
{
    // Text that did not reach the clipboard stays in the document.
    if (!PlaceOnClipboard())
        return 0;
    SetIndex(m_pSelection->Start());
    int done = DeleteSelection();
    UpdateCommandState();
    return done;
}

char* ClipboardBlockText(HGLOBAL data, int* count)
{
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (!text)
        return nullptr;
    // The block may come from any program: it need not end in a NUL.
    SIZE_T size = GlobalSize(data);
    const char* nul = static_cast<const char*>(memchr(text, 0, size));
    SIZE_T length = nul ? static_cast<SIZE_T>(nul - text) : size;
    char* copy = length <= MAX_PASTE ? new (std::nothrow) char[length + 1] : nullptr;
    *count = copy ? CTextDocument::FromFileText(text, static_cast<int>(length), copy) : -1;
    if (copy)
        copy[*count] = 0;
    GlobalUnlock(data);
    return copy;
}

int CEditDisplay::Paste()
{
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboardPatiently(m_hWnd))
        return 0;
    int count = 0;
    char* copy = ClipboardBlockText(GetClipboardData(CF_TEXT), &count);
    // Closed before the edit, which may stop at a message box.
    CloseClipboard();
    if (!copy) {
        if (count < 0)
            ShowOutOfMemory(m_pDocument->GetOwnerWindow());
        return 0;
    }
    int done = !m_pSelection->IsEmpty() ? ReplaceSelection(copy, count)
                                        : m_pDocument->InsertWithUndo(m_nIndex, copy, count);
    delete[] copy;
    UpdateCommandState();
    return done;
}

int CEditDisplay::DeleteCommand()
{
    if (!m_pSelection->IsEmpty())
        return DeleteSelection();
    if (m_nIndex >= m_pDocument->GetTextLength())
        return 0;
    // Before a CR this joins two lines.
    int done = m_pDocument->RemoveWithUndo(m_nIndex, 1);
    UpdateCommandState();
    return done;
}

// The replacement is one undo step even when no byte changes.
int CEditDisplay::ConvertCase(CaseMode mode)
{
    if (m_pSelection->IsEmpty() || mode < CASE_LOWER || mode > CASE_INVERT)
        return 0;
    CSelectionState state;
    m_pSelection->SaveState(&state);
    char* copy = CopyBytes(m_pDocument->GetTextAt(state.m_nStart), state.m_nLength);
    if (!copy) {
        ShowOutOfMemory(m_pDocument->GetOwnerWindow());
        return 0;
    }
    DWORD length = static_cast<DWORD>(state.m_nLength);
    if (mode == CASE_LOWER) {
        CharLowerBuffA(copy, length);
    } else if (mode == CASE_UPPER) {
        CharUpperBuffA(copy, length);
    } else {
        for (char* p = copy; p < copy + length; p++) {
            if (IsCharLowerA(*p))
                CharUpperBuffA(p, 1);
            else if (IsCharUpperA(*p))
                CharLowerBuffA(p, 1);
        }
    }
    int done = ReplaceSelection(copy, state.m_nLength);
    delete[] copy;
    return done;
}
