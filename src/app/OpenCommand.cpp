// The Open command: the Open dialog's chosen paths, each opened as a new document.
#include "app/MainFrame.h"

#include <string.h>

#include "app/StatusBar.h"
#include "base/ErrorBox.h"
#include "base/FailureSeam.h"
#include "dialogs/FileDialogs.h"

void CMainFrame::OnOpen(HWND window)
{
    char* paths = ShowOpenDialog(window);
    if (!paths)
        return;
    for (const char* path = paths; *path; path += strlen(path) + 1)
        OpenPath(window, path);
    delete[] paths;
}

COpenDocument* CMainFrame::OpenPath(HWND window, const char* path)
{
    HANDLE file = SeamCreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        ShowLastError(window, "File creation failed");
        return nullptr;
    }
    ShowEditorPanes(1);
    return AddDocument(file, path);
}
