#pragma once
#include <windows.h>

class CFindInfo;

// The application's Find and Replace records and the two modeless dialogs made from them.
// The records are prepared once at start-up; their text buffers go with the main window.
void PrepareFindRecords(HWND mainWindow);
void FreeFindRecords();
// Open Find (40011) and Open Replace (40012); a dialog already open stays as it is.
void OpenFindDialog(HWND mainWindow);
void OpenReplaceDialog(HWND mainWindow);
// A view's find state is about to be freed: the dialogs that hold it let go of it.
void ForgetFindState(CFindInfo* state);
