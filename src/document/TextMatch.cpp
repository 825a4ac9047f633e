#include "document/TextMatch.h"

#include <emmintrin.h>
#include <string.h>
#include <windows.h>

#include <new>

#include "document/TextHelpers.h"

// A candidate check that fails after this many compared bytes per scanned byte (plus the
// pattern's length) hands the rest of the range to the linear fallback.
static const int VERIFY_BUDGET = 4;

CTextMatcher::CTextMatcher()
    : m_pPattern(nullptr), m_nLength(0), m_nOptions(0), m_pForward(nullptr),
      m_pBackward(nullptr)
{
}

CTextMatcher::~CTextMatcher()
{
    delete[] m_pForward;
    delete[] m_pBackward;
}

int CTextMatcher::Set(const char* pattern, int length, int options)
{
    m_pPattern = reinterpret_cast<const unsigned char*>(pattern);
    m_nLength = length;
    m_nOptions = options;
    for (int c = 0; c < 256; c++)
        m_fold[c] = static_cast<unsigned char>(c);
    if (!(options & FIND_MATCHCASE)) {
        for (int c = 'A'; c <= 'Z'; c++)
            m_fold[c] = static_cast<unsigned char>(c + 32);
    }
    return BuildFailures();
}

int CTextMatcher::BuildFailures()
{
    delete[] m_pForward;
    delete[] m_pBackward;
    m_pForward = m_pBackward = nullptr;
    if (m_nLength <= 0)
        return 1;
    m_pForward = new (std::nothrow) int[m_nLength];
    m_pBackward = new (std::nothrow) int[m_nLength];
    if (!m_pForward || !m_pBackward)
        return 0;
    const unsigned char* p = m_pPattern;
    const int n = m_nLength;
    // forward: border of p[0..i]; backward: border of p[n-1-i..n-1] read from the end
    m_pForward[0] = m_pBackward[0] = 0;
    for (int i = 1, k = 0; i < n; i++) {
        while (k && m_fold[p[i]] != m_fold[p[k]])
            k = m_pForward[k - 1];
        if (m_fold[p[i]] == m_fold[p[k]])
            k++;
        m_pForward[i] = k;
    }
    for (int i = 1, k = 0; i < n; i++) {
        while (k && m_fold[p[n - 1 - i]] != m_fold[p[n - 1 - k]])
            k = m_pBackward[k - 1];
        if (m_fold[p[n - 1 - i]] == m_fold[p[n - 1 - k]])
            k++;
        m_pBackward[i] = k;
    }
    return 1;
}

int CTextMatcher::RawEqual(const unsigned char* at) const
{
    if (m_nOptions & FIND_MATCHCASE)
        return !memcmp(at, m_pPattern, m_nLength);
    for (int j = 0; j < m_nLength; j++) {
        if (m_fold[at[j]] != m_fold[m_pPattern[j]])
            return 0;
    }
    return 1;
}

// The guard byte before the text and the NUL after it are no word characters.
int CTextMatcher::WordBounded(const char* text, int i) const
{
    if (!(m_nOptions & FIND_WHOLEWORD))
        return 1;
    return !IsAsciiAlnum(static_cast<unsigned char>(text[i - 1])) &&
           !IsAsciiAlnum(static_cast<unsigned char>(text[i + m_nLength]));
}

int CTextMatcher::MatchesAt(const char* text, int length, int i) const
{
    if (m_nLength <= 0 || i < 0 || i > length - m_nLength)
        return 0;
    return RawEqual(reinterpret_cast<const unsigned char*>(text) + i) && WordBounded(text, i);
}

int CTextMatcher::Find(const char* text, int length, int from, int to, int down) const
{
    int last = length - m_nLength;
    if (m_nLength <= 0 || last < 0)
        return -1;
    if (down) {
        if (from < 0)
            from = 0;
        if (to > last)
            to = last;
        return from <= to ? FindDown(text, length, from, to) : -1;
    }
    if (from > last)
        from = last;
    if (to < 0)
        to = 0;
    return from >= to ? FindUp(text, length, from, to) : -1;
}

// Positions whose byte may start a match are found 16 at a time; each is then compared.
__attribute__((target("sse2"), force_align_arg_pointer))
int CTextMatcher::FindDown(const char* text, int length, int from, int to) const
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(text);
    unsigned char first = m_pPattern[0];
    unsigned char lower = m_fold[first];
    unsigned char upper = lower;
    if (!(m_nOptions & FIND_MATCHCASE) && lower >= 'a' && lower <= 'z')
        upper = static_cast<unsigned char>(lower - 32);
    const __m128i a = _mm_set1_epi8(static_cast<char>(lower));
    const __m128i b = _mm_set1_epi8(static_cast<char>(upper));
    long long budget = static_cast<long long>(m_nLength) * 2 + 64;
    int i = from;
    while (i <= to) {
        unsigned mask = 0;
        if (to - i >= 15) {
            __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i));
            mask = _mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(bytes, a), _mm_cmpeq_epi8(bytes, b)));
            if (!mask) {
                i += 16;
                budget += 16 * VERIFY_BUDGET;
                continue;
            }
        } else {
            for (int j = 0; j <= to - i; j++) {
                if (u[i + j] == lower || u[i + j] == upper)
                    mask |= 1u << j;
            }
            if (!mask)
                return -1;
        }
        while (mask) {
            int j = __builtin_ctz(mask);
            mask &= mask - 1;
            int at = i + j;
            budget += (j + 1) * VERIFY_BUDGET - m_nLength;
            if (RawEqual(u + at) && WordBounded(text, at))
                return at;
            if (budget < 0)
                return KmpDown(text, length, at + 1, to);
        }
        i += 16;
    }
    return -1;
}

int CTextMatcher::FindUp(const char* text, int length, int from, int to) const
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(text);
    unsigned char lower = m_fold[m_pPattern[0]];
    long long budget = static_cast<long long>(m_nLength) * 2 + 64;
    for (int i = from; i >= to; i--) {
        budget += VERIFY_BUDGET;
        if (m_fold[u[i]] != lower)
            continue;
        budget -= m_nLength;
        if (RawEqual(u + i) && WordBounded(text, i))
            return i;
        if (budget < 0)
            return KmpUp(text, length, i - 1, to);
    }
    return -1;
}

// The scan of the folded pattern over the text: every raw match in order, each then tested
// for word bounds; linear in the range.
int CTextMatcher::KmpDown(const char* text, int, int from, int to) const
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(text);
    const int n = m_nLength;
    int k = 0;
    for (int j = from; j < to + n; j++) {
        unsigned char c = m_fold[u[j]];
        while (k && c != m_fold[m_pPattern[k]])
            k = m_pForward[k - 1];
        if (c == m_fold[m_pPattern[k]])
            k++;
        if (k == n) {
            int at = j - n + 1;
            if (WordBounded(text, at))
                return at;
            k = m_pForward[k - 1];
        }
    }
    return -1;
}

// The same from the end: the pattern read backwards against the text read backwards.
int CTextMatcher::KmpUp(const char* text, int, int from, int to) const
{
    if (from < to)
        return -1;
    const unsigned char* u = reinterpret_cast<const unsigned char*>(text);
    const int n = m_nLength;
    int k = 0;
    for (int j = from + n - 1; j >= to; j--) {
        unsigned char c = m_fold[u[j]];
        while (k && c != m_fold[m_pPattern[n - 1 - k]])
            k = m_pBackward[k - 1];
        if (c == m_fold[m_pPattern[n - 1 - k]])
            k++;
        if (k == n) {
            if (WordBounded(text, j))
                return j;
            k = m_pBackward[k - 1];
        }
    }
    return -1;
}
