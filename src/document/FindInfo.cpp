#include "document/FindInfo.h"

#include <string.h>

#include <new>

#include "base/ErrorBox.h"
#include "document/FindView.h"
#include "document/TextDocument.h"

const char FIND_NOT_FOUND_TEXT[] = "The specified string pattern does\nnot exist within this document.";
const char FIND_FINAL_TEXT[] = "Final string instance reached.";

static void ClearHalf(CFindHalf* half)
{
    ZeroMemory(half, sizeof(*half));
    half->dirty = 1;
}

CFindInfo::CFindInfo(CEditDisplay* view)
    : m_pReplacement(nullptr), m_nReplacePrevious(0), m_nReplacementLength(0),
      m_bReplaceDone(0), m_pView(view), m_pDocument(FindViewDocument(view))
{
    ClearHalf(&m_find);
    ClearHalf(&m_replace);
}

CFindInfo::~CFindInfo()
{
    delete[] m_find.pattern;
    delete[] m_replace.pattern;
    delete[] m_pReplacement;
}

void CFindInfo::MarkDirty()
{
    m_find.dirty = 1;
    m_replace.dirty = 1;
}

// The box disables only the dialog: meanwhile the user may edit the document or close it,
// freeing this state. So each call remembers what it has seen before the box, and nothing
// of this object is used after it.
void CFindInfo::Message(HWND owner, const char* text) const
{
    MessageBoxA(owner, text, APP_CAPTION, MB_OK);
}

void CFindInfo::ReportNoMemory() const
{
    ShowOutOfMemory(m_pDocument->GetOwnerWindow());
}

char* CFindInfo::CopyString(const char* s) const
{
    size_t n = strlen(s);
    char* copy = new (std::nothrow) char[n + 1];
    if (copy)
        memcpy(copy, s, n + 1);
    else
        ReportNoMemory();
    return copy;
}

// Takes the pattern and options of a call; a new pattern, new options or any change of
// the caret or the text since the half last ran start a new scan at the caret.
int CFindInfo::SetHalf(CFindHalf* half, const char* pattern, int options)
{
    // The sort's worker reads the text until it ends; the search waits for it.
    if (m_pDocument->IsSorting()) {
        MessageBeep(MB_OK);
        return 0;
    }
    int reset = half->dirty || half->seen != m_pDocument->GetChangeCount() ||
                half->options != options;
    if (!half->pattern || strcmp(half->pattern, pattern)) {
        char* copy = CopyString(pattern);
        if (!copy)
            return 0;
        delete[] half->pattern;
        half->pattern = copy;
        half->length = static_cast<int>(strlen(copy));
        reset = 1;
    }
    half->options = options;
    if (!m_matcher.Set(half->pattern, half->length, options)) {
        // The pattern or options may be new: the next call must not take the scan as set.
        half->dirty = 1;
        ReportNoMemory();
        return 0;
    }
    if (!reset)
        return 1;
    int length = m_pDocument->GetTextLength();
    int start = FindViewCaret(m_pView);
    if (start + half->length > length)
        start = (options & FIND_DOWN) ? 0 : length - half->length;
    if (start < 0)
        start = 0;
    half->match = half->next = half->stop = start;
    half->count = 0;
    half->fresh = 1;
    half->dirty = 0;
    if (half == &m_replace)
        m_bReplaceDone = 0;
    return 1;
}

// A changed replacement alone keeps the scan: the pending match gets the new text.
int CFindInfo::SetReplacement(const char* replacement)
{
    if (m_pReplacement && !strcmp(m_pReplacement, replacement))
        return 1;
    char* copy = CopyString(replacement);
    if (!copy)
        return 0;
    delete[] m_pReplacement;
    m_pReplacement = copy;
    m_nReplacementLength = static_cast<int>(strlen(copy));
    return 1;
}

// Past the last place where the pattern fits, downwards goes on at 0 and upwards at that
// last place: an index beyond the text never runs on past its end.
int CFindInfo::Successor(const CFindHalf* half, int i) const
{
    int last = m_pDocument->GetTextLength() - half->length;
    if (half->options & FIND_DOWN)
        return i >= last ? 0 : i + 1;
    return (i == 0 || i > last) ? last : i - 1;
}

// One step of a half: the next match from where the last one ended, once round the text.
int CFindInfo::Scan(CFindHalf* half)
{
    if (half == &m_replace)
        m_nReplacePrevious = half->match;
    if (half->next == half->stop && !half->fresh)
        return 0;
    half->fresh = 0;
    int length = m_pDocument->GetTextLength();
    int last = length - half->length;
    if (last < 0)
        return 0;
    int down = half->options & FIND_DOWN;
    // A stop beyond the last place would never be reached.
    if (half->stop > last)
        half->stop = down ? 0 : last;
    const char* text = m_pDocument->GetTextAt(0);
    int next = half->next, stop = half->stop, found;
    if (down) {
        if (stop > next) {
            found = m_matcher.Find(text, length, next, stop - 1, 1);
        } else {
            found = m_matcher.Find(text, length, next, last, 1);
            if (found < 0)
                found = m_matcher.Find(text, length, 0, stop - 1, 1);
        }
    } else {
        if (stop < next) {
            found = m_matcher.Find(text, length, next, stop + 1, 0);
        } else {
            found = m_matcher.Find(text, length, next, 0, 0);
            if (found < 0)
                found = m_matcher.Find(text, length, last, stop + 1, 0);
        }
    }
    if (found < 0) {
        half->next = half->stop;
        return 0;
    }
    half->match = found;
    half->next = Successor(half, found);
    return 1;
}

void CFindInfo::Remember(CFindHalf* half)
{
    half->seen = m_pDocument->GetChangeCount();
}

void CFindInfo::FindNext(HWND owner, const char* pattern, int options)
{
    if (!SetHalf(&m_find, pattern, options))
        return;
    int found = Scan(&m_find);
    if (found) {
        FindViewSelect(m_pView, m_find.match, m_find.match + m_find.length);
        m_find.count++;
    }
    Remember(&m_find);
    if (!found)
        Message(owner, m_find.count > 0 ? FIND_FINAL_TEXT : FIND_NOT_FOUND_TEXT);
}

void CFindInfo::ReplaceFindNext(HWND owner, const char* pattern, const char* replacement,
                                int options)
{
    if (!SetHalf(&m_replace, pattern, options) || !SetReplacement(replacement))
        return;
    if (Scan(&m_replace)) {
        FindViewSelect(m_pView, m_replace.match, m_replace.match + m_replace.length);
        m_replace.count++;
        Remember(&m_replace);
        return;
    }
    FindViewClearSelection(m_pView);
    int counted = m_replace.count != 0;
    if (counted)
        m_replace.count = -1;
    Remember(&m_replace);
    Message(owner, counted ? FIND_FINAL_TEXT : FIND_NOT_FOUND_TEXT);
}

// Replaces the match selected by the call before, unless the text there no longer
// matches (it may have changed under the selection); 1 when it was replaced, 0 also when
// the edit failed (and was reported), so that no position moves for it.
int CFindInfo::ReplacePending()
{
    int at = m_nReplacePrevious;
    if (!m_matcher.MatchesAt(m_pDocument->GetTextAt(0), m_pDocument->GetTextLength(), at) ||
        !m_pDocument->ReplaceWithUndo(at, m_replace.length, m_pReplacement, m_nReplacementLength))
        return 0;
    FindViewPlaceCaret(m_pView, at + m_nReplacementLength);
    return 1;
}

void CFindInfo::ReplaceNext(HWND owner, const char* pattern, const char* replacement,
                            int options)
{
    if (!SetHalf(&m_replace, pattern, options) || !SetReplacement(replacement))
        return;
    CFindHalf& h = m_replace;
    if (m_bReplaceDone || !Scan(&h)) {
        FindViewClearSelection(m_pView);
        int counted = h.count != 0;
        if (counted) {
            if (h.count != -1)
                ReplacePending();
            h.count = -1;
        }
        Remember(&h);
        Message(owner, counted ? FIND_FINAL_TEXT : FIND_NOT_FOUND_TEXT);
        return;
    }
    FindViewClearSelection(m_pView);
    int previous = m_nReplacePrevious;
    if (h.count > 0 && ReplacePending()) {
        int d = m_nReplacementLength - h.length;
        int down = h.options & FIND_DOWN;
        int onward = down && h.next > h.match;
        if (previous < h.match)
            h.match += d;
        // Downwards the scan goes on after the match now selected, wherever it moved.
        if (onward)
            h.next = h.match + h.length;
        else if (previous < h.next)
            h.next += d;
        // The round must never scan the output of a replacement: upwards a stop at the
        // replaced occurrence moves past it, downwards a wrapped scan ends at its stop
        // even when the match now selected holds it (the caret stood inside).
        if (previous < h.stop || (!down && previous == h.stop))
            h.stop += d;
        if (down && h.match < h.stop && h.next > h.stop)
            h.next = h.stop;
    }
    FindViewSelect(m_pView, h.match, h.match + h.length);
    h.count++;
    Remember(&h);
}

void CFindInfo::ReplaceAll(HWND, const char* pattern, const char* replacement, int options)
{
    if (!SetHalf(&m_replace, pattern, options) || !SetReplacement(replacement))
        return;
    if (m_bReplaceDone)
        return;
    int length = m_pDocument->GetTextLength();
    int n = m_replace.length;
    if (length / n == 0) {
        m_bReplaceDone = 1;
        Remember(&m_replace);
        return;
    }
    // Left to right and without overlap; the list grows as occurrences are met.
    const char* text = m_pDocument->GetTextAt(0);
    int capacity = 0, count = 0;
    int* found = nullptr;
    for (int i = m_matcher.Find(text, length, 0, length - n, 1); i >= 0;
         i = m_matcher.Find(text, length, i + n, length - n, 1)) {
        if (count == capacity) {
            int grown = capacity ? capacity * 2 : 1024;
            if (grown > length / n)
                grown = length / n;
            int* bigger = new (std::nothrow) int[grown];
            if (!bigger) {
                delete[] found;
                ReportNoMemory();
                return;
            }
            if (count)
                memcpy(bigger, found, count * sizeof(int));
            delete[] found;
            found = bigger;
            capacity = grown;
        }
        found[count++] = i;
    }
    // Done only once made: a replacement that failed for memory may be tried again.
    if (!count || m_pDocument->ReplaceAllWithUndo(found, count, n, m_pReplacement,
                                                  m_nReplacementLength,
                                                  (options & FIND_MATCHCASE) ? 1 : 0)) {
        m_bReplaceDone = 1;
        m_replace.count = 0;
    }
    delete[] found;
    Remember(&m_replace);
}
