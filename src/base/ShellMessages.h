#pragma once
#include <windows.h>

// Private messages between the shell's windows and the views.
const UINT WM_DOCUMENT_GONE = WM_USER + 2;     // to the main window; wParam: the COpenDocument
const UINT WM_REFRESH_TOOLBAR = WM_USER + 3;   // to the main window: a document frame went
const UINT WM_ACTIVE_VIEW_CHANGED = WM_USER + 4; // to the Find and Replace dialogs; wParam: CFindInfo
const UINT WM_FIND_STATE_GONE = WM_USER + 5;     // to the same: the CFindInfo in wParam is freed
const UINT WM_HAS_VISIBLE_TEXT = WM_USER + 12; // to a frame or view: nonzero when there is text

// Sent to clipboard format listeners; not in the headers of the system level built for.
#ifndef WM_CLIPBOARDUPDATE
#define WM_CLIPBOARDUPDATE 0x031D
#endif
