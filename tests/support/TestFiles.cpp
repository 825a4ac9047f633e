#include "support/TestFiles.h"

#include <stdio.h>

#include <fstream>
#include <sstream>

#include "app/AppState.h"
#include "app/FileFontStore.h"

static void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

static void DeleteKeyTree(HKEY parent, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char child[256];
    DWORD size = sizeof(child);
    while (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS) {
        DeleteKeyTree(key, child);
        size = sizeof(child);
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, name);
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static int serial = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof(name), "%szendle-%lu-%d", base, GetCurrentProcessId(), ++serial);
    RemoveTree(name);
    CreateDirectoryA(name, nullptr);
    m_path = name;
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

// Copies the values of the user's key path (or only the one named) into the same path
// under sandbox.
static void CopyUserValues(HKEY sandbox, const char* path, const char* only = nullptr)
{
    HKEY from, to;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &from) != ERROR_SUCCESS)
        return;
    if (RegCreateKeyExA(sandbox, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &to,
                        nullptr) == ERROR_SUCCESS) {
        char name[256];
        BYTE data[1024];
        DWORD type;
        for (DWORD i = 0;; i++) {
            DWORD nameSize = sizeof(name), dataSize = sizeof(data);
            LONG r = RegEnumValueA(from, i, name, &nameSize, nullptr, &type, data, &dataSize);
            if (r == ERROR_NO_MORE_ITEMS)
                break;
            if (r == ERROR_SUCCESS && (!only || lstrcmpiA(name, only) == 0))
                RegSetValueExA(to, name, 0, type, data, dataSize);
        }
        RegCloseKey(to);
    }
    RegCloseKey(from);
}

RegistrySandbox::RegistrySandbox() : m_key(nullptr)
{
    static int serial = 0;
    char name[128];
    snprintf(name, sizeof(name), "Software\\ZendleTests\\%lu-%d", GetCurrentProcessId(),
             ++serial);
    m_name = name;
    DeleteKeyTree(HKEY_CURRENT_USER, m_name.c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, m_name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &m_key, nullptr);
    // The printers stay in sight: the system's print dialog and printer contexts look them
    // up, and the default one, among the user's settings.
    CopyUserValues(m_key, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices");
    CopyUserValues(m_key, "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts");
    CopyUserValues(m_key, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Device");
    RegOverridePredefKey(HKEY_CURRENT_USER, m_key);
}

RegistrySandbox::~RegistrySandbox()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(m_key);
    DeleteKeyTree(HKEY_CURRENT_USER, m_name.c_str());
}

StoreSandbox::StoreSandbox()
{
    lstrcpynA(g_app.m_szStartDirectory, m_folder.Path().c_str(), sizeof(g_app.m_szStartDirectory));
    g_app.m_bNoStoreReported = 0;
}

StoreSandbox::~StoreSandbox()
{
    g_app.m_szStartDirectory[0] = 0;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), bytes.size());
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

int FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HANDLE OpenForEditing(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}
