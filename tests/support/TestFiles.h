#pragma once
#include <windows.h>

#include <string>

// A folder of its own under the temporary directory, removed with all it holds.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// HKEY_CURRENT_USER of this process redirected to a key of its own for the lifetime of the
// object, so that tests never see or change the real user's settings. It starts empty but for
// a copy of the user's printers (devices, printer ports, the default printer).
class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();

private:
    HKEY m_key;
    std::string m_name;
};

// A sandboxed registry and a start-up directory of its own: the font store starts afresh
// in the folder, where the test's files live too.
class StoreSandbox {
public:
    StoreSandbox();
    ~StoreSandbox();

    const TempFolder& Folder() const { return m_folder; }
    std::string StorePath() const { return m_folder.File("ZendleEditorFileFont.fff"); }

private:
    RegistrySandbox m_registry;
    TempFolder m_folder;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
int FileExists(const std::string& path);
// Opens a file as the editor's Open command does: for reading and writing, others may read.
HANDLE OpenForEditing(const std::string& path);
