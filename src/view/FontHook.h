#pragma once
#include <windows.h>

// The font dialog's hook lives with the other dialog procedures (dialogs/); the text
// metrics hand it to ChooseFontA. It reaches the colour dialog's record, which the font
// object owns with its custom colours, through the font record's lCustData; it leaves
// the colour chosen there in rgbResult.
UINT_PTR CALLBACK FontHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
