// The line sort as the user runs it: the "Sorting Document" dialog on the user-interface
// thread and the worker that sorts. The worker only reads the text and posts progress; the
// sorted text is applied here once the worker has ended, so that nothing else ever touches
// the text from another thread.
#include "dialogs/SortDialog.h"

#include <commctrl.h>
#include <stdio.h>

#include "app/AppState.h"
#include "app/ErrorBox.h"
#include "document/SortRunner.h"
#include "document/TextDocument.h"
#include "resources/resource.h"

// The progress of the one sort that can run.
struct SortProgress {
    CTextDocument* document;
    CLineSort* sort;
    int low;
    int high;
    int position;
    int step;
    double perPosition;
    double shown;
};
static SortProgress s_progress;

static void PostNotice(void* context, int notice, int value, int high)
{
    static const UINT messages[] = {WM_SORTSETRANGE, WM_SORTSETSTEP, WM_SORTSTEP, WM_SORTSETPOS};
    PostMessageA(static_cast<HWND>(context), messages[notice], value, high);
}

static DWORD WINAPI SortWorker(LPVOID parameter)
{
    CLineSort* sort = static_cast<CLineSort*>(parameter);
    int done = sort->Run();
    PostMessageA(static_cast<HWND>(sort->m_pContext), WM_SORTDONE, 0, 0);
    return done;
}

// The text changes a hundred times a sort; thousands of progress messages need not
// repaint it each.
static void ShowPercent(HWND dialog)
{
    static int s_shown = -1;
    if (static_cast<int>(s_progress.shown) == s_shown && s_progress.shown > 0)
        return;
    s_shown = static_cast<int>(s_progress.shown);
    char text[32];
    snprintf(text, sizeof(text), "%d%% Complete", static_cast<int>(s_progress.shown));
    SendDlgItemMessageA(dialog, IDC_SORT_TEXT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

static void MoveTo(HWND dialog, int position, int stepped)
{
    s_progress.position = position;
    HWND bar = GetDlgItem(dialog, IDC_SORT_PROGRESS);
    if (position < s_progress.high) {
        if (stepped) {
            SendMessageA(bar, PBM_STEPIT, 0, 0);
            s_progress.shown += s_progress.step * s_progress.perPosition;
        } else {
            SendMessageA(bar, PBM_SETPOS, position, 0);
            s_progress.shown = position * s_progress.perPosition;
        }
    } else {
        s_progress.shown = 100.0;
        SendMessageA(bar, PBM_SETPOS, s_progress.high, 0);
    }
    ShowPercent(dialog);
}

static void OnSortInit(HWND dialog, CTextDocument* document)
{
    s_progress.document = document;
    document->m_bSortCancel = 0;
    HWND bar = GetDlgItem(dialog, IDC_SORT_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, 0, 100);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    s_progress.shown = 0;
    ShowPercent(dialog);
    SetFocus(GetDlgItem(dialog, IDCANCEL));
}

static void OnSortRange(HWND dialog, int low, int high)
{
    s_progress.low = low;
    s_progress.high = high;
    s_progress.position = low;
    s_progress.perPosition = 100.0 / (high - low + 1);
    s_progress.shown = 0;
    HWND bar = GetDlgItem(dialog, IDC_SORT_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, low, high);
    SendMessageA(bar, PBM_SETPOS, low, 0);
}

static void OnSortStepSize(HWND dialog, int step)
{
    s_progress.step = step;
    SendDlgItemMessageA(dialog, IDC_SORT_PROGRESS, PBM_SETSTEP, step, 0);
}

// Ends a sort whose dialog is up: the worker (if it was started) has ended or is about to.
// A sort that the worker completed is applied even when Cancel came after its last check.
static void FinishSort(HWND dialog)
{
    CTextDocument* document = s_progress.document;
    if (document->m_hSortThread) {
        WaitForSingleObject(document->m_hSortThread, INFINITE);
        if (s_progress.sort->GetResult())
            document->ApplySortedText(*s_progress.sort);
        CloseHandle(document->m_hSortThread);
    }
    delete s_progress.sort;
    s_progress.sort = nullptr;
    EnableWindow(g_hMainWindow, TRUE);
    DestroyWindow(dialog);
    g_hSortDialog = nullptr;
    document->m_hSortThread = nullptr;
    document->m_dwSortThreadId = 0;
    document->m_bSortCancel = 0;
}

INT_PTR CALLBACK SortDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: OnSortInit(dialog, reinterpret_cast<CTextDocument*>(lParam)); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            s_progress.document->m_bSortCancel = 1;
        return FALSE;
    case WM_SORTSETSTEP: OnSortStepSize(dialog, static_cast<int>(wParam)); return TRUE;
    case WM_SORTSETRANGE:
        OnSortRange(dialog, static_cast<int>(wParam), static_cast<int>(lParam));
        return TRUE;
    case WM_SORTSTEP: MoveTo(dialog, s_progress.position + s_progress.step, 1); return TRUE;
    case WM_SORTSETPOS: MoveTo(dialog, static_cast<int>(wParam), 0); return TRUE;
    case WM_SORTDONE: FinishSort(dialog); return TRUE;
    }
    return FALSE;
}

int StartLineSort(CTextDocument* document)
{
    HWND dialog = CreateDialogParamA(g_hInstance, MAKEINTRESOURCEA(IDD_SORTING), g_hMainWindow,
                                     SortDialogProc, reinterpret_cast<LPARAM>(document));
    if (!dialog) {
        ShowLastError(g_hMainWindow, "CreateDialogParam() failed");
        return 0;
    }
    g_hSortDialog = dialog;
    ShowWindow(dialog, SW_SHOW);
    EnableWindow(g_hMainWindow, FALSE);
    s_progress.sort = document->NewLineSort(PostNotice, dialog);
    DWORD id = 0;
    HANDLE thread = s_progress.sort
                        ? CreateThread(nullptr, 0, SortWorker, s_progress.sort, CREATE_SUSPENDED, &id)
                        : nullptr;
    if (!thread) {
        DWORD error = s_progress.sort ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
        FinishSort(dialog);
        ShowLastError(g_hMainWindow, "CreateThread() failed", error);
        return 0;
    }
    document->m_hSortThread = thread;
    document->m_dwSortThreadId = id;
    if (!SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL))
        ShowLastError(g_hMainWindow, "SetThreadPriority() failed");
    if (ResumeThread(thread) == static_cast<DWORD>(-1)) {
        // A worker that never ran cannot post its end: the sort ends here, untouched.
        DWORD error = GetLastError();
        TerminateThread(thread, 0);
        FinishSort(dialog);
        ShowLastError(g_hMainWindow, "ResumeThread() failed", error);
        return 0;
    }
    return 1;
}
