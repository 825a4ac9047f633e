#pragma once
#include <windows.h>

class CEditDisplay;

// The "Edit" popup with "Text Operations" at position 9 and "Sort" inside that at 4.
struct EditMenu {
    EditMenu();
    ~EditMenu();
    static int Enabled(HMENU menu, UINT item, UINT how = MF_BYCOMMAND);
    HMENU edit, textOps, sort;
};

// Lets a view set the item states of a popup, as WM_INITMENUPOPUP from the menu bar does.
void InitPopup(CEditDisplay* view, HMENU menu, int index);
