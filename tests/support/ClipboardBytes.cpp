#include "support/ClipboardBytes.h"

#include <windows.h>

#include <string.h>

#include "support/Waits.h"

static int OpenWithin(HWND owner, DWORD ms)
{
    return WaitUntil([owner] { return OpenClipboard(owner) != 0; }, ms);
}

int PutClipboardBytes(const std::string& block)
{
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, block.size() ? block.size() : 1);
    if (!data)
        return 0;
    memcpy(GlobalLock(data), block.data(), block.size());
    GlobalUnlock(data);
    // Without an owner window, EmptyClipboard leaves nobody to whom data may be given.
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    int done = 0;
    if (owner && OpenWithin(owner, 5000)) {
        EmptyClipboard();
        done = SetClipboardData(CF_TEXT, data) != nullptr;
        CloseClipboard();
    }
    if (!done)
        GlobalFree(data);
    if (owner)
        DestroyWindow(owner);
    return done;
}

int ReadClipboardBytes(std::string* text)
{
    if (!OpenWithin(nullptr, 5000))
        return 0;
    HGLOBAL data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (bytes) {
        SIZE_T size = GlobalSize(data);
        const char* nul = static_cast<const char*>(memchr(bytes, 0, size));
        text->assign(bytes, nul ? static_cast<SIZE_T>(nul - bytes) : size);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes != nullptr;
}

int EmptyTheClipboard()
{
    if (!OpenWithin(nullptr, 5000))
        return 0;
    EmptyClipboard();
    CloseClipboard();
    return 1;
}

int RunClipboardPeer(const char* verb, const std::string& file)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string program(path, n);
    program = program.substr(0, program.find_last_of("\\/") + 1) + "clipboard_peer.exe";
    std::string command = "\"" + program + "\" " + verb + " \"" + file + "\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return -1;
    // Messages keep flowing meanwhile, as in the editor's loop: emptying the clipboard
    // sends WM_DESTROYCLIPBOARD to its owner, which may be a window of ours.
    DWORD code = static_cast<DWORD>(-1);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        DWORD woken = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) {
            GetExitCodeProcess(process.hProcess, &code);
            break;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
