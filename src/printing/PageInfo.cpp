#include "printing/PageInfo.h"
#include "base/FailureSeam.h"

#include <stdlib.h>
#include <string.h>

#include "document/TextDocument.h"
#include "view/FontInfo.h"

CPageInfo::CPageInfo(CPrintInfo* owner) : m_pOwner(owner), m_nPageCount(0), m_ppPages(nullptr)
{
}

CPageInfo::~CPageInfo()
{
    Clear();
}

void CPageInfo::Clear()
{
    for (int i = 0; i < m_nPageCount; i++)
        free(m_ppPages[i]);
    free(m_ppPages);
    m_ppPages = nullptr;
    m_nPageCount = 0;
}

void CPageInfo::TakePages(CPageInfo* source)
{
    Clear();
    m_nPageCount = source->m_nPageCount;
    m_ppPages = source->m_ppPages;
    source->m_nPageCount = 0;
    source->m_ppPages = nullptr;
}

SIZE PrintableSize(HDC printer)
{
    POINT oldViewport, oldWindow;
    SetViewportOrgEx(printer, 0, 0, &oldViewport);
    SetWindowOrgEx(printer, 0, 0, &oldWindow);
    POINT corner = {GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES)};
    DPtoLP(printer, &corner, 1);
    SetViewportOrgEx(printer, oldViewport.x, oldViewport.y, nullptr);
    SetWindowOrgEx(printer, oldWindow.x, oldWindow.y, nullptr);
    SIZE size = {corner.x, corner.y < 0 ? -corner.y : corner.y};
    return size;
}

namespace {

struct PageText {
    char* text;
    size_t length;
    size_t capacity;
};

// Collects the rows of a layout in the order they are made, each on its page.
class CPageBuilder {
public:
    CPageBuilder() : m_pPages(nullptr), m_nCount(0), m_nCapacity(0), m_nCurrent(-1) {}
    ~CPageBuilder()
    {
        for (int i = 0; i < m_nCount; i++)
            free(m_pPages[i].text);
        free(m_pPages);
    }

    // Ends the row before (with its CR) and makes page the one that characters go to.
    int BeginRow(int page)
    {
        if (m_nCurrent >= 0 && !Append("\r", 1))
            return 0;
        if (page >= m_nCount && !Grow(page + 1))
            return 0;
        m_nCurrent = page;
        return 1;
    }

    int Append(const char* s, size_t n)
    {
        PageText& page = m_pPages[m_nCurrent];
        if (page.length + n + 1 > page.capacity) {
            size_t capacity = page.capacity ? page.capacity : 64;
            while (capacity < page.length + n + 1)
                capacity *= 2;
            char* text = static_cast<char*>(SeamRealloc(page.text, capacity));
            if (!text)
                return 0;
            page.text = text;
            page.capacity = capacity;
        }
        memcpy(page.text + page.length, s, n);
        page.length += n;
        page.text[page.length] = 0;
        return 1;
    }

    // Hands the page texts to target, which must be empty.
    int Finish(CPageInfo* target)
    {
        char** pages = static_cast<char**>(calloc(m_nCount ? m_nCount : 1, sizeof(char*)));
        if (!pages)
            return 0;
        for (int i = 0; i < m_nCount; i++) {
            pages[i] = m_pPages[i].text ? m_pPages[i].text : static_cast<char*>(calloc(1, 1));
            m_pPages[i].text = nullptr;
        }
        target->m_ppPages = pages;
        target->m_nPageCount = m_nCount;
        m_nCount = 0;
        return 1;
    }

private:
    CPageBuilder(const CPageBuilder&);
    CPageBuilder& operator=(const CPageBuilder&);

    int Grow(int count)
    {
        if (count > m_nCapacity) {
            int capacity = m_nCapacity ? m_nCapacity : 16;
            while (capacity < count)
                capacity *= 2;
            PageText* pages =
                static_cast<PageText*>(SeamRealloc(m_pPages, capacity * sizeof(PageText)));
            if (!pages)
                return 0;
            m_pPages = pages;
            m_nCapacity = capacity;
        }
        memset(m_pPages + m_nCount, 0, (count - m_nCount) * sizeof(PageText));
        m_nCount = count;
        return 1;
    }

    PageText* m_pPages;
    int m_nCount;
    int m_nCapacity;
    int m_nCurrent;
};

// What both layouts work from: the page in printer units and the printer font.
struct CLayout {
    const CFontInfo* font;
    const char* text;
    int length;
    int width;
    int rows; // rows per page; 0 when one row is taller than the page
    int* advances;
    int capacity;
    CPageBuilder pages;

    CLayout() : font(nullptr), text(nullptr), length(0), width(0), rows(0), advances(nullptr),
                capacity(0) {}
    ~CLayout() { free(advances); }
};

// 0 when the document has nothing to print.
int PrepareLayout(HDC printer, const CTextDocument* doc, const CFontInfo* font, CLayout* layout)
{
    SIZE page = PrintableSize(printer);
    const char* widest = doc->GetWidestLineText();
    int n = 0;
    while (widest && widest[n] && widest[n] != '\r')
        n++;
    SIZE size = {0, 0};
    font->Measure(widest, n, &size, 0);
    if (doc->GetTextLength() == 0 || size.cx == 0)
        return 0;
    layout->font = font;
    layout->text = doc->GetTextAt(0);
    layout->length = doc->GetTextLength();
    layout->width = page.cx;
    layout->rows = size.cy > 0 ? page.cy / size.cy : 0;
    return 1;
}

// A negative A width draws left of the pen: a row that begins with it starts that far in.
int Lead(const ABC* abc, unsigned char c)
{
    return abc && abc[c].abcA < 0 ? -abc[c].abcA : 0;
}

int Overhang(const ABC* abc, unsigned char c)
{
    return abc && static_cast<int>(abc[c].abcC) < 0 ? -static_cast<int>(abc[c].abcC) : 0;
}

// Places the n characters of a line on rows of the printable width; before each character
// that does not fit, breakRow() begins the row it goes to. 0 when memory runs out.
template <class BreakRow> int PlaceLine(CLayout* layout, const char* s, int n, BreakRow breakRow)
{
    if (n == 0)
        return 1;
    if (n > layout->capacity) {
        int* advances = static_cast<int*>(SeamRealloc(layout->advances, n * sizeof(int)));
        if (!advances)
            return 0;
        layout->advances = advances;
        layout->capacity = n;
    }
    const int* adv = layout->advances;
    layout->font->Advances(s, n, layout->advances);
    const ABC* abc = layout->font->GetABCTable();
    const unsigned char* u = reinterpret_cast<const unsigned char*>(s);
    const int width = layout->width;
    int used = Lead(abc, u[0]);
    int rowStart = 0;
    for (int k = 0; k < n; k++) {
        if (used + adv[k] + Overhang(abc, u[k]) > width) {
            if (!layout->pages.Append(s + rowStart, k - rowStart) || !breakRow())
                return 0;
            rowStart = k;
            used = Lead(abc, u[k]);
        }
        used += adv[k];
    }
    return layout->pages.Append(s + rowStart, n - rowStart);
}

// Calls line(s, n, last) for every line of the layout's text; stops at the first 0.
template <class Line> int ForEachLine(const CLayout& layout, Line line)
{
    const char* s = layout.text;
    const char* end = layout.text + layout.length;
    for (;;) {
        const char* cr = static_cast<const char*>(memchr(s, '\r', end - s));
        int n = static_cast<int>((cr ? cr : end) - s);
        if (!line(s, n, cr == nullptr))
            return 0;
        if (!cr)
            return 1;
        s = cr + 1;
    }
}

} // namespace

int WrappedLayout(HDC printer, const CTextDocument* doc, const CFontInfo* font, CPageInfo* target)
{
    CLayout layout;
    if (!PrepareLayout(printer, doc, font, &layout))
        return 0;
    int page = 0, row = 0;
    const int rows = layout.rows;
    auto nextRow = [&]() {
        if (++row == rows) {
            row = 0;
            page++;
        }
    };
    auto breakRow = [&]() {
        nextRow();
        return layout.pages.BeginRow(page);
    };
    auto line = [&](const char* s, int n, bool last) {
        if (!layout.pages.BeginRow(page) || !PlaceLine(&layout, s, n, breakRow))
            return 0;
        if (!last)
            nextRow();
        return 1;
    };
    return ForEachLine(layout, line) && layout.pages.Finish(target);
}

int TiledLayout(HDC printer, const CTextDocument* doc, const CFontInfo* font, CPageInfo* target)
{
    CLayout layout;
    if (!PrepareLayout(printer, doc, font, &layout))
        return 0;
    // given[c]: rows that page band + c + 1 has received in this band; grows with the band.
    int* given = nullptr;
    int columns = 0, usedColumns = 0;
    int band = 0, highest = 0, lineInBand = 0, column = 0;
    const int rows = layout.rows;
    auto breakRow = [&]() {
        if (column >= columns) {
            int grown = columns ? columns * 2 : 16;
            int* table = static_cast<int*>(SeamRealloc(given, grown * sizeof(int)));
            if (!table)
                return 0;
            memset(table + columns, 0, (grown - columns) * sizeof(int));
            given = table;
            columns = grown;
        }
        int page = band + column + 1;
        for (; given[column] < lineInBand; given[column]++) {
            if (!layout.pages.BeginRow(page))
                return 0;
        }
        given[column] = lineInBand + 1;
        column++;
        if (column > usedColumns)
            usedColumns = column;
        if (band + column > highest)
            highest = band + column;
        return layout.pages.BeginRow(page);
    };
    auto line = [&](const char* s, int n, bool last) {
        column = 0;
        if (!layout.pages.BeginRow(band) || !PlaceLine(&layout, s, n, breakRow))
            return 0;
        if (!last && ++lineInBand == rows) {
            if (given)
                memset(given, 0, usedColumns * sizeof(int));
            usedColumns = 0;
            band = ++highest;
            lineInBand = 0;
        }
        return 1;
    };
    int done = ForEachLine(layout, line) && layout.pages.Finish(target);
    free(given);
    return done;
}
