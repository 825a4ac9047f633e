#include "support/Waits.h"

#include "support/AppWindow.h"

bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (GetTickCount() - start > limitMs)
            return false;
        // Wakes at once for a new message (posted by another thread or process).
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > limitMs)
            return false;
        Sleep(10);
    }
    return true;
}

bool WaitUntilClosed(HWND window, DWORD limitMs)
{
    return WaitUntil([window] { return !IsWindow(window); }, limitMs);
}

bool WaitUntilIdle(HWND window, DWORD limitMs)
{
    DWORD_PTR result;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, &result) != 0;
}
