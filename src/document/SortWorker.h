#pragma once
#include <windows.h>

// The line sort's parts that live with the other dialog procedures (dialogs/): the
// "Sorting Document" progress dialog (created with the document as its parameter) and the
// worker's thread procedure (argument: the document; 1 when the text was replaced, 0 when
// cancelled). The document's SortLines starts both.
INT_PTR CALLBACK SortProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
DWORD WINAPI SortWorkerProc(LPVOID document);

// The shell's handle of the open progress dialog, which its message loop feeds; null when
// none is open. The shell defines it.
void SetSortProgressDialog(HWND dialog);
