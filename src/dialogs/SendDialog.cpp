#include <winsock2.h>

#include "dialogs/SendDialog.h"

#include <new>
#include <stdio.h>

#include "resources/resource.h"

static const char* const DESTINATIONS[] = {"192.0.2.10", "198.51.100.20", "127.0.0.1"};
static const int DESTINATION_IDS[] = {IDC_SEND_DEST1, IDC_SEND_DEST2, IDC_SEND_LOOPBACK};
static const int OCTET_IDS[] = {IDC_SEND_OCTET1, IDC_SEND_OCTET2, IDC_SEND_OCTET3,
                                IDC_SEND_OCTET4};

struct CSendDialogState {
    CSendRequest* m_pRequest;
    HFONT m_hOctetFont;
};

static CSendDialogState* StateOf(HWND dialog)
{
    return reinterpret_cast<CSendDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

static int IsOctet(int id)
{
    return id >= IDC_SEND_OCTET1 && id <= IDC_SEND_OCTET4;
}

// An octet is accepted below 256, written back without leading zeros.
static int CheckOctet(HWND dialog, int id)
{
    BOOL read = FALSE;
    UINT value = GetDlgItemInt(dialog, id, &read, FALSE);
    SetDlgItemInt(dialog, id, value, FALSE);
    if (value < 256)
        return 1;
    MessageBoxA(dialog, "Please enter a value between 0 and 255", "IP Address Format Error",
                MB_ICONWARNING);
    HWND edit = GetDlgItem(dialog, id);
    if (GetWindowTextLengthA(edit) > 0)
        SendMessageA(edit, EM_SETSEL, 0, -1);
    return 0;
}

// The first three octet edits: a dot or a fourth digit moves on to the next octet.
static LRESULT CALLBACK OctetEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_USERDATA));
    HWND dialog = GetParent(edit);
    int id = GetDlgCtrlID(edit);
    if (message == WM_DESTROY) {
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        return CallWindowProcA(previous, edit, message, wParam, lParam);
    }
    if (message == WM_CHAR && wParam == '.') {
        SetFocus(GetDlgItem(dialog, id + 1));
        return 0;
    }
    if (message == WM_CHAR && wParam >= '0' && wParam <= '9') {
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        if (start == end && start >= 3) {
            if (CheckOctet(dialog, id)) {
                HWND next = GetDlgItem(dialog, id + 1);
                char digit[2] = {static_cast<char>(wParam), 0};
                SetFocus(next);
                SetWindowTextA(next, digit);
                SendMessageA(next, EM_SETSEL, 1, 1);
            }
            return 0;
        }
    }
    return CallWindowProcA(previous, edit, message, wParam, lParam);
}

static void SetManualMode(HWND dialog, int manual)
{
    for (int id : OCTET_IDS)
        EnableWindow(GetDlgItem(dialog, id), manual);
    for (int id : DESTINATION_IDS)
        EnableWindow(GetDlgItem(dialog, id), !manual);
}

static void OnSendInit(HWND dialog, CSendRequest* request)
{
    CSendDialogState* state = new (std::nothrow) CSendDialogState;
    if (!state) {
        EndDialog(dialog, 0);
        return;
    }
    state->m_pRequest = request;
    state->m_hOctetFont = CreateFontA(22, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                      FF_ROMAN, "Times New Roman");
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    CheckRadioButton(dialog, IDC_SEND_PREDEFINED, IDC_SEND_MANUAL, IDC_SEND_PREDEFINED);
    CheckDlgButton(dialog, IDC_SEND_DEST1, BST_CHECKED);
    CheckDlgButton(dialog, IDC_SEND_ATTACH_FONT, BST_CHECKED);
    SetDlgItemTextA(dialog, IDC_SEND_FILE, request->m_szFile);
    for (int i = 0; i < 3; i++) {
        HWND edit = GetDlgItem(dialog, OCTET_IDS[i]);
        LONG_PTR previous =
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OctetEditProc));
        SetWindowLongPtrA(edit, GWLP_USERDATA, previous);
    }
    for (int id : OCTET_IDS)
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageA(dialog, IDC_SEND_FILE, EM_LIMITTEXT, 260, 0);
    const int fontIds[] = {IDC_SEND_OCTET1, IDC_SEND_OCTET2, IDC_SEND_OCTET3, IDC_SEND_OCTET4,
                           IDC_SEND_DOT1,   IDC_SEND_DOT2,   IDC_SEND_DOT3};
    for (int id : fontIds)
        SendDlgItemMessageA(dialog, id, WM_SETFONT,
                            reinterpret_cast<WPARAM>(state->m_hOctetFont), FALSE);
}

static void FillRequest(HWND dialog, CSendRequest* request)
{
    char address[16] = "";
    if (IsDlgButtonChecked(dialog, IDC_SEND_MANUAL) == BST_CHECKED) {
        char octets[4][4];
        for (int i = 0; i < 4; i++)
            GetDlgItemTextA(dialog, OCTET_IDS[i], octets[i], sizeof(octets[i]));
        snprintf(address, sizeof(address), "%s.%s.%s.%s", octets[0], octets[1], octets[2],
                 octets[3]);
    } else {
        int chosen = 2;
        for (int i = 0; i < 2 && chosen == 2; i++)
            if (IsDlgButtonChecked(dialog, DESTINATION_IDS[i]) == BST_CHECKED)
                chosen = i;
        lstrcpynA(address, DESTINATIONS[chosen], sizeof(address));
    }
    request->m_dwAddress = inet_addr(address);
    GetDlgItemTextA(dialog, IDC_SEND_FILE, request->m_szFile, sizeof(request->m_szFile));
    request->m_dwOptions =
        IsDlgButtonChecked(dialog, IDC_SEND_ATTACH_FONT) == BST_CHECKED ? SEND_ATTACH_FONT : 0;
}

static void EndSendDialog(HWND dialog, int ok)
{
    CSendDialogState* state = StateOf(dialog);
    if (state && ok)
        FillRequest(dialog, state->m_pRequest);
    EndDialog(dialog, ok);
}

// However the dialog goes, with OK, Cancel or its owner, its state and font go too.
static void OnSendDestroy(HWND dialog)
{
    CSendDialogState* state = StateOf(dialog);
    if (!state)
        return;
    if (state->m_hOctetFont)
        DeleteObject(state->m_hOctetFont);
    delete state;
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
}

// Leaving an octet for another control than Cancel checks it; a refused one keeps the focus.
static void OnOctetLeft(HWND dialog, int id)
{
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != dialog || GetDlgCtrlID(focus) == IDCANCEL)
        return;
    if (!CheckOctet(dialog, id))
        SetFocus(GetDlgItem(dialog, id));
}

static void OnSendCommand(HWND dialog, int id, int code)
{
    if (id == IDOK || id == IDCANCEL)
        EndSendDialog(dialog, id == IDOK);
    else if ((id == IDC_SEND_PREDEFINED || id == IDC_SEND_MANUAL) && code == BN_CLICKED)
        SetManualMode(dialog, id == IDC_SEND_MANUAL);
    else if (IsOctet(id) && code == EN_KILLFOCUS)
        OnOctetLeft(dialog, id);
}

static INT_PTR CALLBACK SendDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnSendInit(dialog, reinterpret_cast<CSendRequest*>(lParam));
        return 1;
    case WM_COMMAND:
        OnSendCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return 1;
    case WM_DESTROY:
        OnSendDestroy(dialog);
        return 0;
    }
    return 0;
}

int ShowSendDialog(HWND owner, CSendRequest* request)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SEND), owner, SendDialogProc,
                           reinterpret_cast<LPARAM>(request)) == 1;
}
