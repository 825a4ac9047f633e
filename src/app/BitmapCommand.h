#pragma once
#include <windows.h>

// Command 40028: the user picks a bitmap file, its colours are reduced where they can be,
// and the user picks where the result goes.
void ConvertBitmapFile(HWND mainWindow);
