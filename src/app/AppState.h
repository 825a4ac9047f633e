#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/ErrorBox.h"

class CStatusBar;

// The shell's application-wide state. It lives on the user-interface thread: start-up fills
// it and the main window's destruction releases it.
extern HINSTANCE g_hInstance;
extern HWND g_hMainWindow;
extern HWND g_hMDIClient;
extern HWND g_hToolbar;
extern CStatusBar* g_pStatusBar;
extern HIMAGELIST g_hToolbarImages[3]; // normal, hot, disabled

// The modeless dialogs that the message loop feeds; null while closed.
extern HWND g_hFindDialog;
extern HWND g_hReplaceDialog;
extern HWND g_hSortDialog;
extern FINDREPLACEA g_frFind;
extern FINDREPLACEA g_frReplace;
extern UINT g_uFindMessage;

extern HACCEL g_hAccelerators;

// Whether the last window closed was maximised: a new document then opens maximised too.
extern int g_bRememberMaximised;
// Counts the close requests that a maximised frame swallowed (see CDocFrame::OnClose).
extern int g_nCloseCounter;

const char MAIN_CLASS[] = "Main";
const char FRAME_CLASS[] = "MDI";
const char DISPLAY_CLASS[] = "Display";
