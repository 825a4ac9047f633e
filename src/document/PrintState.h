#pragma once
#include <windows.h>

// The document's printing state belongs to printing/, which defines it and these functions;
// a document knows it only by this pointer, made with the document and deleted with it.
class CPrintInfo;
class CTextDocument;

CPrintInfo* CreatePrintInfo(CTextDocument* document);
void DeletePrintInfo(CPrintInfo* info);

// The Print dialog's hook and the print job's abort procedure live with the other dialog
// procedures (dialogs/); the print state hands them to PrintDlgA and SetAbortProc.
UINT_PTR CALLBACK PrintHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CALLBACK PrintAbortProc(HDC printer, int error);
