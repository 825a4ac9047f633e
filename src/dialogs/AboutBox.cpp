#include "dialogs/AboutBox.h"


#include "resources/resource.h"

static HFONT g_hAboutTitleFont;

int FormatBuildInformation(char* text, int size)
{
    char buffer[256];
    int length = wsprintfA(buffer, "\nAuthor: %s\nCompany: %s\nDate Compiled: %s\nUtility: %s%c\n",
                           "Zendle Editor team", "Zendle Software", __DATE__,
                           "GNU C++ (MinGW-w64)", 0xA9);
    lstrcpynA(text, buffer, size);
    return length;
}

static void OnAboutInit(HWND dialog)
{
    g_hAboutTitleFont = CreateFontA(16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                    FF_ROMAN, "System");
    SendDlgItemMessageA(dialog, IDC_ABOUT_TITLE, WM_SETFONT,
                        reinterpret_cast<WPARAM>(g_hAboutTitleFont), TRUE);
    char text[256];
    FormatBuildInformation(text, sizeof(text));
    SetDlgItemTextA(dialog, IDC_ABOUT_BUILD, text);
}

// Only OK closes the box; Escape and the close button are ignored.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnAboutInit(dialog);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK)
            return 0;
        DeleteObject(g_hAboutTitleFont);
        g_hAboutTitleFont = nullptr;
        EndDialog(dialog, 1);
        return 1;
    }
    return 0;
}

void ShowAboutBox(HWND owner)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}
