#include "dialogs/FileDialogs.h"

#include <commdlg.h>
#include <stdio.h>
#include <string.h>

#include <new>

#include "base/ErrorBox.h"
#include "dialogs/FileDialogParts.h"

namespace {

const char OPEN_FILTER[] = "Text Files\0*.txt\0C++ Files\0*.cpp;*.h\0All Files\0*.*\0";
const char SAVE_FILTER[] = "Text Files\0*.txt\0C++ Source\0*.cpp\0C++ Header\0*.h\0";
const int OPEN_BUFFER_SIZE = 2048;
const int TITLE_BUFFER_SIZE = 128;

const char NOT_TEXT_WARNING[] = "The selected file cannot be opened with this application.\n"
                                "Please choose text files only.";

} // namespace

int IsTextExtension(const char* ext)
{
    char head[5] = "";
    lstrcpynA(head, ext, sizeof(head));
    CharLowerA(head);
    return strncmp(head, "cpp", 3) == 0 || head[0] == 'h' || strncmp(head, "txt", 3) == 0;
}

const char* FirstDotExtension(const char* name)
{
    const char* dot = strchr(name, '.');
    return dot ? dot + 1 : "";
}

int ComposeChosenPath(const char* buffer, int nameOffset, const char* name, char* path, int size)
{
    if (nameOffset < 1)
        return 0;
    int directory = nameOffset - 1;
    // A root directory already ends in a backslash.
    int separator = directory > 0 && buffer[directory - 1] == '\\' ? 0 : 1;
    int length = directory + separator + lstrlenA(name);
    if (length >= size)
        return 0;
    memcpy(path, buffer, directory);
    if (separator)
        path[directory] = '\\';
    strcpy(path + directory + separator, name);
    return 1;
}

UINT_PTR CALLBACK OpenHookProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    const OPENFILENAMEA* record = FileOkRecord(message, lParam);
    if (!record)
        return 0;
    for (const char* name = record->lpstrFile + record->nFileOffset; *name;
         name += strlen(name) + 1) {
        if (!IsTextExtension(FirstDotExtension(name))) {
            MessageBoxA(GetParent(dialog), NOT_TEXT_WARNING, APP_CAPTION, MB_ICONWARNING);
            return RefuseChoice(dialog);
        }
    }
    return 0;
}

UINT_PTR CALLBACK SaveHookProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    const OPENFILENAMEA* record = FileOkRecord(message, lParam);
    if (!record || IsTextExtension(record->lpstrFile + record->nFileExtension))
        return 0;
    return ConfirmOtherFormat(dialog);
}

char* ShowOpenDialog(HWND owner)
{
    char* buffer = new (std::nothrow) char[OPEN_BUFFER_SIZE]();
    char* title = new (std::nothrow) char[TITLE_BUFFER_SIZE]();
    // Each path is at most as long as the directory and its name in the dialog's buffer.
    char* paths = new (std::nothrow) char[OPEN_BUFFER_SIZE * 2]();
    OPENFILENAMEA ofn;
    if (!buffer || !title || !paths) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        ShowLastError(owner, "Memory allocation failed");
        delete[] buffer;
        delete[] title;
        delete[] paths;
        return nullptr;
    }
    FillFileRecord(&ofn, owner, OPEN_FILTER, 2, buffer, OPEN_BUFFER_SIZE, title,
                   TITLE_BUFFER_SIZE);
    ofn.nMaxCustFilter = 128;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                OFN_ENABLEHOOK;
    ofn.lpstrDefExt = "cpp";
    ofn.lpfnHook = OpenHookProc;
    int chosen = GetOpenFileNameA(&ofn);
    char* end = paths;
    for (const char* name = buffer + ofn.nFileOffset; chosen && *name; name += strlen(name) + 1) {
        char path[MAX_PATH];
        if (ComposeChosenPath(buffer, ofn.nFileOffset, name, path, sizeof(path))) {
            strcpy(end, path);
            end += strlen(path) + 1;
            continue;
        }
        // A path cut to fit could name another file, which a later Save would overwrite.
        char text[OPEN_BUFFER_SIZE + 128];
        snprintf(text, sizeof(text),
                 "The path of \"%s\" is longer than %d characters.\n"
                 "The file was not opened.",
                 name, MAX_PATH - 1);
        MessageBoxA(owner, text, APP_CAPTION, MB_ICONWARNING);
    }
    delete[] buffer;
    delete[] title;
    if (!chosen) {
        delete[] paths;
        return nullptr;
    }
    return paths;
}

int ShowSaveAsDialog(HWND owner, char* path, int pathSize, char* title, int titleSize)
{
    OPENFILENAMEA ofn;
    FillFileRecord(&ofn, owner, SAVE_FILTER, 1, path, pathSize, title, titleSize);
    // No OFN_FILEMUSTEXIST: a document is usually saved under a name that does not exist yet.
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ENABLEHOOK | OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = "cpp";
    ofn.lpfnHook = SaveHookProc;
    return GetSaveFileNameA(&ofn) ? 1 : 0;
}
