// Start-up of the editor to a visible main window, and on to an idle one, measured from
// process creation (target: under 1 s once Wine is warm), beside the system's notepad of the
// same bitness started the same way. Usage: startup_bench [path of zendle.exe].
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

static double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

// The program sits in the build folder, one level above this benchmark.
static std::string DefaultProgram()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of('\\'));
    return folder.substr(0, folder.find_last_of('\\')) + "\\zendle.exe";
}

static HWND VisibleMainWindow(const char* windowClass, DWORD process)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, windowClass, nullptr); window;
         window = FindWindowExA(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

struct StartTimes {
    double visible;
    double idle;
};

// One start: seconds until the main window is visible, and until the program then waits
// for input; negative on failure.
static StartTimes StartOnce(const std::string& program, const char* windowClass,
                            const std::string& folder)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::string command = "\"" + program + "\"";
    StartTimes times = {-1, -1};
    double start = Seconds();
    if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info))
        return times;
    HWND window = nullptr;
    while (!window && Seconds() - start < 30) {
        window = VisibleMainWindow(windowClass, info.dwProcessId);
        if (!window)
            Sleep(1);
    }
    if (window) {
        times.visible = Seconds() - start;
        WaitForInputIdle(info.hProcess, 10000);
        times.idle = Seconds() - start;
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return times;
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int main(int argc, char** argv)
{
    std::string program = argc > 1 ? argv[1] : DefaultProgram();
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof(system));
    const std::string notepad = std::string(system) + "\\notepad.exe";
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string folder = std::string(temp) + "zendle-startup-bench";
    CreateDirectoryA(folder.c_str(), nullptr);

    // The first starts warm Wine's caches and are reported apart.
    StartTimes first = StartOnce(program, "Main", folder);
    StartTimes firstNotepad = StartOnce(notepad, "Notepad", folder);
    if (first.visible < 0) {
        printf("startup: %s did not show its main window\n", program.c_str());
        return 1;
    }
    // Taken in turn, so that both see the same load.
    std::vector<double> visible, idle, notepadVisible, notepadIdle;
    for (int i = 0; i < 7; i++) {
        StartTimes t = StartOnce(program, "Main", folder);
        StartTimes n = StartOnce(notepad, "Notepad", folder);
        if (t.visible < 0) {
            printf("startup: run %d failed\n", i + 1);
            return 1;
        }
        visible.push_back(t.visible);
        idle.push_back(t.idle);
        if (n.visible >= 0) {
            notepadVisible.push_back(n.visible);
            notepadIdle.push_back(n.idle);
        }
    }
    printf("startup of the %d-bit editor, median of %zu warm starts (first start %.3f s): "
           "visible %.3f s, idle %.3f s (target < 1 s)\n",
           static_cast<int>(sizeof(void*) * 8), visible.size(), first.visible, Median(visible),
           Median(idle));
    if (notepadVisible.empty())
        printf("notepad (%s) did not show its window\n", notepad.c_str());
    else
        printf("notepad of the same bitness, in turn with it (first start %.3f s): visible "
               "%.3f s, idle %.3f s\n",
               firstNotepad.visible, Median(notepadVisible), Median(notepadIdle));
    return 0;
}
