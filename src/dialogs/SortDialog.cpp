// The line sort as the user runs it: the "Sorting Document" dialog on the user-interface
// thread and the worker that sorts. The worker only reads the text and posts progress; the
// sorted text is applied here once the worker has ended, so that nothing else ever touches
// the text from another thread.
#include "dialogs/SortDialog.h"

#include <commctrl.h>
#include <stdio.h>

#include "document/SortWorker.h"
#include "document/TextDocument.h"
#include "resources/resource.h"

// The progress of the one sort that can run.
struct SortProgress {
    CTextDocument* document;
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

DWORD WINAPI SortWorkerProc(LPVOID parameter)
{
    CTextDocument* document = static_cast<CTextDocument*>(parameter);
    HWND dialog = document->m_hSortDialog;
    CLineSort* run = document->NewLineSort(PostNotice, dialog);
    document->m_pSortRun = run;
    int done = run && run->Run();
    PostMessageA(dialog, WM_SORTDONE, 0, 0);
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

INT_PTR CALLBACK SortProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
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
    case WM_SORTDONE: s_progress.document->EndSort(); return TRUE;
    }
    return FALSE;
}
