#pragma once
#include <windows.h>

// The window procedure of the "Display" class: one handler of CEditDisplay per message.
LRESULT CALLBACK DisplayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
