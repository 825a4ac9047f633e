// The state of the one Print dialog that can be open, kept for its hook procedure.
#include <windows.h>

#include "document/PrintSeam.h"
#include "printing/PageInfo.h"
#include "printing/PrintInfo.h"

namespace {

CPageInfo* s_pJob;
CPrintInfo* s_pPrintInfo;
int s_bCancelled;
// The "Wrap Text" state at the last OK, -1 before any: the system may still refuse that OK
// (a page number out of range), so the pages move to the job only when the dialog closes.
int s_nChosenWrap = -1;

} // namespace

void PrintDialogOpened(HWND dialog, const PRINTDLGA* record)
{
    s_pJob = record ? reinterpret_cast<CPageInfo*>(record->lCustData) : nullptr;
    s_pPrintInfo = s_pJob ? s_pJob->m_pOwner : nullptr;
    s_bCancelled = 0;
    s_nChosenWrap = -1;
    if (!s_pPrintInfo)
        return;
    // After a Cancel the system shows the printer it kept, not the one chosen before.
    if (!s_pPrintInfo->HoldsShownPrinter(dialog))
        s_pPrintInfo->SelectDevice(dialog);
    if (s_pPrintInfo->OpenPrinterContext() && s_pPrintInfo->Paginate())
        s_pPrintInfo->RefreshDialog(dialog, 1);
}

void PrintDialogConfirming(HWND dialog)
{
    s_nChosenWrap = IsDlgButtonChecked(dialog, 1000) == BST_CHECKED ? 1 : 0;
}

void PrintDialogCancelling()
{
    s_bCancelled = 1;
}

void PrintDialogWrapClicked(HWND dialog)
{
    if (s_pPrintInfo)
        s_pPrintInfo->RefreshDialog(dialog, 0);
}

void PrintDialogProperties(HWND dialog)
{
    if (s_pPrintInfo)
        s_pPrintInfo->PrinterProperties(dialog);
}

int PrintDialogPrinterChanged(HWND dialog)
{
    return s_pPrintInfo ? s_pPrintInfo->ChangeDevice(dialog) : 0;
}

void PrintDialogClosed()
{
    if (!s_pPrintInfo)
        return;
    CPageInfo* chosen = s_pPrintInfo->ChosenSet(s_nChosenWrap == 1);
    if (!s_bCancelled && s_nChosenWrap >= 0 && chosen)
        s_pJob->TakePages(chosen);
    s_pPrintInfo->ReleaseDialogState();
    s_pJob = nullptr;
    s_pPrintInfo = nullptr;
    s_nChosenWrap = -1;
}
