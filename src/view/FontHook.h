#pragma once
#include <windows.h>

// The font dialog's hook lives with the other dialog procedures (dialogs/); the text
// metrics hand it to ChooseFontA.
UINT_PTR CALLBACK FontHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
