#pragma once
#include <windows.h>

// Start-up: prunes the font store, registers the window classes, creates the main window
// with toolbar, status bar and MDI client and prepares the message loop. 0 on failure,
// after the failure was shown.
int InitApplication(HINSTANCE instance, int show);
int RegisterWindowClasses(HINSTANCE instance);
int CreateMainWindows(HINSTANCE instance, int show);

// The loop's filters before a message is dispatched: the lock-key panes, the modeless
// dialogs, the MDI system keys and the accelerators. 1 when the message was consumed.
int PreTranslateAppMessage(MSG* message);
// Runs until WM_QUIT and returns its code.
int RunMessageLoop();
