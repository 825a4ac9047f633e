#pragma once
#include <windows.h>

class CFontInfo;
class CPrintInfo;
class CTextDocument;

// The greatest page number the Print dialog can show: its page numbers are 16-bit.
const int MAX_DIALOG_PAGE = 65535;

// A document laid out into pages: each page text holds its rows, each ended by a CR except
// the very last row of the layout. A layout keeps every page, however many there are.
class CPageInfo {
public:
    explicit CPageInfo(CPrintInfo* owner);
    virtual ~CPageInfo();

    // Frees every page: the layout is empty again.
    void Clear();
    // Takes over the pages of source, which is left empty.
    void TakePages(CPageInfo* source);
    int GetPageCount() const { return m_nPageCount; }
    const char* GetPage(int page) const { return m_ppPages[page]; }

    CPrintInfo* m_pOwner;
    int m_nPageCount;
    char** m_ppPages;

private:
    CPageInfo(const CPageInfo&);
    CPageInfo& operator=(const CPageInfo&);
};

// The printable area of a printer context in its logical units.
SIZE PrintableSize(HDC printer);

// Lay the document out for the printer with the printer font into an empty target. Both
// fail, leaving the target empty, when the document has no text to print or memory runs out.
// Wrapped: the part of a line beyond the printable width goes on the next row.
int WrappedLayout(HDC printer, const CTextDocument* doc, const CFontInfo* font, CPageInfo* target);
// Tiled: the part beyond the printable width goes on the same row of the page to the right.
int TiledLayout(HDC printer, const CTextDocument* doc, const CFontInfo* font, CPageInfo* target);
