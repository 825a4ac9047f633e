#include "support/EditMenu.h"

#include "view/EditDisplay.h"

EditMenu::EditMenu()
{
    sort = CreatePopupMenu();
    AppendMenuA(sort, MF_STRING, 40031, "&Alphabetic");
    textOps = CreatePopupMenu();
    AppendMenuA(textOps, MF_STRING, 40041, "Make Selection &Lowercase");
    AppendMenuA(textOps, MF_STRING, 40042, "Make Selection &Uppercase");
    AppendMenuA(textOps, MF_STRING, 40043, "&Invert Selection Case");
    AppendMenuA(textOps, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(textOps, MF_POPUP, reinterpret_cast<UINT_PTR>(sort), "&Sort");
    edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 40022, "&Undo");
    AppendMenuA(edit, MF_STRING, 40023, "&Redo");
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(edit, MF_STRING, 40007, "&Cut");
    AppendMenuA(edit, MF_STRING, 40008, "C&opy");
    AppendMenuA(edit, MF_STRING, 40009, "&Paste");
    AppendMenuA(edit, MF_STRING, 40010, "&Delete");
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(edit, MF_STRING, 40033, "Select &All");
    AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(textOps), "&Text Operations");
    AppendMenuA(edit, MF_STRING, 40011, "&Find...");
    AppendMenuA(edit, MF_STRING, 40012, "&Replace...");
    AppendMenuA(edit, MF_STRING, 40025, "&Select Font...");
}

EditMenu::~EditMenu()
{
    DestroyMenu(edit);
}

int EditMenu::Enabled(HMENU menu, UINT item, UINT how)
{
    return (GetMenuState(menu, item, how) & MF_GRAYED) ? 0 : 1;
}

void InitPopup(CEditDisplay* view, HMENU menu, int index)
{
    SendMessageA(view->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                 MAKELPARAM(index, 0));
}
