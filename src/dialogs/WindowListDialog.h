#pragma once
#include <windows.h>

// "More Windows...": lists every document window of the MDI client and returns the one
// chosen, or null when the user cancelled.
HWND ChooseDocumentWindow(HWND owner, HWND mdiClient);
