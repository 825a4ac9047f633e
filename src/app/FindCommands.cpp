#include "app/FindCommands.h"

#include <stdlib.h>
#include <string.h>

#include "app/AppState.h"
#include "app/MainFrame.h"
#include "base/ShellMessages.h"
#include "dialogs/FindDialogs.h"
#include "resources/resource.h"
#include "view/EditDisplay.h"

const WORD FIND_BUFFER_SIZE = 1028;

static void PrepareRecord(FINDREPLACEA* record, HWND mainWindow, LPFRHOOKPROC hook, int resource)
{
    memset(record, 0, sizeof(*record));
    record->lStructSize = sizeof(*record);
    record->hwndOwner = mainWindow;
    record->hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
    record->Flags = FR_ENABLEHOOK | FR_ENABLETEMPLATE;
    record->lpfnHook = hook;
    record->lpTemplateName = MAKEINTRESOURCEA(resource);
}

static char* NewBuffer()
{
    return static_cast<char*>(calloc(FIND_BUFFER_SIZE, 1));
}

void PrepareFindRecords(HWND mainWindow)
{
    FINDREPLACEA& find = g_app.m_frFind;
    FINDREPLACEA& replace = g_app.m_frReplace;
    PrepareRecord(&find, mainWindow, FindHookProc, IDD_FIND);
    PrepareRecord(&replace, mainWindow, ReplaceHookProc, IDD_REPLACE);
    find.lpstrFindWhat = NewBuffer();
    replace.lpstrFindWhat = NewBuffer();
    replace.lpstrReplaceWith = NewBuffer();
    find.wFindWhatLen = replace.wFindWhatLen = replace.wReplaceWithLen = FIND_BUFFER_SIZE;
}

void FreeFindRecords()
{
    FINDREPLACEA& find = g_app.m_frFind;
    FINDREPLACEA& replace = g_app.m_frReplace;
    free(find.lpstrFindWhat);
    free(replace.lpstrFindWhat);
    free(replace.lpstrReplaceWith);
    find.lpstrFindWhat = replace.lpstrFindWhat = replace.lpstrReplaceWith = nullptr;
}

// Resets a record for a new dialog; 0 when start-up could not give it its buffers.
static int ResetRecord(FINDREPLACEA* record)
{
    if (!record->lpstrFindWhat || (record->wReplaceWithLen && !record->lpstrReplaceWith))
        return 0;
    record->Flags = FR_ENABLEHOOK | FR_ENABLETEMPLATE;
    record->lpstrFindWhat[0] = '\0';
    if (record->lpstrReplaceWith)
        record->lpstrReplaceWith[0] = '\0';
    CEditDisplay* view = GetActiveView();
    record->lCustData = reinterpret_cast<LPARAM>(view ? view->GetFindInfo() : nullptr);
    return 1;
}

static void OpenDialog(HWND mainWindow, HWND* dialog, FINDREPLACEA* record,
                       HWND(WINAPI* open)(LPFINDREPLACEA), const char* failure)
{
    if (*dialog)
        return;
    if (!ResetRecord(record)) {
        ShowLastError(mainWindow, failure, ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    *dialog = open(record);
    if (!*dialog)
        ShowLastError(mainWindow, failure);
}

void OpenFindDialog(HWND mainWindow)
{
    OpenDialog(mainWindow, &g_app.m_hFindDialog, &g_app.m_frFind, FindTextA, "FindText() failed");
}

void OpenReplaceDialog(HWND mainWindow)
{
    OpenDialog(mainWindow, &g_app.m_hReplaceDialog, &g_app.m_frReplace, ReplaceTextA,
               "ReplaceText() failed");
}

void ForgetFindState(CFindInfo* state)
{
    HWND dialogs[] = {g_app.m_hFindDialog, g_app.m_hReplaceDialog};
    for (HWND dialog : dialogs) {
        if (dialog && state)
            SendMessageA(dialog, WM_FIND_STATE_GONE, reinterpret_cast<WPARAM>(state), 0);
    }
}
