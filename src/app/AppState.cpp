#include "app/AppState.h"

#include "base/ErrorBox.h"
#include "document/SortWorker.h"

HINSTANCE g_hInstance;
HWND g_hMainWindow;
HWND g_hMDIClient;
HWND g_hToolbar;
CStatusBar* g_pStatusBar;
HIMAGELIST g_hToolbarImages[3];

HWND g_hFindDialog;
HWND g_hReplaceDialog;
HWND g_hSortDialog;
FINDREPLACEA g_frFind;
FINDREPLACEA g_frReplace;
UINT g_uFindMessage;

HACCEL g_hAccelerators;

int g_bRememberMaximised;
int g_nCloseCounter;

HWND AssertionOwnerWindow()
{
    return g_hMainWindow;
}

void SetSortProgressDialog(HWND dialog)
{
    g_hSortDialog = dialog;
}
