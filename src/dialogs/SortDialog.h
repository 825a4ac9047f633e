#pragma once
#include <windows.h>

// What the sort worker posts to the "Sorting Document" dialog; the dialog handles them in
// the order posted, WM_SORTDONE last.
#define WM_SORTSTEP (WM_USER + 7) // wParam: the steps to advance by, 0 for one
#define WM_SORTSETSTEP (WM_USER + 8)
#define WM_SORTSETRANGE (WM_USER + 9)
#define WM_SORTSETPOS (WM_USER + 10)
#define WM_SORTDONE (WM_USER + 11)
