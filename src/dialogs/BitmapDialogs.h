#pragma once
#include <windows.h>

// The file dialogs of the bitmap conversion, owned by the main window. Each returns 1 when
// the user chose a name, which path (size bytes) then holds.
int ChooseBitmapToLoad(HWND owner, char* path, int size);
int ChooseBitmapToSave(HWND owner, char* path, int size);

// Whether an extension starts with "bmp", in any case.
int IsBitmapExtension(const char* ext);

UINT_PTR CALLBACK BitmapOpenHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK BitmapSaveHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
