#include "support/Screenshot.h"

#include <windows.h>

#include "support/Waits.h"

// Wine's own export: the Unix path of a Windows path, in memory of the process heap.
typedef char* (__cdecl* UnixNameOf)(const WCHAR* path);

// build/e2e-shots beside the test programs' folder (build/tests).
static std::wstring ShotsFolder()
{
    WCHAR path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    for (int up = 0; up < 2; up++)
        folder.erase(folder.find_last_of(L'\\'));
    folder += L"\\e2e-shots";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string SaveScreenshot(const std::string& name)
{
    FARPROC export_ = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    UnixNameOf unixName = reinterpret_cast<UnixNameOf>(reinterpret_cast<void*>(export_));
    if (!unixName)
        return "";
    std::wstring file = ShotsFolder() + L"\\" + std::wstring(name.begin(), name.end()) + L".png";
    char* unixFile = unixName(file.c_str());
    if (!unixFile)
        return "";
    std::string path = unixFile;
    HeapFree(GetProcessHeap(), 0, unixFile);
    // The tool's process ends apart from Wine's handle on it: the file appears, whole, once
    // the tool has written it.
    DeleteFileW(file.c_str());
    std::string command = "/bin/sh -c \"import -window root '" + path + ".part.png' && mv '" +
                          path + ".part.png' '" + path + "'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return "";
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    auto written = [&file] { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; };
    return PumpUntil(written) ? path : "";
}
