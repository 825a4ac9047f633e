#pragma once
#include <windows.h>

// The caption of the editor's questions and warnings.
const char APP_CAPTION[] = "Zendle Editor";

// A warning box with the system's text for an error code and the failing step as caption,
// and after it, when given, what that failure leaves behind.
void ShowLastError(HWND owner, const char* caption);
void ShowLastError(HWND owner, const char* caption, DWORD error, const char* more = nullptr);
// The one box for an allocation that failed.
void ShowOutOfMemory(HWND owner, const char* caption = "GlobalAlloc() failed");

// The window that owns assertion boxes; the shell defines it (its main window).
HWND AssertionOwnerWindow();

// Consistency check of the units that report rather than stop ("filefont", "hookprocs", ...).
void DebugAssertFailed(const char* unit, int line);
#define UNIT_ASSERT(cond, unit) \
    do { if (!(cond)) DebugAssertFailed(unit, __LINE__); } while (0)
