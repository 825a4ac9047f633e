#include "document/LineSteps.h"
#include "base/FailureSeam.h"

#include <stdlib.h>
#include <string.h>

#include "document/TextDocument.h"
#include "view/FontInfo.h"

// Bytes between two kept points: the most any answer walks, apart from a line's edit.
static const int STEP = 512;
// Lines kept at once; the least recently used gives way.
static const int MAX_ENTRIES = 512;

// Points pos[0] = 0 < pos[1] < ... < pos[count - 1] = length with sum[k] the sum of the
// advances of bytes [0, pos[k]).
struct CLineSteps::Entry {
    int start;
    int length;
    int count;
    int* pos;
    int* sum;
    unsigned int use;
};

namespace {

// A growing list of points, for building an entry.
struct Points {
    int* pos;
    int* sum;
    int count;
    int capacity;
    bool failed;

    explicit Points(int expected)
        : pos(nullptr), sum(nullptr), count(0), capacity(expected > 2 ? expected : 2), failed(false)
    {
        pos = static_cast<int*>(SeamMalloc(capacity * sizeof(int)));
        sum = static_cast<int*>(SeamMalloc(capacity * sizeof(int)));
        failed = !pos || !sum;
    }
    ~Points()
    {
        free(pos);
        free(sum);
    }
    void Add(int p, int s)
    {
        if (failed)
            return;
        if (count == capacity) {
            int* P = static_cast<int*>(SeamRealloc(pos, 2 * capacity * sizeof(int)));
            if (P)
                pos = P;
            int* S = static_cast<int*>(SeamRealloc(sum, 2 * capacity * sizeof(int)));
            if (S)
                sum = S;
            if (!P || !S) {
                failed = true;
                return;
            }
            capacity *= 2;
        }
        pos[count] = p;
        sum[count] = s;
        count++;
    }
    // Hands the arrays to the entry.
    void MoveTo(CLineSteps::Entry* e)
    {
        free(e->pos);
        free(e->sum);
        e->pos = pos;
        e->sum = sum;
        e->count = count;
        pos = sum = nullptr;
    }
};

// Walks bytes [from, to) of the line from the running sum, adding a point at every STEP
// bytes past from (to itself not included); returns the sum at to.
int WalkAdding(const CFontInfo* font, const char* line, int length, int from, int to, int sum,
               Points* points)
{
    if (!points)
        return font->SumAdvances(line, length, from, to, sum);
    for (int i = from; i < to;) {
        int next = to - i > STEP ? i + STEP : to;
        sum = font->SumAdvances(line, length, i, next, sum);
        i = next;
        if (i < to)
            points->Add(i, sum);
    }
    return sum;
}

// The last point at or before p (points are ascending, the first is 0).
int PointAtOrBefore(const int* pos, int count, int p)
{
    int lo = 0, hi = count - 1;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (pos[mid] <= p)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

} // namespace

CLineSteps::CLineSteps(const CTextDocument* document)
    : m_pDocument(document), m_pEntries(nullptr), m_nEntries(0), m_nUses(0),
      m_nSeenChanges(document->GetChangeCount()), m_nSeenFont(0)
{
    m_pEntries = static_cast<Entry*>(calloc(MAX_ENTRIES, sizeof(Entry)));
}

CLineSteps::~CLineSteps()
{
    Clear();
    free(m_pEntries);
}

void CLineSteps::Clear()
{
    for (int i = 0; i < m_nEntries; i++) {
        free(m_pEntries[i].pos);
        free(m_pEntries[i].sum);
    }
    m_nEntries = 0;
}

// Whatever changed the text or the font without telling (a whole-text replacement, a new
// font) leaves nothing kept that could be stale.
void CLineSteps::Sync()
{
    const CFontInfo* font = m_pDocument->GetFontInfo();
    if (m_nSeenChanges != m_pDocument->GetChangeCount() || m_nSeenFont != font->Generation()) {
        Clear();
        m_nSeenChanges = m_pDocument->GetChangeCount();
        m_nSeenFont = font->Generation();
    }
}

int CLineSteps::Build(Entry* entry, const char* line, int length) const
{
    Points points(length / STEP + 2);
    points.Add(0, 0);
    int total = WalkAdding(m_pDocument->GetFontInfo(), line, length, 0, length, 0, &points);
    points.Add(length, total);
    if (points.failed)
        return 0;
    points.MoveTo(entry);
    entry->length = length;
    return 1;
}

CLineSteps::Entry* CLineSteps::Find(const char* line, int length)
{
    Sync();
    if (length < LONG_LINE || !m_pEntries)
        return nullptr;
    int start = static_cast<int>(line - m_pDocument->GetTextAt(0));
    for (int i = 0; i < m_nEntries; i++) {
        Entry* e = &m_pEntries[i];
        if (e->start == start && e->length == length) {
            e->use = ++m_nUses;
            return e;
        }
    }
    Entry* e = &m_pEntries[m_nEntries < MAX_ENTRIES ? m_nEntries : 0];
    if (m_nEntries == MAX_ENTRIES) {
        for (int i = 1; i < m_nEntries; i++) {
            if (m_pEntries[i].use < e->use)
                e = &m_pEntries[i];
        }
    } else {
        memset(e, 0, sizeof(*e));
        m_nEntries++;
    }
    e->start = start;
    e->use = ++m_nUses;
    if (!Build(e, line, length)) {
        // Without room for the points the line is walked whole, as a short one.
        free(e->pos);
        free(e->sum);
        *e = m_pEntries[--m_nEntries];
        return nullptr;
    }
    return e;
}

// The sum at the kept point nearest at or before i (or the line start); returns its position.
int CLineSteps::Nearest(const char* line, int length, int i, int* sum)
{
    Entry* e = Find(line, length);
    *sum = 0;
    if (!e)
        return 0;
    int k = PointAtOrBefore(e->pos, e->count, i);
    *sum = e->sum[k];
    return e->pos[k];
}

int CLineSteps::SumTo(const char* line, int length, int i)
{
    int sum;
    int from = Nearest(line, length, i, &sum);
    return WalkAdding(m_pDocument->GetFontInfo(), line, length, from, i, sum, nullptr);
}

int CLineSteps::FirstReaching(const char* line, int length, int from, int target, int* before)
{
    const CFontInfo* font = m_pDocument->GetFontInfo();
    int sum;
    int j = Nearest(line, length, from, &sum);
    Entry* e = Find(line, length);
    if (e && font->HasRisingAdvances()) {
        // Sums never fall: no byte before the last point short of target can reach it.
        int lo = 0, hi = e->count - 1;
        while (lo < hi) {
            int mid = (lo + hi + 1) / 2;
            if (e->sum[mid] < target)
                lo = mid;
            else
                hi = mid - 1;
        }
        if (e->sum[lo] < target && e->pos[lo] > j) {
            j = e->pos[lo];
            sum = e->sum[lo];
        }
    }
    for (; j < length; j++) {
        int advance = font->AdvanceAt(line, length, j, sum);
        if (j >= from && sum + advance >= target)
            break;
        sum += advance;
    }
    if (before)
        *before = sum;
    return j < length ? j : length;
}

void CLineSteps::Fill(const char* line, int length, int from, int count, int sum,
                      int* out) const
{
    const CFontInfo* font = m_pDocument->GetFontInfo();
    for (int i = 0; i < count; i++) {
        out[i] = font->AdvanceAt(line, length, from + i, sum);
        sum += out[i];
    }
}

int CLineSteps::Width(const char* line, int length)
{
    if (length <= 0)
        return 0;
    // A short line keeps no points: nothing kept needs to be checked for it.
    const CFontInfo* font = m_pDocument->GetFontInfo();
    int sum = length < LONG_LINE ? font->SumAdvances(line, length, 0, length, 0)
                                 : SumTo(line, length, length);
    return sum + font->EdgeOverhangs(line, length);
}

void CLineSteps::Replaced(int index, int removed, int inserted, int breaks)
{
    const CFontInfo* font = m_pDocument->GetFontInfo();
    bool known = m_nSeenChanges + 1 == m_pDocument->GetChangeCount() &&
                 m_nSeenFont == font->Generation();
    m_nSeenChanges = m_pDocument->GetChangeCount();
    m_nSeenFont = font->Generation();
    if (!known) {
        Clear();
        return;
    }
    int shift = inserted - removed;
    for (int i = 0; i < m_nEntries;) {
        Entry* e = &m_pEntries[i];
        int end = e->start + e->length;
        bool touched = index <= end && index + removed >= e->start;
        if (!touched) {
            if (e->start > index)
                e->start += shift;
            i++;
            continue;
        }
        if (!breaks && UpdateLine(e, index - e->start, removed, inserted)) {
            i++;
            continue;
        }
        free(e->pos);
        free(e->sum);
        *e = m_pEntries[--m_nEntries];
    }
}

// The points of a line whose bytes [offset, offset + removed) became inserted others. The
// advances before offset - 1 stay (that byte kerns with a new neighbour); past the change
// every byte keeps its advance, so the sums move by one amount until the first tab, which
// ends at a stop as before: from there on they move by a whole number of tab units and
// every later tab keeps its advance. Sums that may fall break that, and are walked anew.
int CLineSteps::UpdateLine(Entry* e, int offset, int removed, int inserted) const
{
    const CFontInfo* font = m_pDocument->GetFontInfo();
    const char* line = m_pDocument->GetTextAt(e->start);
    const int shift = inserted - removed;
    const int length = e->length + shift;
    if (length < LONG_LINE)
        return 0;
    if (!font->HasRisingAdvances())
        return Build(e, line, length);

    int a = PointAtOrBefore(e->pos, e->count, offset > 0 ? offset - 1 : 0);
    int b = a + 1;
    while (e->pos[b] < offset + removed)
        b++;
    Points points(e->count + inserted / STEP + 2);
    for (int k = 0; k <= a; k++)
        points.Add(e->pos[k], e->sum[k]);
    int newB = e->pos[b] + shift;
    int sumB = WalkAdding(font, line, length, e->pos[a], newB, e->sum[a], &points);

    // The amount the sums move by from point k on, in the old points' terms.
    int delta = sumB - e->sum[b];
    int tab = font->TabUnit();
    int realigned = e->count;
    int after = delta;
    if (delta % tab != 0) {
        const void* t = memchr(line + newB, '\t', length - newB);
        if (t) {
            int tabAt = static_cast<int>(static_cast<const char*>(t) - line);
            int k = b;
            while (e->pos[k + 1] + shift <= tabAt)
                k++;
            int from = e->pos[k] + shift;
            int to = e->pos[k + 1] + shift;
            after = WalkAdding(font, line, length, from, to, e->sum[k] + delta, nullptr) -
                    e->sum[k + 1];
            realigned = k + 1;
        }
    }
    for (int k = b; k < e->count; k++)
        points.Add(e->pos[k] + shift, e->sum[k] + (k < realigned ? delta : after));
    if (points.failed)
        return 0;
    points.MoveTo(e);
    e->length = length;
    return 1;
}
