#include "document/TextDocument.h"

#include <new>

#include "document/LineSort.h"
#include "base/ErrorBox.h"
#include "document/SortWorker.h"
#include "resources/resource.h"

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

int CTextDocument::SortLines(int order)
{
    if (IsSorting())
        return 0;
    HWND owner = GetOwnerWindow();
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SORTING),
                                     owner, SortProgressProc, reinterpret_cast<LPARAM>(this));
    if (!dialog) {
        ShowLastError(owner, "CreateDialogParam() failed");
        return 0;
    }
    m_hSortDialog = dialog;
    SetSortProgressDialog(dialog);
    ShowWindow(dialog, SW_SHOW);
    EnableWindow(owner, FALSE);
    m_wSortFlags = static_cast<WORD>(order);
    HANDLE thread = CreateThread(nullptr, 0, SortWorkerProc, this, CREATE_SUSPENDED,
                                 &m_dwSortThreadId);
    if (!thread) {
        DWORD error = GetLastError();
        EndSort();
        ShowLastError(owner, "CreateThread() failed", error);
        return 0;
    }
    m_hSortThread = thread;
    if (!SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL))
        ShowLastError(owner, "SetThreadPriority() failed");
    if (ResumeThread(thread) == static_cast<DWORD>(-1)) {
        // A worker that never ran cannot post its end: the sort ends here, untouched.
        DWORD error = GetLastError();
        TerminateThread(thread, 0);
        EndSort();
        ShowLastError(owner, "ResumeThread() failed", error);
        return 0;
    }
    return 1;
}

void CTextDocument::EndSort()
{
    // A worker short of memory leaves it to be told here, on the windows' own thread.
    int untold = 0;
    if (m_hSortThread) {
        WaitForSingleObject(m_hSortThread, INFINITE);
        // A run that the worker completed is applied even when Cancel came after its last
        // check.
        if (m_pSortRun && m_pSortRun->GetResult())
            ApplySortedText(*m_pSortRun);
        untold = !m_pSortRun || m_pSortRun->RanOutOfMemory();
        CloseHandle(m_hSortThread);
    }
    delete m_pSortRun;
    m_pSortRun = nullptr;
    EnableWindow(GetOwnerWindow(), TRUE);
    DestroyWindow(m_hSortDialog);
    m_hSortDialog = nullptr;
    SetSortProgressDialog(nullptr);
    m_hSortThread = nullptr;
    m_dwSortThreadId = 0;
    m_bSortCancel = 0;
    if (untold)
        ShowOutOfMemory(GetOwnerWindow());
}
