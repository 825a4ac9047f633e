#include "dialogs/FileDialogs.h"

#include <commdlg.h>
#include <stdio.h>
#include <string.h>

#include "app/AppState.h"
#include "base/ErrorBox.h"
#include "app/MainFrame.h"
#include "app/StatusBar.h"
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

static void OpenChosenFile(HWND mainWindow, CMainFrame* frame, const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowLastError(mainWindow, "File creation failed");
        return;
    }
    ShowEditorPanes(1);
    frame->AddDocument(file, path);
}

void OpenDocuments(HWND mainWindow)
{
    CMainFrame* frame = GetMainFrame(mainWindow);
    if (!frame)
        return;
    char* buffer = new char[OPEN_BUFFER_SIZE]();
    char* title = new char[TITLE_BUFFER_SIZE]();
    OPENFILENAMEA ofn;
    FillFileRecord(&ofn, mainWindow, OPEN_FILTER, 2, buffer, OPEN_BUFFER_SIZE, title,
                   TITLE_BUFFER_SIZE);
    ofn.nMaxCustFilter = 128;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                OFN_ENABLEHOOK;
    ofn.lpstrDefExt = "cpp";
    ofn.lpfnHook = OpenHookProc;
    if (GetOpenFileNameA(&ofn)) {
        for (const char* name = buffer + ofn.nFileOffset; *name; name += strlen(name) + 1) {
            char path[MAX_PATH];
            if (ComposeChosenPath(buffer, ofn.nFileOffset, name, path, sizeof(path))) {
                OpenChosenFile(mainWindow, frame, path);
                continue;
            }
            // A path cut to fit could name another file, which a later Save would overwrite.
            char text[OPEN_BUFFER_SIZE + 128];
            snprintf(text, sizeof(text),
                     "The path of \"%s\" is longer than %d characters.\n"
                     "The file was not opened.",
                     name, MAX_PATH - 1);
            MessageBoxA(mainWindow, text, APP_CAPTION, MB_ICONWARNING);
        }
    }
    delete[] buffer;
    delete[] title;
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
