#pragma once
#include <windows.h>

// Help > About: the icon, name and version, and how this copy was built.
void ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The build information of the About box: a leading empty line, then four lines.
int FormatBuildInformation(char* text, int size);
