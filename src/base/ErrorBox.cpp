#include "base/ErrorBox.h"

#include <stdio.h>

void ShowLastError(HWND owner, const char* caption)
{
    ShowLastError(owner, caption, GetLastError());
}

void ShowLastError(HWND owner, const char* caption, DWORD error, const char* more)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_ALLOCATE_BUFFER,
                   nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    char both[1024];
    if (more)
        snprintf(both, sizeof(both), "%s\n%s", text ? text : "", more);
    MessageBoxA(owner, more ? both : text ? text : "", caption, MB_ICONWARNING);
    if (text)
        LocalFree(text);
}

void ShowOutOfMemory(HWND owner, const char* caption)
{
    ShowLastError(owner, caption, ERROR_NOT_ENOUGH_MEMORY);
}

void DebugAssertFailed(const char* unit, int line)
{
    char text[512];
    snprintf(text, sizeof(text), "A debug assertion failure occured within file \"%s\" on line %d",
             unit, line);
    MessageBoxA(AssertionOwnerWindow(), text, "Debug assertion failure", MB_ICONWARNING);
}
