#include "document/TextDocument.h"
#include "base/FailureSeam.h"

#include <new>

#include <stdint.h>
#include <string.h>

#include "base/ErrorBox.h"
#include "document/DocumentOwner.h"
#include "document/EditHistory.h"
#include "document/LineSteps.h"
#include "document/PrintSeam.h"
#include "document/TextHelpers.h"
#include "view/FontInfo.h"

unsigned int RoundUp(unsigned int value, unsigned int step)
{
    return (value + step - 1) / step * step;
}

CTextDocument::CTextDocument(COpenDocument* owner, HANDLE file, const char* path)
    : m_hFile(file), m_bModified(0), m_hBuffer(nullptr), m_pText(nullptr), m_nLength(0),
      m_nLineCount(1), m_nWidestWidth(0), m_nWidestIndex(0), m_pLineWidths(nullptr),
      m_nTableCapacity(0), m_pHistory(nullptr),
      m_pFontInfo(nullptr), m_pSteps(nullptr), m_pPrintInfo(nullptr), m_hSortThread(nullptr), m_dwSortThreadId(0),
      m_wSortFlags(0), m_bSortCancel(0), m_hSortDialog(nullptr), m_pSortRun(nullptr), m_pOwner(owner),
      m_bLoadRefused(0), m_nChangeCount(0), m_bViewsHeld(0)
{
    m_hint.start = m_hint.length = m_hint.line = 0;
    m_hint.change = m_nChangeCount - 1;
    SetNames(path);
    m_pHistory = new (std::nothrow) CEditHistory(this);
    if (m_pHistory && !m_pHistory->m_pActions) {
        delete m_pHistory;
        m_pHistory = nullptr;
    }
    m_pFontInfo = new (std::nothrow) CFontInfo(this);
    m_pSteps = m_pFontInfo ? new (std::nothrow) CLineSteps(this) : nullptr;
    m_pPrintInfo = CreatePrintInfo(this);
    // Without its first blocks the document is not made at all (IsReady); nothing may
    // reach a null block later.
    if (m_pHistory && m_pSteps && AllocateText(TEXT_BLOCK_STEP) && AllocateLineTable(1) &&
        file)
        LoadDocumentFile();

    m_hArrowCursor = LoadCursorA(nullptr, IDC_ARROW);
    m_hIBeamCursor = LoadCursorA(nullptr, IDC_IBEAM);
    m_hOwnCursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(106));
    m_hNoCursor = LoadCursorA(nullptr, IDC_NO);
}

CTextDocument::~CTextDocument()
{
    if (m_hFile)
        CloseHandle(m_hFile);
    if (m_hBuffer)
        GlobalFree(m_hBuffer);
    DestroyPrintInfo(m_pPrintInfo);
    delete m_pSteps;
    delete m_pFontInfo;
    delete m_pHistory;
    if (m_pLineWidths)
        GlobalFree(m_pLineWidths);
}

void CTextDocument::SetNames(const char* path)
{
    m_szPath[0] = 0;
    m_szTitle[0] = 0;
    if (!path)
        return;
    lstrcpynA(m_szPath, path, sizeof(m_szPath));
    const char* slash = strrchr(m_szPath, '\\');
    lstrcpynA(m_szTitle, slash ? slash + 1 : m_szPath, sizeof(m_szTitle));
}

// Replaces the text block with a zero-filled one of size bytes and an empty text.
int CTextDocument::AllocateText(unsigned int size)
{
    HGLOBAL block = SeamGlobalAlloc(GPTR, size);
    if (!block)
        return 0;
    if (m_hBuffer)
        GlobalFree(m_hBuffer);
    m_hBuffer = block;
    m_pText = static_cast<char*>(block) + 1;
    m_nLength = 0;
    return 1;
}

// Replaces the line table with a zero-filled one for lines lines.
int CTextDocument::AllocateLineTable(int lines)
{
    int capacity = static_cast<int>(RoundUp(lines > 0 ? lines : 1, LINE_TABLE_STEP));
    int* table = static_cast<int*>(SeamGlobalAlloc(GPTR, capacity * sizeof(int)));
    if (!table)
        return 0;
    if (m_pLineWidths)
        GlobalFree(m_pLineWidths);
    m_pLineWidths = table;
    m_nTableCapacity = capacity;
    m_nLineCount = lines;
    m_nWidestWidth = 0;
    m_nWidestIndex = 0;
    return 1;
}

HWND CTextDocument::GetOwnerWindow() const
{
    return OwnerWindow(m_pOwner);
}

int CTextDocument::GetTitle(char* title, int size) const
{
    if (!m_hFile) {
        if (size > 0)
            title[0] = 0;
        return 0;
    }
    lstrcpynA(title, m_szTitle, size);
    return 1;
}

const char* CTextDocument::GetWidestLineText() const
{
    int lineLength, index = 0;
    return MoveByLines(m_nWidestIndex, &lineLength, &index, m_pText);
}

int CTextDocument::Print()
{
    return RunPrintCommand(m_pPrintInfo);
}

int CTextDocument::HasVisibleText() const
{
    for (unsigned int i = 0; i < m_nLength; i++) {
        char c = m_pText[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != 0)
            return 1;
    }
    return 0;
}

// Measures count lines from the line that holds p, storing them from entry first on.
int CTextDocument::LineAt(int index, int* start, int* length) const
{
    LineHint& h = m_hint;
    bool kept = h.change == m_nChangeCount;
    if (!kept || index < h.start || index > h.start + h.length) {
        // Line breaks are counted from the nearer of the text start and the kept line.
        int line;
        if (kept && index > h.start)
            line = h.line + CountLines(m_pText + h.start, index - h.start) - 1;
        else if (kept && index > h.start - index)
            line = h.line - (CountLines(m_pText + index, h.start - index) - 1);
        else
            line = CountLines(m_pText, index) - 1;
        int s = index, n;
        MoveByLines(0, &n, &s, m_pText + index);
        h.start = s;
        h.length = n;
        h.line = line;
        h.change = m_nChangeCount;
    }
    *start = h.start;
    *length = h.length;
    return h.line;
}

int CTextDocument::KeptLineLength(int start) const
{
    return m_hint.change == m_nChangeCount && m_hint.start == start ? m_hint.length : -1;
}

void CTextDocument::MeasureLines(const char* p, int first, int count)
{
    int start, lineLength;
    LineAt(static_cast<int>(p - m_pText), &start, &lineLength);
    p = m_pText + start;
    for (int i = 0; i < count; i++) {
        int length = i == 0 ? lineLength : LineLength(p);
        m_pLineWidths[first + i] = m_pSteps->Width(p, length);
        p += length;
        if (*p == '\r')
            p++;
    }
}

void CTextDocument::RescanWidest()
{
    m_nWidestWidth = 0;
    m_nWidestIndex = 0;
    for (int i = 0; i < m_nLineCount; i++) {
        if (m_pLineWidths[i] > m_nWidestWidth) {
            m_nWidestWidth = m_pLineWidths[i];
            m_nWidestIndex = i;
        }
    }
}

int CTextDocument::InsertText(const char* bytes, int count, int index)
{
    if (!bytes || count <= 0 || bytes[0] == 0)
        return 0;
    if (index < 0 || static_cast<unsigned int>(index) > m_nLength)
        return 0;
    // The text cannot hold NUL: every scanner would stop at it.
    if (memchr(bytes, 0, count))
        return 0;
    if (static_cast<unsigned int>(count) > 0x7FFF0000u - m_nLength)
        return 0;
    // Bytes taken from this text would be shifted, or freed with the old block, while they
    // are copied: insert a copy of them instead.
    uintptr_t from = reinterpret_cast<uintptr_t>(bytes);
    uintptr_t block = reinterpret_cast<uintptr_t>(m_hBuffer);
    if (from >= block && from < block + GlobalSize(m_hBuffer)) {
        HGLOBAL copy = SeamGlobalAlloc(GMEM_FIXED, count);
        if (!copy) {
            ShowLastError(GetOwnerWindow(), "GlobalRealloc() failed");
            return 0;
        }
        memcpy(copy, bytes, count);
        int done = InsertText(static_cast<const char*>(copy), count, index);
        GlobalFree(copy);
        return done;
    }

    int lineStart, lineLength;
    int line = LineAt(index, &lineStart, &lineLength);
    int breaks = CountLines(bytes, count) - 1;

    // Room for the text and the table first, so that a failure changes nothing.
    if (!MakeRoom(static_cast<unsigned int>(count), breaks))
        return 0;
    if (static_cast<unsigned int>(index) < m_nLength)
        memmove(m_pText + index + count, m_pText + index, m_nLength - index);
    memcpy(m_pText + index, bytes, count);
    m_nLength += count;
    m_pText[m_nLength] = 0;
    m_nChangeCount++;
    m_pSteps->Replaced(index, 0, count, breaks);
    KeepLineHint(index, 0, count, breaks);

    UpdateTableForInsertion(m_pText + index, line, breaks);
    if (!m_bViewsHeld)
        TellViews(m_pOwner, DOC_TEXT_INSERTED, index, count);
    m_bModified = 1;
    return 1;
}

int CTextDocument::MakeRoom(unsigned int count, int breaks)
{
    unsigned int needed = m_nLength + count + 2;
    HGLOBAL newBlock = nullptr;
    if (GlobalSize(m_hBuffer) < needed) {
        newBlock = SeamGlobalAlloc(GPTR, RoundUp(needed, TEXT_BLOCK_STEP));
        if (!newBlock) {
            ShowLastError(GetOwnerWindow(), "GlobalRealloc() failed");
            return 0;
        }
    }
    int* newTable = nullptr;
    int newCapacity = 0;
    if (breaks > 0 && m_nLineCount + breaks > m_nTableCapacity) {
        newCapacity = static_cast<int>(RoundUp(m_nLineCount + breaks, LINE_TABLE_STEP));
        newTable = static_cast<int*>(SeamGlobalAlloc(GPTR, newCapacity * sizeof(int)));
        if (!newTable) {
            ShowLastError(GetOwnerWindow(), "GlobalRealloc() failed");
            if (newBlock)
                GlobalFree(newBlock);
            return 0;
        }
    }
    if (newBlock) {
        memcpy(newBlock, m_hBuffer, m_nLength + 2);
        GlobalFree(m_hBuffer);
        m_hBuffer = newBlock;
        m_pText = static_cast<char*>(newBlock) + 1;
        TellViews(m_pOwner, DOC_BUFFER_MOVED, 0, 0);
    }
    if (newTable) {
        memcpy(newTable, m_pLineWidths, m_nLineCount * sizeof(int));
        GlobalFree(m_pLineWidths);
        m_pLineWidths = newTable;
        m_nTableCapacity = newCapacity;
    }
    return 1;
}

void CTextDocument::HoldViewNotices()
{
    m_bViewsHeld = 1;
}

void CTextDocument::ReleaseViewNotices(int caret, int shortest)
{
    m_bViewsHeld = 0;
    if (caret >= 0)
        TellViews(m_pOwner, DOC_TEXT_REPLACED, caret, shortest > 0 ? shortest : 0);
}

// Called right after a primitive's change at index. A change that starts within the kept
// line leaves that line's start and number as they were; only its end moves.
void CTextDocument::KeepLineHint(int index, int removed, int inserted, int breaks)
{
    LineHint& h = m_hint;
    if (h.change + 1 != m_nChangeCount || index < h.start || index > h.start + h.length)
        return;
    if (breaks)
        h.length = LineLength(m_pText + h.start);
    else
        h.length += inserted - removed;
    h.change = m_nChangeCount;
}

// at points into the line of the insertion point, line.
void CTextDocument::UpdateTableForInsertion(const char* at, int line, int breaks)
{
    bool last = line == m_nLineCount - 1;
    int oldWidest = m_nWidestWidth;

    if (breaks > 0 && !last) {
        memmove(m_pLineWidths + line + 1 + breaks, m_pLineWidths + line + 1,
                (m_nLineCount - line - 1) * sizeof(int));
    }
    if (line != m_nWidestIndex) {
        if (breaks > 0 && !last && m_nWidestIndex > line)
            m_nWidestIndex += breaks;
        m_nLineCount += breaks;
        MeasureLines(at, line, breaks + 1);
        for (int j = line; j <= line + breaks; j++) {
            if (m_pLineWidths[j] > m_nWidestWidth) {
                m_nWidestWidth = m_pLineWidths[j];
                m_nWidestIndex = j;
            }
        }
        return;
    }
    m_nLineCount += breaks;
    MeasureLines(at, line, breaks + 1);
    if (breaks == 0) {
        // The widest line grew or shrank in place; a shorter one may no longer be the widest.
        m_nWidestWidth = m_pLineWidths[line];
        if (m_nWidestWidth < oldWidest)
            RescanWidest();
        return;
    }
    bool reached = false;
    int running = oldWidest;
    for (int i = line; i <= line + breaks; i++) {
        if (m_pLineWidths[i] >= running) {
            running = m_pLineWidths[i];
            m_nWidestWidth = running;
            m_nWidestIndex = i;
            reached = true;
        }
    }
    if (!reached)
        RescanWidest();
}

int CTextDocument::RemoveText(int index, int count)
{
    if (index < 0 || count <= 0)
        return 0;
    if (static_cast<unsigned int>(index) > m_nLength ||
        static_cast<unsigned int>(count) > m_nLength - index)
        return 0;

    int breaks = CountLines(m_pText + index, count) - 1;
    int lineStart, lineLength;
    int line = LineAt(index, &lineStart, &lineLength);
    if (!m_bViewsHeld)
        TellViews(m_pOwner, DOC_TEXT_REMOVING, index, count);

    memmove(m_pText + index, m_pText + index + count, m_nLength - index - count);
    m_nLength -= count;
    m_pText[m_nLength] = 0;
    m_nChangeCount++;
    m_pSteps->Replaced(index, count, 0, breaks);
    KeepLineHint(index, count, 0, breaks);

    UpdateTableForRemoval(m_pText + index, line, breaks);
    if (!m_bViewsHeld)
        TellViews(m_pOwner, DOC_TEXT_REMOVED, index, count);
    m_bModified = 1;
    return 1;
}

// at points into the line that the removal joined, line.
void CTextDocument::UpdateTableForRemoval(const char* at, int line, int breaks)
{
    bool affected = line <= m_nWidestIndex && m_nWidestIndex <= line + breaks;
    if (breaks > 0 && line + breaks < m_nLineCount - 1) {
        memmove(m_pLineWidths + line + 1, m_pLineWidths + line + breaks + 1,
                (m_nLineCount - line - breaks - 1) * sizeof(int));
    }
    m_nLineCount -= breaks;
    MeasureLines(at, line, 1);
    if (affected) {
        RescanWidest();
        return;
    }
    if (m_nWidestIndex > line + breaks)
        m_nWidestIndex -= breaks;
    if (m_pLineWidths[line] > m_nWidestWidth) {
        m_nWidestWidth = m_pLineWidths[line];
        m_nWidestIndex = line;
    }
}

void CTextDocument::RemeasureAllLines()
{
    MeasureAllLines(nullptr);
    TellViews(m_pOwner, DOC_FONT_CHANGED, 0, 0);
}

int CTextDocument::SelectDocumentFont()
{
    HWND main = GetOwnerWindow();
    HDC dc = GetDC(main);
    if (!dc)
        return 0;
    int chosen = m_pFontInfo->ChooseNewFont(dc);
    ReleaseDC(main, dc);
    if (chosen)
        RemeasureAllLines();
    return chosen;
}
