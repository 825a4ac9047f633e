#pragma once
#include <stddef.h>
#include <windows.h>

const DWORD FONT_STORE_HEADER_SIZE = 8;
const DWORD FONT_RECORD_SIZE = 328;
const int FONT_STORE_PATH_SIZE = 260;

// One record of the store file, byte for byte as it lies on disk.
struct CFontRecord {
    DWORD m_dwSize;
    COLORREF m_crColour;
    char m_szPath[FONT_STORE_PATH_SIZE]; // NUL-padded; a path of 260 bytes or more has no terminator
    LOGFONTA m_lf;
};
static_assert(sizeof(CFontRecord) == FONT_RECORD_SIZE, "store records are 328 bytes on disk");
// The 32-bit and the 64-bit program read and write the same files: every field stays where
// the file has it, whatever the width of a pointer.
static_assert(2 * sizeof(DWORD) == FONT_STORE_HEADER_SIZE, "the header is two 32-bit words");
static_assert(offsetof(CFontRecord, m_crColour) == 4 && offsetof(CFontRecord, m_szPath) == 8 &&
                  offsetof(CFontRecord, m_lf) == 268,
              "record fields at their file offsets");
static_assert(sizeof(LOGFONTA) == 60 && offsetof(LOGFONTA, lfItalic) == 20 &&
                  offsetof(LOGFONTA, lfFaceName) == 28,
              "the font as 32-bit fields, 8 bytes and the face name");

// Keeps the current directory as the start-up directory (CAppState::m_szStartDirectory).
void RememberStartDirectory();

// The font and colour of every saved file, kept in one binary file whose path is the
// registry value HKCU\ZendleEditor\FileFont. An object serves one short operation:
// it opens key and file when constructed and closes them when destroyed.
class CFileFontStore {
public:
    // owner: the window that owns the store's message boxes (the main window).
    explicit CFileFontStore(HWND owner);
    virtual ~CFileFontStore();

    // record: m_dwSize and m_szPath filled in. Fills colour and font and returns 1 when a
    // record for that path exists.
    int Lookup(CFontRecord* record);
    // Replaces the record of the same path or appends it. 0 when the store is unavailable
    // or the file could not be written.
    int Store(const CFontRecord* record);
    // Drops the records of files that no longer exist; 1 when any was dropped.
    int Prune();

    int IsOpen() const { return m_hFile != nullptr; }

    char m_szStorePath[FONT_STORE_PATH_SIZE + 1];
    CFontRecord* m_pRecords;
    DWORD m_dwHeaderSize;
    DWORD m_dwCount;
    HANDLE m_hFile;
    HKEY m_hKey;
    HWND m_hOwner;

private:
    CFileFontStore(const CFileFontStore&);
    CFileFontStore& operator=(const CFileFontStore&);
    int ReadPathValue();
    void OpenStoreFile();
    void MakeFreshStore();
    int ReadStore();
    void CloseStoreFile();
    int WriteAt(LONGLONG offset, const void* bytes, DWORD count);
    int CutAt(LONGLONG offset);
    int ReadAt(LONGLONG offset, void* bytes, DWORD count);
    void TakeStore();
    DWORD FindRecord(const char* path) const;
};

// 1 when a stored path names the same file as path: equal up to where path ends, and
// ending there too (or both cut at 260 bytes).
int StorePathsMatch(const char* stored, const char* path);
