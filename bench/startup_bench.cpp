// Start-up of the editor to a visible main window, measured from process creation
// (target: under 1 s once Wine is warm). Usage: startup_bench [path of zendle.exe].
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

static HWND VisibleMainWindow(DWORD process)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, "Main", nullptr); window;
         window = FindWindowExA(nullptr, window, "Main", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// One start: seconds until the main window is visible, or a negative value on failure.
static double StartOnce(const std::string& program, const std::string& folder)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::string command = "\"" + program + "\"";
    double start = Seconds();
    if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info))
        return -1;
    HWND window = nullptr;
    while (!window && Seconds() - start < 30) {
        window = VisibleMainWindow(info.dwProcessId);
        if (!window)
            Sleep(1);
    }
    double elapsed = Seconds() - start;
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return window ? elapsed : -1;
}

int main(int argc, char** argv)
{
    std::string program = argc > 1 ? argv[1] : DefaultProgram();
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string folder = std::string(temp) + "zendle-startup-bench";
    CreateDirectoryA(folder.c_str(), nullptr);

    // The first start warms Wine's caches and is reported apart.
    double first = StartOnce(program, folder);
    if (first < 0) {
        printf("startup: %s did not show its main window\n", program.c_str());
        return 1;
    }
    std::vector<double> runs;
    for (int i = 0; i < 7; i++) {
        double t = StartOnce(program, folder);
        if (t < 0) {
            printf("startup: run %d failed\n", i + 1);
            return 1;
        }
        runs.push_back(t);
    }
    std::sort(runs.begin(), runs.end());
    printf("startup to visible main window: first %.3f s; warm over %zu runs: min %.3f s, "
           "median %.3f s, max %.3f s (target < 1 s)\n",
           first, runs.size(), runs.front(), runs[runs.size() / 2], runs.back());
    return 0;
}
