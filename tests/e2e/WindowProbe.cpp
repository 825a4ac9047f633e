// Lists the editor's windows on a Wine virtual desktop, one per line, for the end-to-end
// scripts: "main <caption>", "frame <caption>" for each document window, "dialog <caption>".
// Usage: probe.exe DESKTOP OUTPUT-FILE
#include <windows.h>

#include <stdio.h>

static FILE* g_out;

static void Print(const char* kind, HWND window)
{
    char caption[256] = "";
    GetWindowTextA(window, caption, sizeof(caption));
    fprintf(g_out, "%s %s\n", kind, caption);
}

static BOOL CALLBACK ListTopLevel(HWND window, LPARAM)
{
    if (!IsWindowVisible(window))
        return TRUE;
    char name[32] = "";
    GetClassNameA(window, name, sizeof(name));
    if (lstrcmpA(name, "Main") == 0) {
        Print("main", window);
        HWND client = FindWindowExA(window, nullptr, "MDICLIENT", nullptr);
        for (HWND frame = FindWindowExA(client, nullptr, "MDI", nullptr); frame;
             frame = FindWindowExA(client, frame, "MDI", nullptr))
            Print("frame", frame);
    } else if (lstrcmpA(name, "#32770") == 0) {
        Print("dialog", window);
    }
    return TRUE;
}

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    HDESK desktop = OpenDesktopA(argv[1], 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
    if (!desktop || !SetThreadDesktop(desktop))
        return 3;
    g_out = fopen(argv[2], "wb");
    if (!g_out)
        return 4;
    EnumWindows(ListTopLevel, 0);
    fclose(g_out);
    return 0;
}
