#include "view/LineCache.h"

#include <stdlib.h>

#include "document/TextDocument.h"
#include "view/LineDrawing.h"

// Lines shorter than this cost less to measure than a cache miss saves.
static const int LONG_LINE = 2048;

CLineCache::CLineCache() : m_nStart(-1), m_nLength(0), m_pAdvances(nullptr)
{
}

CLineCache::~CLineCache()
{
    free(m_pAdvances);
}

void CLineCache::Invalidate()
{
    free(m_pAdvances);
    m_pAdvances = nullptr;
    m_nStart = -1;
    m_nLength = 0;
}

const int* CLineCache::Find(const CTextDocument* doc, int start, int length)
{
    if (length < LONG_LINE)
        return nullptr;
    if (m_pAdvances && start == m_nStart && length == m_nLength)
        return m_pAdvances;
    Invalidate();
    m_pAdvances = LineAdvances(doc->GetFontInfo(), doc->GetTextAt(start), length);
    if (m_pAdvances) {
        m_nStart = start;
        m_nLength = length;
    }
    return m_pAdvances;
}

CLineMeasure::CLineMeasure(CLineCache* cache, const CTextDocument* doc, const char* line,
                           int length)
    : m_pAdvances(nullptr), m_pOwned(nullptr)
{
    int start = static_cast<int>(line - doc->GetTextAt(0));
    m_pAdvances = cache ? cache->Find(doc, start, length) : nullptr;
    if (!m_pAdvances)
        m_pAdvances = m_pOwned = LineAdvances(doc->GetFontInfo(), line, length);
}

CLineMeasure::~CLineMeasure()
{
    free(m_pOwned);
}
