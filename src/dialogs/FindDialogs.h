#pragma once
#include <windows.h>

// The hooks of the system's Find and Replace dialogs. Each searches on the find state of the
// view it follows (WM_ACTIVE_VIEW_CHANGED hands it a new one; WM_FIND_STATE_GONE takes one
// away); the dialogs' own notice is only used when they close.
UINT_PTR CALLBACK FindHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK ReplaceHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

extern const char FIND_NO_STATE_TEXT[];
extern const char FIND_EMPTY_TEXT[];
