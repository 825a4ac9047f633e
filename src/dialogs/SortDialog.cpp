// The line sort as the user runs it: the "Sorting Document" dialog on the user-interface
// thread and the worker that sorts. The worker only reads the text and posts progress; the
// sorted text is applied here once the worker has ended, so that nothing else ever touches
// the text from another thread.
#include "dialogs/SortDialog.h"
#include "base/FailureSeam.h"

#include <commctrl.h>
#include <stdio.h>

#include "dialogs/SortProgress.h"
#include "document/SortWorker.h"
#include "document/TextDocument.h"
#include "resources/resource.h"

// The progress of the one sort that can run, and the document it sorts.
static CSortProgress s_progress;
static CTextDocument* s_document;

static void PostNotice(void* context, int notice, int value, int high)
{
    static_cast<CProgressPoster*>(context)->Notify(notice, value, high);
}

DWORD WINAPI SortWorkerProc(LPVOID parameter)
{
    EnterSortWorker();
    CTextDocument* document = static_cast<CTextDocument*>(parameter);
    HWND dialog = document->m_hSortDialog;
    CProgressPoster poster(dialog);
    CLineSort* run = document->NewLineSort(PostNotice, &poster);
    document->m_pSortRun = run;
    int done = run && run->Run();
    poster.Flush();
    LeaveSortWorker();
    PostMessageA(dialog, WM_SORTDONE, 0, 0);
    return done;
}

// The text changes a hundred times a sort; the progress messages need not repaint it each.
static void ShowPercent(HWND dialog)
{
    static int s_shown = -1;
    if (s_progress.Percent() == s_shown && s_progress.shown > 0)
        return;
    s_shown = s_progress.Percent();
    char text[32];
    snprintf(text, sizeof(text), "%d%% Complete", s_shown);
    SendDlgItemMessageA(dialog, IDC_SORT_TEXT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

static void ShowProgress(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_SORT_PROGRESS, PBM_SETPOS, s_progress.BarPosition(), 0);
    ShowPercent(dialog);
}

static void OnSortInit(HWND dialog, CTextDocument* document)
{
    s_document = document;
    document->m_bSortCancel = 0;
    s_progress.Start();
    HWND bar = GetDlgItem(dialog, IDC_SORT_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, s_progress.low, s_progress.high);
    SendMessageA(bar, PBM_SETSTEP, s_progress.step, 0);
    SendMessageA(bar, PBM_SETPOS, s_progress.position, 0);
    ShowPercent(dialog);
    SetFocus(GetDlgItem(dialog, IDCANCEL));
}

static void OnSortRange(HWND dialog, int low, int high)
{
    s_progress.SetRange(low, high);
    HWND bar = GetDlgItem(dialog, IDC_SORT_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, low, high);
    SendMessageA(bar, PBM_SETPOS, low, 0);
}

static void OnSortStepSize(HWND dialog, int step)
{
    s_progress.SetStep(step);
    SendDlgItemMessageA(dialog, IDC_SORT_PROGRESS, PBM_SETSTEP, step, 0);
}

// The worker hands on the steps that changed nothing on the screen with the next one that
// does: wParam counts them, and 0 is one step.
static void OnSortSteps(HWND dialog, int count)
{
    do
        s_progress.Step();
    while (--count > 0);
    ShowProgress(dialog);
}

static void OnSortPos(HWND dialog, int position)
{
    s_progress.SetPos(position);
    ShowProgress(dialog);
}

INT_PTR CALLBACK SortProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: OnSortInit(dialog, reinterpret_cast<CTextDocument*>(lParam)); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            s_document->m_bSortCancel = 1;
        return FALSE;
    case WM_SORTSETSTEP: OnSortStepSize(dialog, static_cast<int>(wParam)); return TRUE;
    case WM_SORTSETRANGE:
        OnSortRange(dialog, static_cast<int>(wParam), static_cast<int>(lParam));
        return TRUE;
    case WM_SORTSTEP: OnSortSteps(dialog, static_cast<int>(wParam)); return TRUE;
    case WM_SORTSETPOS: OnSortPos(dialog, static_cast<int>(wParam)); return TRUE;
    case WM_SORTDONE: s_document->EndSort(); return TRUE;
    }
    return FALSE;
}
