#pragma once
#include <windows.h>

#include "base/PtrList.h"
#include "document/LineSort.h"

class CEditHistory;
class CFontInfo;
class CLineSteps;
class COpenDocument;
class CPrintInfo;

const unsigned int TEXT_BLOCK_STEP = 32768;
const int LINE_TABLE_STEP = 500;
// Loading reads a file this many bytes at a time.
const unsigned int READ_PIECE = 1 << 20;
// From this many bytes on, loading measures the second half of the lines on a helper thread.
const unsigned int HELPER_MEASURE_MIN = 4 << 20;

// A place in a text and the line breaks before it.
struct TextMark {
    unsigned int offset;
    int breaks;
};

// The text of one open file, shared by all its views: one flat NUL-terminated block
// with a NUL guard byte before it, and the pixel width of every line.
class CTextDocument : public CObject {
public:
    CTextDocument(COpenDocument* owner, HANDLE file, const char* path);
    virtual ~CTextDocument();
    // 0 when a first allocation failed: such a document must be deleted unused.
    int IsReady() const { return m_pHistory && m_pFontInfo && m_pSteps && m_pText && m_pLineWidths; }

    int InsertText(const char* bytes, int count, int index);
    // Makes the text block and the line table hold count more bytes and breaks more lines,
    // so that the insertions that follow cannot fail; 0, told to the user, when memory is short.
    int MakeRoom(unsigned int count, int breaks);
    // Many edits in a row, range by range, tell the views once at their end, as a replace
    // in one pass does: the caret goes to caret, and no index of a view stays past shortest.
    // A caret below 0 tells nothing: the text is back as the views last heard of it.
    void HoldViewNotices();
    void ReleaseViewNotices(int caret, int shortest);
    int RemoveText(int index, int count);
    void RemeasureAllLines();
    // The font dialog on the main window's device; a chosen font re-measures every line and
    // repaints every view. 1 when a font was chosen.
    int SelectDocumentFont();

    // The edits that can be undone: each records one step, then ends in the primitives.
    // A removal, replacement or move of a range that the text does not hold records nothing.
    int InsertWithUndo(int index, const char* bytes, int count);
    int RemoveWithUndo(int index, int count);
    int ReplaceWithUndo(int index, int oldCount, const char* bytes, int newCount);
    int MoveWithUndo(int source, int target, int count);
    int ReplaceAllWithUndo(const int* indexes, int count, int oldLength, const char* bytes,
                           int newLength, int matchCase);
    // Replaces count ascending, apart ranges of removed bytes at at[i] with inserted bytes
    // of bytes(user, i) in one pass, leaving the text, the line table, the widest line and
    // the views as the primitives would, range by range from the first. 0 (nothing
    // changed) when a range or a replacement holds a line break or memory is short: then
    // the caller goes range by range itself. (BulkReplace.cpp)
    typedef const char* (*RangeBytes)(const void* user, int i);
    int ReplaceRanges(const int* at, int count, int removed, RangeBytes bytes,
                      const void* user, int inserted);
    // The line sort (DocumentSort.cpp). A run reads the text as it is when the run is made;
    // its sorted text then replaces the whole text as one undo step (1 when it did).
    CLineSort* NewLineSort(SortNotify notify, void* context);
    int ApplySortedText(const CLineSort& sort);
    // The whole sort at once on the calling thread, in the order bits SORT_*.
    int SortLinesNow(int order, SortNotify notify, void* context);
    // Starts the sort on a worker thread; nothing may change or free the document while
    // IsSorting answers 1.
    int SortLines(int order);
    // At the worker's end message: waits for the worker, applies its sorted text, closes
    // the dialog and enables the main window again.
    void EndSort();
    int IsSorting() const { return m_hSortThread != nullptr; }
    // Undo and Redo return 1 while a further step remains to be undone or redone.
    int Undo();
    int Redo();
    int CanUndo() const;
    int CanRedo() const;

    char* GetTextAt(int index) const { return m_pText + index; }
    int GetTextLength() const { return static_cast<int>(m_nLength); }
    int GetLineCount() const { return m_nLineCount; }
    // Rises with every change of the text, so that a kept position can tell it is stale.
    unsigned int GetChangeCount() const { return m_nChangeCount; }
    // The number of the line holding index; start and length get that line's. The line
    // last asked for is kept through the edits within it, so that the walks of a step
    // along one very long line do not scan it again each.
    int LineAt(int index, int* start, int* length) const;
    // The length of the line starting at start when it is the kept line, else -1.
    int KeptLineLength(int start) const;
    int GetLineWidth(int line) const { return m_pLineWidths[line]; }
    int GetWidestWidth() const { return m_nWidestWidth; }
    int GetWidestIndex() const { return m_nWidestIndex; }
    int IsModified() const { return m_bModified; }
    HCURSOR GetArrowCursor() const { return m_hArrowCursor; }
    HCURSOR GetIBeamCursor() const { return m_hIBeamCursor; }
    HCURSOR GetOwnCursor() const { return m_hOwnCursor; }
    HCURSOR GetNoCursor() const { return m_hNoCursor; }
    CFontInfo* GetFontInfo() const { return m_pFontInfo; }
    // The measuring points of the long lines, shared by all views of this text.
    CLineSteps* GetLineSteps() const { return m_pSteps; }
    COpenDocument* GetOwner() const { return m_pOwner; }
    int GetTitle(char* title, int size) const;
    const char* GetWidestLineText() const;
    int HasVisibleText() const;
    // The window that owns the document's message boxes: the main window, when there is one.
    HWND GetOwnerWindow() const;

    // The file (DocumentFile.cpp). A file that cannot be edited safely (NUL bytes, 2 GB or
    // more, unreadable) is refused while constructing: the user is told, the handle is
    // closed, and LoadRefused answers 1, so that the opener drops the document.
    int LoadRefused() const { return m_bLoadRefused; }
    int SaveDocument(int force);
    int SaveDocumentAs();
    int WriteDocumentFile();
    int QueryClose();
    // The Print command: the Print dialog, then the job. 1 when the dialog was confirmed.
    int Print();
    // CR becomes CR LF. length: the byte count in (0: up to the NUL), the converted count out.
    static HGLOBAL ToFileText(const char* text, int* length);
    // CR LF, a lone CR and a lone LF each become one CR. out holds count bytes; the
    // converted count is returned.
    static int FromFileText(const char* bytes, int count, char* out);

    HANDLE m_hFile;
    char m_szPath[1024];
    char m_szTitle[256];
    int m_bModified;
    HGLOBAL m_hBuffer;
    char* m_pText;
    unsigned int m_nLength;
    HCURSOR m_hArrowCursor;
    HCURSOR m_hIBeamCursor;
    HCURSOR m_hOwnCursor;
    HCURSOR m_hNoCursor;
    int m_nLineCount;
    int m_nWidestWidth;
    int m_nWidestIndex;
    int* m_pLineWidths;
    int m_nTableCapacity;
    CEditHistory* m_pHistory;
    CFontInfo* m_pFontInfo;
    CLineSteps* m_pSteps;
    CPrintInfo* m_pPrintInfo;
    HANDLE m_hSortThread;
    DWORD m_dwSortThreadId;
    WORD m_wSortFlags;
    volatile int m_bSortCancel;
    // The running sort's progress dialog, and its run: the worker makes the run, the dialog
    // applies and frees it once the worker has ended.
    HWND m_hSortDialog;
    CLineSort* m_pSortRun;
    COpenDocument* m_pOwner;
    int m_bLoadRefused;
    unsigned int m_nChangeCount;
    // While set, the primitives do not tell the views of each edit (see HoldViewNotices).
    int m_bViewsHeld;

protected:
    // The line LineAt answered last, true while m_nChangeCount equals change.
    struct LineHint {
        int start;
        int length;
        int line;
        unsigned int change;
    };
    mutable LineHint m_hint;

    void SetNames(const char* path);
    int AllocateText(unsigned int size);
    int AllocateLineTable(int lines);
    void MeasureLines(const char* p, int first, int count);
    // Every line and the widest (the first of the greatest width), in one pass over the text;
    // given a mark near its middle, a large text's second half is measured on a thread of its
    // own meanwhile. (LineMeasure.cpp)
    void MeasureAllLines(const TextMark* middle);
    struct LineRun;
    void MeasureRun(LineRun* run);
    static DWORD WINAPI MeasureSecondHalf(void* run);
    void RescanWidest();

private:
    CTextDocument(const CTextDocument&);
    CTextDocument& operator=(const CTextDocument&);
    void KeepLineHint(int index, int removed, int inserted, int breaks);
    void UpdateTableForInsertion(const char* at, int line, int breaks);
    void UpdateTableForRemoval(const char* at, int line, int breaks);
    void LoadDocumentFile();
    int WriteOverCopy(char* piece, const char* copy);
    int FinishWrite(int written);
    void RefuseLoad(const char* format);
    void RestoreDocumentFont();
    void StoreDocumentFont();
};

unsigned int RoundUp(unsigned int value, unsigned int step);
