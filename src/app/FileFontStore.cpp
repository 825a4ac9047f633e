#include "app/FileFontStore.h"
#include "base/FailureSeam.h"

#include <stdlib.h>
#include <string.h>

#include "app/AppState.h"
#include "base/ErrorBox.h"

// More records than this would need a record block of 2 GB or more, beyond a 32-bit process;
// the 64-bit program keeps the limit, so that both take the same files.
static const DWORD MAX_RECORDS = 0x7FFFFFFF / FONT_RECORD_SIZE;
static const char STORE_FILE_NAME[] = "\\ZendleEditorFileFont.fff";

void RememberStartDirectory()
{
    char directory[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    if (length == 0 || length >= MAX_PATH) {
        g_app.m_szStartDirectory[0] = 0;
        return;
    }
    memcpy(g_app.m_szStartDirectory, directory, length + 1);
}

int StorePathsMatch(const char* stored, const char* path)
{
    int length = 0;
    while (length < FONT_STORE_PATH_SIZE && path[length])
        length++;
    if (memcmp(stored, path, length) != 0)
        return 0;
    return length == FONT_STORE_PATH_SIZE || stored[length] == 0;
}

static void ReportNoStore(HWND owner, DWORD error, const char* caption = "CreateFile() failed")
{
    if (g_app.m_bNoStoreReported)
        return;
    g_app.m_bNoStoreReported = 1;
    ShowLastError(owner, caption, error);
}

CFileFontStore::CFileFontStore(HWND owner)
    : m_pRecords(nullptr), m_dwHeaderSize(FONT_STORE_HEADER_SIZE), m_dwCount(0),
      m_hFile(nullptr), m_hKey(nullptr), m_hOwner(owner)
{
    memset(m_szStorePath, 0, sizeof(m_szStorePath));
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG error = RegCreateKeyExA(HKEY_CURRENT_USER, "ZendleEditor", 0,
                                 const_cast<char*>("ZendleClass"), 0, KEY_ALL_ACCESS, nullptr,
                                 &key, &disposition);
    if (error != ERROR_SUCCESS || !key) {
        ShowLastError(owner, "OpenKey failed", error);
        // The store's path lives under the key: without it there is no store to use.
        return;
    }
    m_hKey = key;
    if (disposition == REG_CREATED_NEW_KEY) {
        MakeFreshStore();
        return;
    }
    if (ReadPathValue())
        OpenStoreFile();
}

CFileFontStore::~CFileFontStore()
{
    CloseStoreFile();
    free(m_pRecords);
    if (m_hKey)
        RegCloseKey(m_hKey);
}

// 1 when the store path was read, or when there is none and a fresh store should be made.
int CFileFontStore::ReadPathValue()
{
    DWORD type = 0;
    DWORD size = FONT_STORE_PATH_SIZE;
    LONG error = RegQueryValueExA(m_hKey, "FileFont", nullptr, &type,
                                  reinterpret_cast<BYTE*>(m_szStorePath), &size);
    // A value too long, of another type or without its end names no usable store: the
    // default store takes its place and the value is written anew.
    if (error == ERROR_MORE_DATA ||
        (error == ERROR_SUCCESS &&
         (type != REG_SZ || size > FONT_STORE_PATH_SIZE || !memchr(m_szStorePath, 0, size)))) {
        memset(m_szStorePath, 0, sizeof(m_szStorePath));
        return 1;
    }
    // With no store to be had the value is never written: that was said once already.
    if (error == ERROR_FILE_NOT_FOUND && g_app.m_bNoStoreReported)
        return 1;
    if (error != ERROR_SUCCESS) {
        ShowLastError(m_hOwner, "RegQueryValue() failed", error);
        memset(m_szStorePath, 0, sizeof(m_szStorePath));
        // A missing value names no store, so one is made.
        return error == ERROR_FILE_NOT_FOUND;
    }
    return 1;
}

void CFileFontStore::OpenStoreFile()
{
    if (!m_szStorePath[0]) {
        MakeFreshStore();
        return;
    }
    HANDLE file = SeamCreateFileA(m_szStorePath, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        // A store that another editor holds open keeps its records and is skipped this
        // time; a path that names no file gives way to the default store. A file that is
        // there but cannot be opened keeps its place: it is skipped, and the user hears of
        // it once a run.
        DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION)
            return;
        DWORD attributes = GetFileAttributesA(m_szStorePath);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            MakeFreshStore();
        else
            ReportNoStore(m_hOwner, error);
        return;
    }
    m_hFile = file;
    TakeStore();
}

// Reads the open file; one that is no store, or that could not be read, is never written.
void CFileFontStore::TakeStore()
{
    if (ReadStore() == 1)
        return;
    DWORD error = GetLastError();
    CloseStoreFile();
    if (error != NO_ERROR)
        ReportNoStore(m_hOwner, error, "ReadFile() failed");
}

void CFileFontStore::MakeFreshStore()
{
    memset(m_szStorePath, 0, sizeof(m_szStorePath));
    if (!g_app.m_szStartDirectory[0])
        RememberStartDirectory();
    size_t length = strlen(g_app.m_szStartDirectory);
    if (!length || length + sizeof(STORE_FILE_NAME) > FONT_STORE_PATH_SIZE) {
        ReportNoStore(m_hOwner, ERROR_FILENAME_EXCED_RANGE);
        return;
    }
    memcpy(m_szStorePath, g_app.m_szStartDirectory, length);
    memcpy(m_szStorePath + length, STORE_FILE_NAME, sizeof(STORE_FILE_NAME));

    // A store already at the default path is taken over, not emptied: the registry may
    // have lost track of it while its records are still good.
    HANDLE file = SeamCreateFileA(m_szStorePath, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) {
        ReportNoStore(m_hOwner, GetLastError());
    } else {
        m_hFile = file;
        TakeStore();
    }
    LONG error = RegSetValueExA(m_hKey, "FileFont", 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(m_szStorePath),
                                FONT_STORE_PATH_SIZE);
    if (error != ERROR_SUCCESS)
        ShowLastError(m_hOwner, "", error);
}

// Reads header and records of the open file; an empty file becomes an empty store. 1 when
// read; otherwise 0, with the error NO_ERROR when the file is no store, or the error that
// kept it from being read (or written, for a new store).
int CFileFontStore::ReadStore()
{
    LARGE_INTEGER size;
    if (!SeamGetFileSizeEx(m_hFile, &size))
        return 0;
    DWORD header[2] = {FONT_STORE_HEADER_SIZE, 0};
    if (size.QuadPart == 0)
        return WriteAt(0, header, sizeof(header));

    SetLastError(NO_ERROR);
    if (size.QuadPart < FONT_STORE_HEADER_SIZE)
        return 0;
    if (!ReadAt(0, header, sizeof(header)))
        return 0;
    SetLastError(NO_ERROR);
    if (header[0] != FONT_STORE_HEADER_SIZE)
        return 0;
    m_dwHeaderSize = header[0];

    // The header's count is believed only as far as the file holds whole records.
    ULONGLONG room = (static_cast<ULONGLONG>(size.QuadPart) - FONT_STORE_HEADER_SIZE) /
                     FONT_RECORD_SIZE;
    ULONGLONG count = header[1] < room ? header[1] : room;
    if (count > MAX_RECORDS)
        return 0;
    if (count == 0)
        return 1;
    DWORD bytes = static_cast<DWORD>(count) * FONT_RECORD_SIZE;
    m_pRecords = static_cast<CFontRecord*>(SeamMalloc(bytes));
    if (!m_pRecords) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    // Records not read would be cut off by the next write.
    if (!ReadAt(FONT_STORE_HEADER_SIZE, m_pRecords, bytes))
        return 0;
    m_dwCount = static_cast<DWORD>(count);
    return 1;
}

int CFileFontStore::ReadAt(LONGLONG offset, void* bytes, DWORD count)
{
    DWORD read = 0;
    if (!SeamSetFilePointerEx(m_hFile, offset) || !SeamReadFile(m_hFile, bytes, count, &read))
        return 0;
    if (read != count) {
        SetLastError(ERROR_HANDLE_EOF);
        return 0;
    }
    return 1;
}

void CFileFontStore::CloseStoreFile()
{
    if (m_hFile)
        CloseHandle(m_hFile);
    m_hFile = nullptr;
    free(m_pRecords);
    m_pRecords = nullptr;
    m_dwCount = 0;
}

int CFileFontStore::WriteAt(LONGLONG offset, const void* bytes, DWORD count)
{
    DWORD written = 0;
    if (!SeamSetFilePointerEx(m_hFile, offset) || !SeamWriteFile(m_hFile, bytes, count, &written))
        return 0;
    if (written != count) {
        SetLastError(ERROR_DISK_FULL);
        return 0;
    }
    return 1;
}

int CFileFontStore::CutAt(LONGLONG offset)
{
    return SeamSetFilePointerEx(m_hFile, offset) && SeamSetEndOfFile(m_hFile);
}

DWORD CFileFontStore::FindRecord(const char* path) const
{
    for (DWORD i = 0; i < m_dwCount; i++) {
        if (m_pRecords[i].m_dwSize == FONT_RECORD_SIZE &&
            StorePathsMatch(m_pRecords[i].m_szPath, path))
            return i;
    }
    return m_dwCount;
}

int CFileFontStore::Lookup(CFontRecord* record)
{
    if (!record || record->m_dwSize != FONT_RECORD_SIZE || !record->m_szPath[0])
        return 0;
    if (!m_hFile || m_dwCount == 0)
        return 0;
    DWORD index = FindRecord(record->m_szPath);
    if (index == m_dwCount) {
        record->m_crColour = 0;
        memset(&record->m_lf, 0, sizeof(record->m_lf));
        return 0;
    }
    record->m_crColour = m_pRecords[index].m_crColour;
    record->m_lf = m_pRecords[index].m_lf;
    record->m_lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return 1;
}

int CFileFontStore::Store(const CFontRecord* record)
{
    if (!record || record->m_dwSize != FONT_RECORD_SIZE || !record->m_szPath[0])
        return 0;
    if (!m_hFile)
        return 0;
    DWORD index = FindRecord(record->m_szPath);
    DWORD count = m_dwCount;
    if (index == count) {
        if (count >= MAX_RECORDS)
            return 0;
        count++;
        CFontRecord* grown =
            static_cast<CFontRecord*>(SeamRealloc(m_pRecords, count * sizeof(CFontRecord)));
        if (!grown) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        m_pRecords = grown;
    }
    // The record goes first: should the header write fail, the old count still
    // describes whole records. A record replaced in place that could not be written
    // whole gets its old bytes back.
    const LONGLONG at = FONT_STORE_HEADER_SIZE + static_cast<LONGLONG>(index) * FONT_RECORD_SIZE;
    if (!WriteAt(at, record, FONT_RECORD_SIZE)) {
        DWORD error = GetLastError();
        if (index < m_dwCount)
            WriteAt(at, &m_pRecords[index], FONT_RECORD_SIZE);
        SetLastError(error);
        return 0;
    }
    DWORD header[2] = {FONT_STORE_HEADER_SIZE, count};
    int written = WriteAt(0, header, sizeof(header)) &&
                  CutAt(FONT_STORE_HEADER_SIZE + static_cast<LONGLONG>(count) * FONT_RECORD_SIZE);
    m_pRecords[index] = *record;
    m_dwCount = count;
    return written;
}

// A record is dropped only when its file is known to be gone: a file that cannot be
// reached right now (a network drive, a locked folder) keeps its font.
static int RecordFileGone(const CFontRecord& record)
{
    if (record.m_dwSize != FONT_RECORD_SIZE)
        return 1;
    char path[FONT_STORE_PATH_SIZE + 1];
    memcpy(path, record.m_szPath, FONT_STORE_PATH_SIZE);
    path[FONT_STORE_PATH_SIZE] = 0;
    if (!path[0])
        return 1;
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return 0;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME;
}

int CFileFontStore::Prune()
{
    if (m_dwCount == 0)
        return 0;
    CFontRecord* kept = static_cast<CFontRecord*>(SeamMalloc(m_dwCount * sizeof(CFontRecord)));
    UNIT_ASSERT(kept != nullptr, "filefont");
    if (!kept)
        return 0;
    DWORD count = 0;
    for (DWORD i = 0; i < m_dwCount; i++) {
        if (!RecordFileGone(m_pRecords[i]))
            kept[count++] = m_pRecords[i];
    }
    if (count == m_dwCount) {
        free(kept);
        return 0;
    }
    UNIT_ASSERT(m_hFile != nullptr, "filefont");
    if (!m_hFile) {
        free(kept);
        return 0;
    }
    DWORD header[2] = {FONT_STORE_HEADER_SIZE, count};
    int written = (count == 0 || WriteAt(FONT_STORE_HEADER_SIZE, kept,
                                         count * FONT_RECORD_SIZE)) &&
                  WriteAt(0, header, sizeof(header)) &&
                  CutAt(FONT_STORE_HEADER_SIZE + static_cast<LONGLONG>(count) * FONT_RECORD_SIZE);
    free(m_pRecords);
    m_pRecords = kept;
    m_dwCount = count;
    return written;
}
