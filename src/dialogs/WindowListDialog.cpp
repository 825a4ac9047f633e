#include "dialogs/WindowListDialog.h"

#include "resources/resource.h"

static void OnWindowListInit(HWND dialog, HWND mdiClient)
{
    HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
    HWND active = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
    for (HWND child = GetWindow(mdiClient, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        // Icon titles and other owned windows of the client are no documents.
        if (GetWindow(child, GW_OWNER))
            continue;
        char caption[MAX_PATH];
        GetWindowTextA(child, caption, sizeof(caption));
        LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption));
        if (at < 0)
            continue;
        SendMessageA(list, LB_SETITEMDATA, at, reinterpret_cast<LPARAM>(child));
        if (child == active)
            SendMessageA(list, LB_SETCURSEL, at, 0);
    }
    if (SendMessageA(list, LB_GETCURSEL, 0, 0) < 0)
        SendMessageA(list, LB_SETCURSEL, 0, 0);
}

static void EndWithChoice(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
    LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
    LRESULT chosen = at < 0 ? 0 : SendMessageA(list, LB_GETITEMDATA, at, 0);
    EndDialog(dialog, chosen == LB_ERR ? 0 : chosen);
}

static INT_PTR CALLBACK WindowListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnWindowListInit(dialog, reinterpret_cast<HWND>(lParam));
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK ||
            (LOWORD(wParam) == IDC_WINDOW_LIST && HIWORD(wParam) == LBN_DBLCLK))
            EndWithChoice(dialog);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        else
            return 0;
        return 1;
    }
    return 0;
}

HWND ChooseDocumentWindow(HWND owner, HWND mdiClient)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    INT_PTR chosen = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WINDOW_LIST), owner,
                                     WindowListProc, reinterpret_cast<LPARAM>(mdiClient));
    // A handle is no number: one with its top bit set reads as negative, in either program.
    return chosen != 0 && chosen != -1 ? reinterpret_cast<HWND>(chosen) : nullptr;
}
