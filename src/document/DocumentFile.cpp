// Moving a document between memory and its file, and the font it is remembered with.
#include "document/TextDocument.h"
#include "base/FailureSeam.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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
// reading some of them blocks: only disk files are documents.
static int IsDevice(const char* path)
{
    HANDLE handle = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    int device = GetFileType(handle) != FILE_TYPE_DISK;
    CloseHandle(handle);
    return device;
}

static void RefuseDevice(HWND owner, const char* path, const char* consequence)
{
    char text[MAX_PATH + 128];
    snprintf(text, sizeof(text), "\"%s\" names a device, not a file. %s", path, consequence);
    MessageBoxA(owner, text, "Zendle Editor", MB_ICONWARNING);
}

// The file is read a piece at a time into a buffer that stays in the processor's cache and
// converted from there straight into the text block: the text is never held twice. This is
// where loading touches the file. 1 when every byte was read (or a NUL stopped it early).
static int ReadConverted(HANDLE file, DWORD size, char* piece, DWORD pieceSize, char* text,
                         LineEndState* state, int* length)
{
    *length = 0;
    for (DWORD done = 0; done < size && !state->nul;) {
        DWORD want = size - done < pieceSize ? size - done : pieceSize;
        DWORD read = 0;
        if (!ReadFile(file, piece, want, &read, nullptr) || read != want)
            return 0;
        *length += ConvertLineEnds(piece, static_cast<int>(want), text + *length, state);
        done += want;
    }
    return 1;
}

void CTextDocument::LoadDocumentFile()
{
    LARGE_INTEGER size;
    LARGE_INTEGER start = {};
    if (GetFileType(m_hFile) != FILE_TYPE_DISK) {
        RefuseLoad("\"%s\" names a device, not a file, and cannot be opened.");
        return;
    }
    if (!SetFilePointerEx(m_hFile, start, nullptr, FILE_BEGIN) || !GetFileSizeEx(m_hFile, &size)) {
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
    int read = ReadConverted(m_hFile, bytes, piece, pieceSize, m_pText, &state, &length);
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
    MeasureAllLines(1);
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
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return FALSE;
    // A piece of text at most doubles.
    const int most = static_cast<int>(READ_PIECE / 2);
    for (int done = 0; done < length;) {
        int count = length - done < most ? length - done : most;
        DWORD bytes = static_cast<DWORD>(ExpandLineEnds(text + done, count, piece));
        DWORD written = 0;
        if (!WriteFile(file, piece, bytes, &written, nullptr))
            return FALSE;
        if (written != bytes) {
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        done += count;
    }
    return SetEndOfFile(file);
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
    if (!GetTempFileNameA(folder, "zen", 0, copy))
        return 0;
    HANDLE file = CreateFileA(copy, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    BOOL ok = file != INVALID_HANDLE_VALUE && WriteFileText(file, text, length, piece);
    DWORD error = GetLastError();
    if (file != INVALID_HANDLE_VALUE && !CloseHandle(file) && ok) {
        ok = FALSE;
        error = GetLastError();
    }
    if (!ok) {
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
// path the font store knows), but only once a complete copy stands beside it.
int CTextDocument::WriteDocumentFile()
{
    if (!m_hFile)
        return 0;
    HWND owner = GetOwnerWindow();
    char* piece = NewWritePiece();
    char copy[MAX_PATH];
    int ok = piece && WriteSafetyCopy(m_szPath, m_pText, GetTextLength(), piece, copy);
    if (!ok) {
        ShowLastError(owner, WRITE_FAILED);
    } else if (!WriteFileText(m_hFile, m_pText, GetTextLength(), piece)) {
        ok = 0;
        ShowLastError(owner, WRITE_FAILED);
        char text[2 * MAX_PATH + 96];
        snprintf(text, sizeof(text),
                 "\"%s\" could not be written completely.\n"
                 "The complete new text is kept in \"%s\".",
                 m_szPath, copy);
        MessageBoxA(owner, text, "Zendle Editor", MB_ICONWARNING);
    } else {
        DeleteFileA(copy);
    }
    free(piece);
    if (!ok) {
        // Closing must still ask: the file on disk may not hold this text.
        m_bModified = 1;
        return 0;
    }
    StoreDocumentFont();
    return 1;
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
    // CREATE_ALWAYS empties an existing file: a complete copy of the text comes first.
    char* piece = NewWritePiece();
    char copy[MAX_PATH];
    int copied = piece && WriteSafetyCopy(file, m_pText, GetTextLength(), piece, copy);
    free(piece);
    if (!copied) {
        ShowLastError(owner, WRITE_FAILED);
        m_bModified = 1;
        return 0;
    }
    // Our own handle would keep CREATE_ALWAYS from replacing the file we already hold.
    if (m_hFile) {
        CloseHandle(m_hFile);
        m_hFile = nullptr;
    }
    HANDLE handle = CreateFileA(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DeleteFileA(copy);
    if (handle == INVALID_HANDLE_VALUE) {
        ShowLastError(owner, "File creation failed");
        m_bModified = 1;
        return 0;
    }
    m_hFile = handle;
    lstrcpynA(m_szPath, file, sizeof(m_szPath));
    lstrcpynA(m_szTitle, title, sizeof(m_szTitle));
    int result = WriteDocumentFile();
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
