#pragma once
#include <windows.h>

// The main window's toolbar: 16 buttons with the system's small colour images and labels.
HWND CreateToolbar(HWND parent, HINSTANCE instance);
