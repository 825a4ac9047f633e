#include "app/Toolbar.h"

#include <string.h>

#include "app/AppState.h"
#include "resources/resource.h"

namespace {

struct CButtonDef {
    int bitmap; // -1: a separator
    int command;
    int label;
};

const CButtonDef BUTTONS[] = {
    {STD_FILENEW, ID_FILE_NEW, 0},          {STD_FILEOPEN, ID_FILE_OPEN, 1},
    {STD_FILESAVE, ID_FILE_SAVE, 2},        {-1, 0, 0},
    {STD_UNDO, ID_EDIT_UNDO, 3},            {STD_REDOW, ID_EDIT_REDO, 4},
    {-1, 0, 0},                             {STD_FIND, ID_EDIT_FIND, 5},
    {-1, 0, 0},                             {STD_PRINT, ID_FILE_PRINT, 6},
    {STD_PRINTPRE, ID_FILE_PRINTPREVIEW, 7}, {-1, 0, 0},
    {STD_CUT, ID_EDIT_CUT, 8},              {STD_COPY, ID_EDIT_COPY, 9},
    {STD_PASTE, ID_EDIT_PASTE, 10},         {STD_DELETE, ID_EDIT_DELETE, 11},
};

const char LABELS[] = "New\0Open\0Save\0Undo\0Redo\0Find\0Print\0Preview\0Cut\0Copy\0Paste\0"
                      "Delete\0";

} // namespace

HWND CreateToolbar(HWND parent, HINSTANCE instance)
{
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 0, 0,
                                   0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDW_TOOLBAR)),
                                   instance, nullptr);
    if (!toolbar)
        return nullptr;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(30, 30));

    // The hot and disabled lists are plain copies: the same colour images in every state.
    SendMessageA(toolbar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR,
                 reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    g_app.m_hToolbarImages[0] =
        reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
    g_app.m_hToolbarImages[1] = ImageList_Duplicate(g_app.m_hToolbarImages[0]);
    g_app.m_hToolbarImages[2] = ImageList_Duplicate(g_app.m_hToolbarImages[0]);
    SendMessageA(toolbar, TB_SETHOTIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(g_app.m_hToolbarImages[1]));
    SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(g_app.m_hToolbarImages[2]));

    const int count = sizeof(BUTTONS) / sizeof(BUTTONS[0]);
    TBBUTTON buttons[count];
    memset(buttons, 0, sizeof(buttons));
    for (int i = 0; i < count; i++) {
        const CButtonDef& def = BUTTONS[i];
        buttons[i].iBitmap = def.bitmap < 0 ? 0 : def.bitmap;
        buttons[i].idCommand = def.command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = def.bitmap < 0 ? TBSTYLE_SEP : TBSTYLE_BUTTON;
        buttons[i].iString = def.bitmap < 0 ? 0 : def.label;
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolbar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(LABELS));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}
