#include "dialogs/FindDialogs.h"

#include "base/ErrorBox.h"
#include "base/ShellMessages.h"
#include "document/FindInfo.h"
#include "resources/resource.h"

const char FIND_NO_STATE_TEXT[] = "pFind pointer invalid";
const char FIND_EMPTY_TEXT[] = "Please enter a string to search for.";

// The largest text a search takes from the dialog.
const int FIND_TEXT_LIMIT = 1024;

static CFindInfo* s_pFindState;
static CFindInfo* s_pReplaceState;

static void FillOptions(HWND dialog, int options)
{
    CheckDlgButton(dialog, IDC_FIND_WHOLE_WORD, (options & FR_WHOLEWORD) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_FIND_MATCH_CASE, (options & FR_MATCHCASE) ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(dialog, IDC_FIND_UP, IDC_FIND_DOWN,
                     (options & FR_DOWN) ? IDC_FIND_DOWN : IDC_FIND_UP);
}

static void FillFind(HWND dialog, const CFindInfo* state)
{
    const char* pattern = state ? state->m_find.pattern : nullptr;
    SetDlgItemTextA(dialog, IDC_FIND_TEXT, pattern ? pattern : "");
    FillOptions(dialog, state ? state->m_find.options : FR_DOWN);
}

static void FillReplace(HWND dialog, const CFindInfo* state)
{
    const char* pattern = state ? state->m_replace.pattern : nullptr;
    const char* replacement = state ? state->m_pReplacement : nullptr;
    SetDlgItemTextA(dialog, IDC_FIND_TEXT, pattern ? pattern : "");
    SetDlgItemTextA(dialog, IDC_REPLACE_TEXT, replacement ? replacement : "");
    FillOptions(dialog, state ? state->m_replace.options : FR_DOWN);
}

static int ReadOptions(HWND dialog)
{
    int options = 0;
    if (IsDlgButtonChecked(dialog, IDC_FIND_DOWN) == BST_CHECKED)
        options |= FR_DOWN;
    if (IsDlgButtonChecked(dialog, IDC_FIND_WHOLE_WORD) == BST_CHECKED)
        options |= FR_WHOLEWORD;
    if (IsDlgButtonChecked(dialog, IDC_FIND_MATCH_CASE) == BST_CHECKED)
        options |= FR_MATCHCASE;
    return options;
}

// Reads the text to search for; 0 after telling the user why there is nothing to search.
static int ReadPattern(HWND dialog, const CFindInfo* state, char* pattern)
{
    if (!state) {
        MessageBoxA(dialog, FIND_NO_STATE_TEXT, "Error", MB_OK);
        return 0;
    }
    if (!GetDlgItemTextA(dialog, IDC_FIND_TEXT, pattern, FIND_TEXT_LIMIT + 1)) {
        MessageBoxA(dialog, FIND_EMPTY_TEXT, APP_CAPTION, MB_ICONWARNING);
        return 0;
    }
    return 1;
}

static void RunFindNext(HWND dialog)
{
    char pattern[FIND_TEXT_LIMIT + 1];
    if (ReadPattern(dialog, s_pFindState, pattern))
        s_pFindState->FindNext(dialog, pattern, ReadOptions(dialog));
}

static void RunReplace(HWND dialog, int id)
{
    char pattern[FIND_TEXT_LIMIT + 1];
    char replacement[FIND_TEXT_LIMIT + 1];
    if (!ReadPattern(dialog, s_pReplaceState, pattern))
        return;
    GetDlgItemTextA(dialog, IDC_REPLACE_TEXT, replacement, FIND_TEXT_LIMIT + 1);
    int options = ReadOptions(dialog);
    if (id == IDOK)
        s_pReplaceState->ReplaceFindNext(dialog, pattern, replacement, options);
    else if (id == IDC_REPLACE_ONE)
        s_pReplaceState->ReplaceNext(dialog, pattern, replacement, options);
    else
        s_pReplaceState->ReplaceAll(dialog, pattern, replacement, options);
}

// What both hooks share: adopting a find state and refilling the controls from it.
static int AdoptState(CFindInfo** held, HWND dialog, UINT message, WPARAM wParam,
                      void (*fill)(HWND, const CFindInfo*))
{
    CFindInfo* state = reinterpret_cast<CFindInfo*>(wParam);
    if (message == WM_FIND_STATE_GONE) {
        // Only the state of the view that went; the dialog may already follow the next one.
        if (state != *held)
            return 1;
        state = nullptr;
    }
    *held = state;
    fill(dialog, state);
    return 1;
}

UINT_PTR CALLBACK FindHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const FINDREPLACEA* record = reinterpret_cast<const FINDREPLACEA*>(lParam);
        EnableWindow(GetDlgItem(dialog, IDOK), TRUE);
        return AdoptState(&s_pFindState, dialog, WM_ACTIVE_VIEW_CHANGED,
                          static_cast<WPARAM>(record->lCustData), FillFind);
    }
    case WM_ACTIVE_VIEW_CHANGED:
    case WM_FIND_STATE_GONE:
        return AdoptState(&s_pFindState, dialog, message, wParam, FillFind);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == 0) {
            RunFindNext(dialog);
            return 1;
        }
        return 0;
    }
    return 0;
}

UINT_PTR CALLBACK ReplaceHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const FINDREPLACEA* record = reinterpret_cast<const FINDREPLACEA*>(lParam);
        static const int buttons[] = {IDOK, IDC_REPLACE_ONE, IDC_REPLACE_ALL};
        for (int id : buttons)
            EnableWindow(GetDlgItem(dialog, id), TRUE);
        CheckRadioButton(dialog, IDC_FIND_UP, IDC_FIND_DOWN, IDC_FIND_UP);
        return AdoptState(&s_pReplaceState, dialog, WM_ACTIVE_VIEW_CHANGED,
                          static_cast<WPARAM>(record->lCustData), FillReplace);
    }
    case WM_ACTIVE_VIEW_CHANGED:
    case WM_FIND_STATE_GONE:
        return AdoptState(&s_pReplaceState, dialog, message, wParam, FillReplace);
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (HIWORD(wParam) == 0 && (id == IDOK || id == IDC_REPLACE_ONE || id == IDC_REPLACE_ALL)) {
            RunReplace(dialog, id);
            return 1;
        }
        return 0;
    }
    }
    return 0;
}
