#include "bitmap/BitmapMessages.h"

#include <stdio.h>

#include "base/ErrorBox.h"

static BitmapMessageRoute s_route = nullptr;

BitmapMessageRoute RouteBitmapMessages(BitmapMessageRoute route)
{
    BitmapMessageRoute previous = s_route;
    s_route = route;
    return previous;
}

static void Tell(HWND owner, const char* caption, const char* text, DWORD error)
{
    if (s_route)
        s_route(owner, caption, text, error);
    else if (text)
        MessageBoxA(owner, text, caption, MB_ICONWARNING);
    else
        ShowLastError(owner, caption, error);
}

void TellBitmapRefused(HWND owner, const char* path, const char* reason)
{
    char text[MAX_PATH + 256];
    snprintf(text, sizeof(text), "\"%s\" cannot be converted because %s.\nNothing was written.",
             path, reason);
    Tell(owner, "Zendle Editor", text, 0);
}

void TellBitmapFailure(HWND owner, const char* caption)
{
    Tell(owner, caption, nullptr, GetLastError());
}
