#include "app/AppState.h"

#include "base/ErrorBox.h"
#include "document/SortWorker.h"

CAppState g_app;

HWND AssertionOwnerWindow()
{
    return g_app.m_hMainWindow;
}

void SetSortProgressDialog(HWND dialog)
{
    g_app.m_hSortDialog = dialog;
}
