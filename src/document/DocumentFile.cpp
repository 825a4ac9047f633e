// Moving a document between memory and its file, and the font it is remembered with.
#include "document/TextDocument.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/ErrorBox.h"
#include "document/DocumentOwner.h"
#include "document/TextHelpers.h"
#include "view/FontInfo.h"

static const char WRITE_FAILED[] = "Failure occurred when writing to a file";
// The text block holds at most 2 GB - 1 bytes; a table past this many lines would not fit
// a 32-bit process anyway.
static const LONGLONG MAX_FILE_SIZE = 0x7FFFFFFF;
static const int MAX_LINES = 0x0FFFFFFF;

void CTextDocument::LoadDocumentFile()
{
    LARGE_INTEGER size;
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(m_hFile, start, nullptr, FILE_BEGIN) || !GetFileSizeEx(m_hFile, &size)) {
        RefuseLoad("The file \"%s\" could not be read.");
        return;
    }
    if (size.QuadPart > MAX_FILE_SIZE) {
        RefuseLoad("The file \"%s\" is 2 GB or larger and cannot be opened.");
        return;
    }
    DWORD bytes = static_cast<DWORD>(size.QuadPart);
    char* raw = static_cast<char*>(malloc(bytes ? bytes : 1));
    if (!raw) {
        RefuseLoad("There is not enough memory to open the file \"%s\".");
        return;
    }
    // A partial text must never be tied to the file: the next save would cut it there.
    DWORD read = 0;
    if (!ReadFile(m_hFile, raw, bytes, &read, nullptr) || read != bytes) {
        free(raw);
        RefuseLoad("The file \"%s\" could not be read.");
        return;
    }
    // The text ends at its first NUL for every scan, so such a file cannot be edited safely.
    if (memchr(raw, 0, bytes)) {
        free(raw);
        RefuseLoad("The file \"%s\" contains NUL bytes and cannot be opened as text.");
        return;
    }
    if (!AllocateText(RoundUp(bytes, TEXT_BLOCK_STEP) + TEXT_BLOCK_STEP)) {
        free(raw);
        RefuseLoad("There is not enough memory to open the file \"%s\".");
        return;
    }

    int length = FromFileText(raw, static_cast<int>(bytes), m_pText);
    free(raw);
    m_pText[length] = 0;
    m_nLength = static_cast<unsigned int>(length);
    int breaks = CountLines(m_pText, length) - 1;

    if (breaks >= MAX_LINES || !AllocateLineTable(breaks + 1)) {
        RefuseLoad("There is not enough memory to open the file \"%s\".");
        return;
    }
    RestoreDocumentFont();
    MeasureLines(m_pText, 0, m_nLineCount);
    RescanWidest();
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
    const char* end = bytes + count;
    char* start = out;
    for (const char* p = bytes; p < end;) {
        const char* lf = static_cast<const char*>(memchr(p, '\n', end - p));
        const char* stop = lf ? lf : end;
        memcpy(out, p, stop - p);
        out += stop - p;
        p = stop;
        if (lf) {
            // The CR before it already stands for the break.
            if (lf == bytes || lf[-1] != '\r')
                *out++ = '\r';
            p++;
        }
    }
    return static_cast<int>(out - start);
}

HGLOBAL CTextDocument::ToFileText(const char* text, int* length)
{
    if (!text || !length || *length < 0)
        return nullptr;
    size_t count = *length ? static_cast<size_t>(*length) : static_cast<size_t>(lstrlenA(text));
    size_t breaks = 0;
    for (const char* p = text; (p = static_cast<const char*>(memchr(p, '\r', text + count - p)));
         p++)
        breaks++;
    if (count + breaks > 0x7FFFFFFF)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_DDESHARE | GMEM_ZEROINIT | GMEM_MOVEABLE, count + breaks + 1);
    if (!block)
        return nullptr;
    char* out = static_cast<char*>(GlobalLock(block));
    if (!out) {
        GlobalFree(block);
        return nullptr;
    }
    const char* end = text + count;
    for (const char* p = text; p < end;) {
        const char* cr = static_cast<const char*>(memchr(p, '\r', end - p));
        size_t run = (cr ? cr : end) - p;
        memcpy(out, p, run);
        out += run;
        p += run;
        if (cr) {
            *out++ = '\r';
            *out++ = '\n';
            p++;
        }
    }
    *out = 0;
    GlobalUnlock(block);
    *length = static_cast<int>(count + breaks);
    return block;
}

int CTextDocument::WriteDocumentFile()
{
    if (!m_hFile)
        return 0;
    HWND owner = GetOwnerWindow();
    int length = GetTextLength();
    HGLOBAL block = ToFileText(m_pText, &length);
    if (!block) {
        ShowLastError(owner, WRITE_FAILED);
        return 0;
    }
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    LARGE_INTEGER start = {};
    DWORD written = 0;
    BOOL ok = bytes && SetFilePointerEx(m_hFile, start, nullptr, FILE_BEGIN) &&
              WriteFile(m_hFile, bytes, length, &written, nullptr);
    if (ok && written != static_cast<DWORD>(length)) {
        ok = FALSE;
        SetLastError(ERROR_DISK_FULL);
    }
    // Only a complete write may cut the file: after a failed one the file keeps its length
    // instead of losing everything past what was written.
    if (ok)
        ok = SetEndOfFile(m_hFile);
    if (!ok)
        ShowLastError(owner, WRITE_FAILED);
    StoreDocumentFont();
    GlobalUnlock(block);
    GlobalFree(block);
    return ok ? 1 : 0;
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

    // Our own handle would keep CREATE_ALWAYS from replacing the file we already hold.
    if (m_hFile) {
        CloseHandle(m_hFile);
        m_hFile = nullptr;
    }
    HANDLE handle = CreateFileA(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ShowLastError(owner, "File creation failed");
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
