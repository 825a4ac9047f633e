#include "dialogs/BitmapDialogs.h"

#include "base/ErrorBox.h"
#include "dialogs/FileDialogParts.h"

namespace {

const char OPEN_FILTER[] = "Bitmap Files\0*.bmp\0";
const char SAVE_FILTER[] = "Bitmap Files\0*.bmp\0All Files\0*.*\0";
const int TITLE_BUFFER_SIZE = 128;

int ShowBitmapDialog(HWND owner, char* path, int size, int save)
{
    char title[TITLE_BUFFER_SIZE] = "";
    path[0] = 0;
    OPENFILENAMEA ofn;
    FillFileRecord(&ofn, owner, save ? SAVE_FILTER : OPEN_FILTER, 0, path, size,
                   title, sizeof(title));
    // The record as older systems know it, without the fields that came later.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.lpstrDefExt = "bmp";
    if (save) {
        ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_ENABLEHOOK;
        ofn.lpfnHook = BitmapSaveHookProc;
        return GetSaveFileNameA(&ofn) ? 1 : 0;
    }
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLEHOOK;
    ofn.lpfnHook = BitmapOpenHookProc;
    return GetOpenFileNameA(&ofn) ? 1 : 0;
}

const char* ChosenExtension(const OPENFILENAMEA* record)
{
    return record->lpstrFile + record->nFileExtension;
}

} // namespace

int ChooseBitmapToLoad(HWND owner, char* path, int size)
{
    return ShowBitmapDialog(owner, path, size, 0);
}

int ChooseBitmapToSave(HWND owner, char* path, int size)
{
    return ShowBitmapDialog(owner, path, size, 1);
}

int IsBitmapExtension(const char* ext)
{
    char head[4] = "";
    lstrcpynA(head, ext, sizeof(head));
    return lstrcmpiA(head, "bmp") == 0;
}

UINT_PTR CALLBACK BitmapOpenHookProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    const OPENFILENAMEA* record = FileOkRecord(message, lParam);
    if (!record || IsBitmapExtension(ChosenExtension(record)))
        return 0;
    MessageBoxA(GetParent(dialog), "Please select a bitmap file.", APP_CAPTION, MB_ICONWARNING);
    return RefuseChoice(dialog);
}

UINT_PTR CALLBACK BitmapSaveHookProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    const OPENFILENAMEA* record = FileOkRecord(message, lParam);
    if (!record || IsBitmapExtension(ChosenExtension(record)))
        return 0;
    return ConfirmOtherFormat(dialog);
}
