// Lists the editor's windows on a Wine virtual desktop, one per line, for the end-to-end
// scripts: "main <caption>", "frame <caption>" for each document window with a "view" line
// for its view, "active <caption>" for the active one, "dialog <caption>",
// "focus <class>" for the control that has the editor's keyboard focus, and "pane <text>"
// for each part of its status bar.
// Usage: probe.exe DESKTOP OUTPUT-FILE
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>

static FILE* g_out;
static HWND g_main;

static void Print(const char* kind, HWND window)
{
    char caption[256] = "";
    GetWindowTextA(window, caption, sizeof(caption));
    fprintf(g_out, "%s %s\n", kind, caption);
}

// "view <frame caption> <left> <top> <right> <bottom>": where the frame's view is on screen.
static void PrintView(HWND frame)
{
    HWND view = FindWindowExA(frame, nullptr, "Display", nullptr);
    RECT r;
    if (!view || !GetWindowRect(view, &r))
        return;
    char caption[256] = "";
    GetWindowTextA(frame, caption, sizeof(caption));
    fprintf(g_out, "view %s %ld %ld %ld %ld\n", caption, r.left, r.top, r.right, r.bottom);
}

static BOOL CALLBACK ListTopLevel(HWND window, LPARAM)
{
    if (!IsWindowVisible(window))
        return TRUE;
    char name[32] = "";
    GetClassNameA(window, name, sizeof(name));
    if (lstrcmpA(name, "Main") == 0) {
        g_main = window;
        Print("main", window);
        HWND client = FindWindowExA(window, nullptr, "MDICLIENT", nullptr);
        for (HWND frame = FindWindowExA(client, nullptr, "MDI", nullptr); frame;
             frame = FindWindowExA(client, frame, "MDI", nullptr)) {
            Print("frame", frame);
            PrintView(frame);
        }
        HWND active = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
        if (active)
            Print("active", active);
    } else if (lstrcmpA(name, "#32770") == 0) {
        Print("dialog", window);
    }
    return TRUE;
}

// The focus of the editor's one window thread, which also runs its modal dialogs.
static void PrintFocus()
{
    GUITHREADINFO info;
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(g_main, nullptr), &info) || !info.hwndFocus)
        return;
    char name[64] = "";
    GetClassNameA(info.hwndFocus, name, sizeof(name));
    fprintf(g_out, "focus %s\n", name);
}

// The status bar's texts are read into a buffer in the editor's own address space.
static void PrintPanes()
{
    HWND status = FindWindowExA(g_main, nullptr, STATUSCLASSNAMEA, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(g_main, &process);
    HANDLE editor = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, process);
    if (!status || !editor)
        return;
    const SIZE_T size = 512;
    void* remote = VirtualAllocEx(editor, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    DWORD_PTR parts = 0;
    if (remote && SendMessageTimeoutA(status, SB_GETPARTS, 0, 0, SMTO_NORMAL, 5000, &parts)) {
        for (int i = 0; i < static_cast<int>(parts); i++) {
            DWORD_PTR length = 0;
            char text[size] = "";
            SIZE_T read = 0;
            if (SendMessageTimeoutA(status, SB_GETTEXTLENGTHA, i, 0, SMTO_NORMAL, 5000, &length) &&
                LOWORD(length) < size &&
                SendMessageTimeoutA(status, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(remote),
                                    SMTO_NORMAL, 5000, &length) &&
                ReadProcessMemory(editor, remote, text, size - 1, &read))
                fprintf(g_out, "pane %s\n", text);
        }
    }
    if (remote)
        VirtualFreeEx(editor, remote, 0, MEM_RELEASE);
    CloseHandle(editor);
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
    if (g_main) {
        PrintFocus();
        PrintPanes();
    }
    fclose(g_out);
    return 0;
}
