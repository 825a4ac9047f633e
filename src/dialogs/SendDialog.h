#pragma once
#include <windows.h>

const DWORD SEND_ATTACH_FONT = 1;

// What a send would need. The caller fills the file name; OK fills all three.
struct CSendRequest {
    char m_szFile[260];
    DWORD m_dwAddress; // network byte order, INADDR_NONE for a malformed address
    DWORD m_dwOptions;
};

// The modal "Send Information" dialog: 1 after OK (request filled), 0 after Cancel.
int ShowSendDialog(HWND owner, CSendRequest* request);
