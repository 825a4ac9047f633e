#include "dialogs/FileDialogParts.h"

#include <string.h>

#include "base/ErrorBox.h"

static const char OTHER_FORMAT_QUESTION[] =
    "Saving this file in a non-text format can lead to undesired\n"
    "results when loading or locating the file in the future.\n"
    "Do you wish to proceed?";

void FillFileRecord(OPENFILENAMEA* ofn, HWND owner, const char* filter, int filterIndex,
                    char* file, int fileSize, char* title, int titleSize)
{
    memset(ofn, 0, sizeof(*ofn));
    ofn->lStructSize = sizeof(*ofn);
    ofn->hwndOwner = owner;
    ofn->lpstrFilter = filter;
    ofn->nFilterIndex = filterIndex;
    ofn->lpstrFile = file;
    ofn->nMaxFile = fileSize;
    ofn->lpstrFileTitle = title;
    ofn->nMaxFileTitle = titleSize;
}

const OPENFILENAMEA* FileOkRecord(UINT message, LPARAM lParam)
{
    if (message != WM_NOTIFY)
        return nullptr;
    const OFNOTIFYA* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
    return notify->hdr.code == CDN_FILEOK ? notify->lpOFN : nullptr;
}

UINT_PTR RefuseChoice(HWND dialog)
{
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
    return 1;
}

UINT_PTR ConfirmOtherFormat(HWND dialog)
{
    // The hook's dialog is a child of the explorer-style dialog that the user sees.
    if (MessageBoxA(GetParent(dialog), OTHER_FORMAT_QUESTION, APP_CAPTION,
                    MB_ICONWARNING | MB_YESNO) == IDNO)
        return RefuseChoice(dialog);
    return 0;
}
