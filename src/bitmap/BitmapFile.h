#pragma once
#include <windows.h>

class CBitmapImage;

// Reads a whole bitmap file into image after checking it. 0 when the file cannot be opened
// or read, or is refused; the user has then been told why (BitmapMessages.h).
int LoadBitmapFile(HWND owner, const char* path, CBitmapImage* image);

// Writes image as a bitmap file with a plain 40-byte info header, the colour table its
// depth needs and the rows as held. Nothing is written when the blocks do not hold what
// the header says; a write that fails removes what it left. 1 when written.
int SaveBitmapFile(HWND owner, const char* path, const CBitmapImage& image);
