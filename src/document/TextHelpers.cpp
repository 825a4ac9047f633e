#include "document/TextHelpers.h"

#include <emmintrin.h>
#include <stdint.h>
#include <string.h>
#include <windows.h>

// Counting CR bytes is the hot loop of loading and of every edit (the line of the edit point
// is counted from the text start), so it compares 16 bytes at a time where the processor can.
__attribute__((target("sse2"), force_align_arg_pointer))
static int CountCrSse2(const unsigned char* p, int n)
{
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    int count = 0;
    int i = 0;
    while (n - i >= 16) {
        // Byte counters overflow after 255 rounds: fold them into count before that.
        int rounds = (n - i) / 16;
        if (rounds > 255)
            rounds = 255;
        __m128i counters = zero;
        for (int r = 0; r < rounds; r++, i += 16) {
            __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(bytes, cr));
        }
        __m128i sums = _mm_sad_epu8(counters, zero);
        count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    }
    for (; i < n; i++)
        count += p[i] == '\r';
    return count;
}

static int CountCrBytewise(const unsigned char* p, int n)
{
    int count = 0;
    for (int i = 0; i < n; i++)
        count += p[i] == '\r';
    return count;
}

int CountLines(const char* p, int n)
{
    if (n <= 0)
        return 1;
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    return 1 + (HasSse2() ? CountCrSse2(u, n) : CountCrBytewise(u, n));
}

// A line end is a CR or the NUL after the text. Lines may be megabytes long, and the line of
// the caret is walked at every keystroke, so both walks test 16 bytes at a time.
__attribute__((target("sse2"), force_align_arg_pointer))
static const char* LineEndSse2(const char* p)
{
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    // Up to the next 16-byte boundary bytewise: an aligned load never crosses into a page
    // that the text does not reach.
    while (reinterpret_cast<uintptr_t>(p) & 15) {
        if (*p == 0 || *p == '\r')
            return p;
        p++;
    }
    for (;; p += 16) {
        __m128i bytes = _mm_load_si128(reinterpret_cast<const __m128i*>(p));
        int mask = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, zero)));
        if (mask)
            return p + __builtin_ctz(mask);
    }
}

// The first byte of the line that holds p: just after a CR or the NUL guard before the text.
__attribute__((target("sse2"), force_align_arg_pointer))
static const char* LineStartSse2(const char* p)
{
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    while (reinterpret_cast<uintptr_t>(p) & 15) {
        if (p[-1] == 0 || p[-1] == '\r')
            return p;
        p--;
    }
    for (;; p -= 16) {
        __m128i bytes = _mm_load_si128(reinterpret_cast<const __m128i*>(p - 16));
        int mask = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, zero)));
        if (mask)
            return p - 16 + (31 - __builtin_clz(mask)) + 1;
    }
}

int HasSse2()
{
    static const int sse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE);
    return sse2;
}

int LineLength(const char* p)
{
    const char* q = p;
    if (HasSse2()) {
        q = LineEndSse2(p);
    } else {
        while (*q && *q != '\r')
            q++;
    }
    return static_cast<int>(q - p);
}

const char* SkipBlanks(const char* p, int* rest)
{
    while (*p == ' ' || *p == '\t')
        p++;
    if (rest)
        *rest = LineLength(p);
    return p;
}

int IsLineStart(const char* p)
{
    return p[-1] == 0 || p[-1] == '\r';
}

int IsAsciiAlnum(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int IsAsciiDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

int IsBlankOrControl(unsigned char c)
{
    return c <= 32 || c >= 127;
}

int CharClass(unsigned char c)
{
    if (c == 0)
        return CHARCLASS_NUL;
    if (c == '\r')
        return CHARCLASS_CR;
    if (IsCharAlphaNumericA(static_cast<char>(c)))
        return CHARCLASS_ALNUM;
    if (c == ' ' || c == '\t')
        return CHARCLASS_BLANK;
    return CHARCLASS_OTHER;
}

static const char* StartOfLine(const char* p, int* index)
{
    const char* q = p;
    if (HasSse2()) {
        q = LineStartSse2(p);
    } else {
        while (q[-1] != 0 && q[-1] != '\r')
            q--;
    }
    *index -= static_cast<int>(p - q);
    return q;
}

const char* MoveByLines(int n, int* lineLength, int* index, const char* p)
{
    *lineLength = 0;
    if (n == 0) {
        p = StartOfLine(p, index);
        *lineLength = LineLength(p);
        return p;
    }
    if (n < 0) {
        p = StartOfLine(p, index);
        if (p[-1] == 0)
            return p;
        while (n < 0 && p[-1] == '\r') {
            p--;
            (*index)--;
            p = StartOfLine(p, index);
            n++;
        }
        *lineLength = LineLength(p);
        return p;
    }
    while (n > 0) {
        int len = LineLength(p);
        p += len;
        *index += len;
        if (*p != '\r')
            return p;
        p++;
        (*index)++;
        n--;
    }
    *lineLength = LineLength(p);
    return p;
}

// Aligned loads never cross into a page that the text does not reach.
__attribute__((target("sse2"), force_align_arg_pointer))
static unsigned long long BreaksInBlockSse2(const char* p)
{
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    unsigned long long breaks = 0;
    for (int i = 0; i < 64; i += 16) {
        const __m128i bytes = _mm_load_si128(reinterpret_cast<const __m128i*>(p + i));
        breaks |= static_cast<unsigned long long>(static_cast<unsigned>(_mm_movemask_epi8(
                      _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, zero)))))
                  << i;
    }
    return breaks;
}

unsigned long long BreaksInBlock(const char* p)
{
    if (HasSse2())
        return BreaksInBlockSse2(p);
    unsigned long long breaks = 0;
    for (int i = 0; i < 64; i++)
        breaks |= static_cast<unsigned long long>(p[i] == '\r' || p[i] == 0) << i;
    return breaks;
}

CBreakScanner::CBreakScanner(const char* text)
{
    uintptr_t offset = reinterpret_cast<uintptr_t>(text) & 63;
    m_pBlock = text - offset;
    m_nBreaks = BreaksInBlock(m_pBlock) & (~0ULL << offset);
}
