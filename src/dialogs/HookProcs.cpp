// The Print dialog's hook procedure and the print job's abort procedure.
#include <windows.h>
#include <commdlg.h>

#include "base/ErrorBox.h"
#include "document/PrintSeam.h"

static UINT_PTR OnPrintCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDOK: PrintDialogConfirming(dialog); return 0;
    case IDCANCEL: PrintDialogCancelling(); return 0;
    case 1000:
        if (code != BN_CLICKED)
            return 0;
        PrintDialogWrapClicked(dialog);
        return 1;
    case 1025:
        if (code != BN_CLICKED)
            return 0;
        PrintDialogProperties(dialog);
        return 1;
    case 1139:
        if (code == CBN_SELCHANGE && !PrintDialogPrinterChanged(dialog))
            ShowLastError(dialog, "ChangeDevices() failed");
        return 0;
    }
    return 0;
}

UINT_PTR CALLBACK PrintHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        PrintDialogOpened(dialog, reinterpret_cast<const PRINTDLGA*>(lParam));
        return 0;
    case WM_COMMAND: return OnPrintCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY: PrintDialogClosed(); return 0;
    }
    return 0;
}

BOOL CALLBACK PrintAbortProc(HDC, int)
{
    int answer = MessageBoxA(AssertionOwnerWindow(), "Abort Printing operation?", "AbortFunc",
                             MB_ICONQUESTION | MB_YESNO);
    return answer == IDYES ? FALSE : TRUE;
}
