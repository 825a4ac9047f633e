#include <windows.h>

#include "app/Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    if (!InitApplication(instance, show))
        return 0;
    return RunMessageLoop();
}
