#pragma once
#include <windows.h>
#include <commdlg.h>

class CPrintInfo;
class CTextDocument;

// The document's print state: the printing layer makes, runs and frees it.
CPrintInfo* CreatePrintInfo(CTextDocument* document);
void DestroyPrintInfo(CPrintInfo* info);
// The Print command: 1 when the dialog was confirmed.
int RunPrintCommand(CPrintInfo* info);

// The Print dialog's hook and the job's abort procedure; the dialogs layer defines them.
UINT_PTR CALLBACK PrintHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CALLBACK PrintAbortProc(HDC printer, int code);

// What the hook does for the one open Print dialog; the printing layer defines them.
void PrintDialogOpened(HWND dialog, const PRINTDLGA* record);
void PrintDialogConfirming(HWND dialog);
void PrintDialogCancelling();
void PrintDialogWrapClicked(HWND dialog);
void PrintDialogProperties(HWND dialog);
int PrintDialogPrinterChanged(HWND dialog);
void PrintDialogClosed();
