// Moving a document between memory and its file, and the font it is remembered with.
#include "document/TextDocument.h"
#include "base/FailureSeam.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <atomic>

#include "base/ErrorBox.h"
#include "document/DocumentOwner.h"
#include "document/LineEnds.h"
#include "document/TextHelpers.h"
#include "view/FontInfo.h"

static const char WRITE_FAILED[] = "Failure occurred when writing to a file";
// Text indexes are signed 32-bit: the text block holds at most 2 GB - 1 bytes. The line
// table stops at a quarter of that many lines, which its refusal names.
static const LONGLONG MAX_FILE_SIZE = 0x7FFFFFFF;
static const int MAX_LINES = 0x0FFFFFFF;
static_assert(MAX_LINES == 268435455, "the refusal below names the limit");

// Reserved names (NUL, CON, COM1, LPT1, ... even with an extension) open devices, and
// reading some of them blocks: only disk files are documents. 1 for a device, 0 for a disk
// file, -1 (the error set) when the handle could not be asked.
static int IsDeviceHandle(HANDLE handle)
{
    SetLastError(NO_ERROR);
    DWORD type = SeamGetFileType(handle);
    if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR)
        return -1;
    return type != FILE_TYPE_DISK;
}

// A path that cannot be asked is no device: creating the file then says what is wrong.
static int IsDevice(const char* path)
{
    HANDLE handle =
        SeamCreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    int device = IsDeviceHandle(handle) == 1;
    CloseHandle(handle);
    return device;
}

static void RefuseDevice(HWND owner, const char* path, const char* consequence)
{
    char text[MAX_PATH + 128];
    snprintf(text, sizeof(text), "\"%s\" names a device, not a file. %s", path, consequence);
    MessageBoxA(owner, text, "Zendle Editor", MB_ICONWARNING);
}

// The first write to each page of a fresh block costs a page fault, about as much as the
// conversion of the page itself. While the file is read into the front of the text block,
// a helper thread takes the faults of its far end, walking back until it meets the reading.
class CPageToucher {
public:
    CPageToucher(char* block, size_t size) : m_pBlock(block), m_nSize(size), m_hThread(nullptr)
    {
        m_nReached = 0;
        if (size >= HELPER_MEASURE_MIN)
            m_hThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~CPageToucher()
    {
        if (!m_hThread)
            return;
        m_nReached = m_nSize;
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
    }
    // The reading has written the block up to offset.
    void Reached(size_t offset) { m_nReached = offset; }

private:
    static const size_t PAGE = 4096;
    static DWORD WINAPI Run(void* parameter)
    {
        CPageToucher* toucher = static_cast<CPageToucher*>(parameter);
        // Adding 0 atomically leaves a byte the reading may write at the same time intact.
        for (size_t at = toucher->m_nSize; at > toucher->m_nReached + PAGE; at -= PAGE)
            __atomic_fetch_add(toucher->m_pBlock + at - 1, 0, __ATOMIC_RELAXED);
        return 0;
    }
    char* m_pBlock;
    size_t m_nSize;
    std::atomic<size_t> m_nReached;
    HANDLE m_hThread;
};

// The file is read a piece at a time into a buffer that stays in the processor's cache and
// converted from there straight into the text block: the text is never held twice. This is
// where loading touches the file. middle gets the end of the piece that passes the middle of
// the file and the breaks before it. 1 when every byte was read (or a NUL stopped it early).
static int ReadConverted(HANDLE file, DWORD size, char* piece, DWORD pieceSize, char* text,
                         LineEndState* state, int* length, TextMark* middle)
{
    CPageToucher toucher(text, size);
    *length = 0;
    *middle = {0, 0};
    for (DWORD done = 0; done < size && !state->nul;) {
        DWORD want = size - done < pieceSize ? size - done : pieceSize;
        DWORD read = 0;
        if (!SeamReadFile(file, piece, want, &read) || read != want)
            return 0;
        *length += ConvertLineEnds(piece, static_cast<int>(want), text + *length, state);
        toucher.Reached(static_cast<size_t>(*length));
        if (done < size / 2 && done + want >= size / 2)
            *middle = {static_cast<unsigned int>(*length), state->breaks};
        done += want;
    }
    return 1;
}

void CTextDocument::LoadDocumentFile()
{
    LARGE_INTEGER size;
    const int device = IsDeviceHandle(m_hFile);
    if (device == 1) {
        RefuseLoad("\"%s\" names a device, not a file, and cannot be opened.");
        return;
    }
    if (device < 0 || !SeamSetFilePointerEx(m_hFile, 0) || !SeamGetFileSizeEx(m_hFile, &size)) {
        RefuseLoad("The file \"%s\" could not be read.");
        return;
    }
    if (size.QuadPart > MAX_FILE_SIZE) {
        RefuseLoad("The file \"%s\" is 2 GB or larger and cannot be opened.");
        return;
    }
    DWORD bytes = static_cast<DWORD>(size.QuadPart);
    const DWORD pieceSize = bytes < READ_PIECE ? (bytes ? bytes : 1) : READ_PIECE;
    char* piece = static_cast<char*>(SeamMalloc(pieceSize));
    if (!piece || !AllocateText(RoundUp(bytes, TEXT_BLOCK_STEP) + TEXT_BLOCK_STEP)) {
        free(piece);
        RefuseLoad("There is not enough memory to open the file \"%s\".");
        return;
    }
    LineEndState state = {};
    int length;
    TextMark middle;
    int read = ReadConverted(m_hFile, bytes, piece, pieceSize, m_pText, &state, &length, &middle);
    free(piece);
    // A partial text must never be tied to the file: the next save would cut it there.
    if (!read) {
        RefuseLoad("The file \"%s\" could not be read.");
        return;
    }
    // The text ends at its first NUL for every scan, so such a file cannot be edited safely.
    if (state.nul) {
        RefuseLoad("The file \"%s\" contains NUL bytes and cannot be opened as text.");
        return;
    }
    // The conversion may have written a few bytes past the text: the slack reads as zeros.
    memset(m_pText + length, 0, 16);
    m_nLength = static_cast<unsigned int>(length);

    if (state.breaks >= MAX_LINES) {
        RefuseLoad("The file \"%s\" has more than 268,435,455 lines, the most a document can "
                   "hold, and cannot be opened.");
        return;
    }
    if (!AllocateLineTable(state.breaks + 1)) {
        RefuseLoad("There is not enough memory to open the file \"%s\".");
        return;
    }
    RestoreDocumentFont();
    MeasureAllLines(&middle);
}

// Tells the user, lets go of the file and leaves an empty untitled text.
void CTextDocument::RefuseLoad(const char* format)
{
    char text[sizeof(m_szPath) + 128];
    snprintf(text, sizeof(text), format, m_szPath);
    MessageBoxA(GetOwnerWindow(), text, "Zendle Editor", MB_ICONWARNING);
    CloseHandle(m_hFile);
    m_hFile = nullptr;
    SetNames(nullptr);
    m_nLength = 0;
    m_pText[0] = 0;
    m_bLoadRefused = 1;
}

void CTextDocument::RestoreDocumentFont()
{
    LOGFONTA lf;
    COLORREF colour;
    if (!LookupPathFont(m_pOwner, m_szPath, &lf, &colour))
        return;
    HWND owner = GetOwnerWindow();
    HFONT font = CreateFontIndirectA(&lf);
    if (!font) {
        ShowLastError(owner, "Font creation failed");
        return;
    }
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!dc) {
        DeleteObject(font);
        ShowLastError(owner, "CreateDC() failed");
        return;
    }
    m_pFontInfo->SetFont(font, dc, colour);
    DeleteDC(dc);
}

void CTextDocument::StoreDocumentFont()
{
    LOGFONTA lf = {};
    GetObjectA(m_pFontInfo->GetFont(), sizeof(LOGFONTA), &lf);
    StorePathFont(m_pOwner, m_szPath, &lf, m_pFontInfo->GetColour());
}

int CTextDocument::FromFileText(const char* bytes, int count, char* out)
{
    LineEndState state = {};
    return ConvertLineEnds(bytes, count, out, &state);
}

HGLOBAL CTextDocument::ToFileText(const char* text, int* length)
{
    if (!text || !length || *length < 0)
        return nullptr;
    size_t count = *length ? static_cast<size_t>(*length) : static_cast<size_t>(lstrlenA(text));
    size_t breaks = CountLines(text, static_cast<int>(count)) - 1;
    if (count + breaks > 0x7FFFFFFF)
        return nullptr;
    HGLOBAL block = SeamGlobalAlloc(GMEM_DDESHARE | GMEM_ZEROINIT | GMEM_MOVEABLE, count + breaks + 1);
    if (!block)
        return nullptr;
    char* out = static_cast<char*>(GlobalLock(block));
    if (!out) {
        GlobalFree(block);
        return nullptr;
    }
    out[ExpandLineEnds(text, static_cast<int>(count), out)] = 0;
    GlobalUnlock(block);
    *length = static_cast<int>(count + breaks);
    return block;
}

// Writes the text over an open file from its start, each CR as CR LF, converted a piece at a
// time into piece (READ_PIECE bytes), so that no converted copy of the whole text is made.
// Only a complete write may cut the file: after a failed one the file keeps its length
// instead of losing everything past it.
static BOOL WriteFileText(HANDLE file, const char* text, int length, char* piece)
{
    if (!SeamSetFilePointerEx(file, 0))
        return FALSE;
    // A piece of text at most doubles.
    const int most = static_cast<int>(READ_PIECE / 2);
    for (int done = 0; done < length;) {
        int count = length - done < most ? length - done : most;
        DWORD bytes = static_cast<DWORD>(ExpandLineEnds(text + done, count, piece));
        DWORD written = 0;
        if (!SeamWriteFile(file, piece, bytes, &written))
            return FALSE;
        if (written != bytes) {
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        done += count;
    }
    return SeamSetEndOfFile(file);
}

// A complete copy of the new text in the target's folder, written before the target is
// touched, so that a full disk or a lost drive never leaves neither text anywhere.
static int WriteSafetyCopy(const char* target, const char* text, int length, char* piece,
                           char* copy)
{
    char folder[MAX_PATH];
    if (lstrlenA(target) >= static_cast<int>(sizeof(folder))) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    lstrcpyA(folder, target);
    // Either separator ends the folder: a typed path may use forward slashes.
    char* slash = strrchr(folder, '\\');
    char* forward = strrchr(folder, '/');
    if (forward && (!slash || forward > slash))
        slash = forward;
    if (slash)
        slash[1] = 0;
    else
        lstrcpyA(folder, ".");
    if (!SeamGetTempFileNameA(folder, "zen", copy))
        return 0;
    HANDLE file = SeamCreateFileA(copy, GENERIC_WRITE, 0, CREATE_ALWAYS);
    BOOL ok = file != INVALID_HANDLE_VALUE && WriteFileText(file, text, length, piece);
    DWORD error = GetLastError();
    if (file != INVALID_HANDLE_VALUE && !SeamCloseHandle(file) && ok) {
        ok = FALSE;
        error = GetLastError();
    }
    if (!ok) {
        // Tidying up after a failure: the failure itself is what the user hears of.
        DeleteFileA(copy);
        SetLastError(error);
    }
    return ok ? 1 : 0;
}

// The buffer that the text goes to disk through; null, with the error set, when memory is short.
static char* NewWritePiece()
{
    char* piece = static_cast<char*>(SeamMalloc(READ_PIECE));
    if (!piece)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return piece;
}

// The file itself is written in place, keeping its identity (links, permissions, the
// path the font store knows), but only once a complete copy stands beside it in copy. The
// copy goes once the file holds the text; the one box that tells of a failure names it.
int CTextDocument::WriteOverCopy(char* piece, const char* copy)
{
    HWND owner = GetOwnerWindow();
    char more[2 * MAX_PATH + 96];
    if (!WriteFileText(m_hFile, m_pText, GetTextLength(), piece)) {
        snprintf(more, sizeof(more),
                 "\"%s\" could not be written completely.\n"
                 "The complete new text is kept in \"%s\".",
                 m_szPath, copy);
        ShowLastError(owner, WRITE_FAILED, GetLastError(), more);
        return 0;
    }
    if (!SeamDeleteFileA(copy)) {
        snprintf(more, sizeof(more),
                 "\"%s\" was saved, but its safety copy \"%s\" could not be removed.",
                 m_szPath, copy);
        ShowLastError(owner, APP_CAPTION, GetLastError(), more);
    }
    return 1;
}

// Closing must still ask after a failed write: the file on disk may not hold this text.
int CTextDocument::FinishWrite(int written)
{
    if (!written) {
        m_bModified = 1;
        return 0;
    }
    StoreDocumentFont();
    return 1;
}

int CTextDocument::WriteDocumentFile()
{
    if (!m_hFile)
        return 0;
    char* piece = NewWritePiece();
    char copy[MAX_PATH];
    int ok = piece && WriteSafetyCopy(m_szPath, m_pText, GetTextLength(), piece, copy);
    if (!ok)
        ShowLastError(GetOwnerWindow(), WRITE_FAILED);
    else
        ok = WriteOverCopy(piece, copy);
    free(piece);
    return FinishWrite(ok);
}

int CTextDocument::SaveDocument(int force)
{
    if (!m_bModified && !force)
        return 1;
    int result = m_hFile ? WriteDocumentFile() : SaveDocumentAs();
    if (result)
        m_bModified = 0;
    return result;
}

int CTextDocument::SaveDocumentAs()
{
    HWND owner = GetOwnerWindow();
    char file[256] = "";
    char title[128] = "";
    if (!AskSaveAsPath(m_pOwner, file, sizeof(file), title, sizeof(title)))
        return 0;

    if (IsDevice(file)) {
        RefuseDevice(owner, file, "The document cannot be saved there.");
        return 0;
    }
    // CREATE_ALWAYS empties an existing file: a complete copy of the text comes first, and
    // stays until the new file holds the text.
    char* piece = NewWritePiece();
    char copy[MAX_PATH];
    if (!piece || !WriteSafetyCopy(file, m_pText, GetTextLength(), piece, copy)) {
        free(piece);
        ShowLastError(owner, WRITE_FAILED);
        return FinishWrite(0);
    }
    // Our own handle would keep CREATE_ALWAYS from replacing the file we already hold.
    if (m_hFile) {
        CloseHandle(m_hFile);
        m_hFile = nullptr;
    }
    HANDLE handle =
        SeamCreateFileA(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        // The target is as it was: the copy is not needed.
        DeleteFileA(copy);
        free(piece);
        ShowLastError(owner, "File creation failed", error);
        return FinishWrite(0);
    }
    m_hFile = handle;
    lstrcpynA(m_szPath, file, sizeof(m_szPath));
    lstrcpynA(m_szTitle, title, sizeof(m_szTitle));
    int result = FinishWrite(WriteOverCopy(piece, copy));
    free(piece);
    RetitleFrames(m_pOwner);
    return result;
}

int CTextDocument::QueryClose()
{
    if (!m_bModified)
        return 1;
    const char* text;
    const char* caption;
    if (m_hFile) {
        text = "The contents of this document have changed.\n"
               "Would you like to save changes before closing?";
        caption = m_szTitle;
    } else {
        text = "The contents of this untitled document have changed.\n"
               "Would you like to save changes before closing?";
        caption = "Untitled";
    }
    switch (MessageBoxA(GetOwnerWindow(), text, caption, MB_ICONWARNING | MB_YESNOCANCEL)) {
    case IDYES:
        return SaveDocument(0) ? 1 : 0;
    case IDNO:
        return 1;
    default:
        return 0;
    }
}
