#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/ErrorBox.h"

class CStatusBar;

// The shell's application-wide state. It lives on the user-interface thread: start-up fills
// it and the main window's destruction releases it. A value-initialised CAppState is the
// state before start-up, so `g_app = CAppState();` starts afresh.
struct CAppState {
    HINSTANCE m_hInstance;
    HWND m_hMainWindow;
    HWND m_hMDIClient;
    HWND m_hToolbar;
    CStatusBar* m_pStatusBar;
    HIMAGELIST m_hToolbarImages[3]; // normal, hot, disabled

    // The modeless dialogs that the message loop feeds; null while closed.
    HWND m_hFindDialog;
    HWND m_hReplaceDialog;
    HWND m_hSortDialog;
    FINDREPLACEA m_frFind;
    FINDREPLACEA m_frReplace;
    UINT m_uFindMessage;

    HACCEL m_hAccelerators;

    // Whether the last window closed was maximised: a new document then opens maximised too.
    int m_bRememberMaximised;
    // Counts the close requests that a maximised frame swallowed (see CDocFrame::OnClose).
    int m_nCloseCounter;

    // The directory the editor started in; the default font store lives there. Start-up
    // fills it (RememberStartDirectory); a store made before that remembers the current
    // directory itself.
    char m_szStartDirectory[MAX_PATH];
    // Without any font store the editor still edits; the user hears of it once a run, not
    // at every start, open and save.
    int m_bNoStoreReported;
    // Whether the status bar shows the editor's own panes (ShowEditorPanes).
    int m_bEditorPanesShown;
};

extern CAppState g_app;

const char MAIN_CLASS[] = "Main";
const char FRAME_CLASS[] = "MDI";
const char DISPLAY_CLASS[] = "Display";
