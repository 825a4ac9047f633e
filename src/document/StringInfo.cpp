#include "document/StringInfo.h"

#include <string.h>
#include <windows.h>

#include "base/ErrorBox.h"
#include "document/TextHelpers.h"

static const char UNIT[] = "stringinfo";

// The lines the checks have always named in their reports.
enum { LINE_FIRST_KEY = 48, LINE_SECOND_KEY = 49, LINE_DIGIT_COUNT = 147 };

static int BlankRun(const char* p, int length)
{
    int n = 0;
    while (n < length && (p[n] == ' ' || p[n] == '\t'))
        n++;
    return n;
}

static int DigitRun(const char* p, int length)
{
    if (!p) {
        DebugAssertFailed(UNIT, LINE_DIGIT_COUNT);
        return 0;
    }
    int n = 0;
    while (n < length && IsAsciiDigit(static_cast<unsigned char>(p[n])))
        n++;
    return n;
}

// Identical bytes always collate equal: equal lines, common in sorted data, skip the system.
static int Collate(const char* a, int na, const char* b, int nb)
{
    if (na == nb && memcmp(a, b, na) == 0)
        return CSTR_EQUAL;
    return CompareStringA(LOCALE_USER_DEFAULT, 0, a, na, b, nb);
}

// A line split around its number key: blanks, the key's digits (count negative when the key
// has a '-'), the blanks after them and the rest.
struct NumberKey {
    int lead;
    const char* digits;
    int count;
    const char* gap;
    int gapLength;
    const char* rest;
    int restLength;
};

static int SplitNumberKey(const CStringInfo* info, NumberKey* key)
{
    const char* p = info->m_pText;
    const char* end = p + info->m_nLength;
    key->lead = BlankRun(p, info->m_nLength);
    p += key->lead;
    int negative = end - p >= 2 && *p == '-' && IsAsciiDigit(static_cast<unsigned char>(p[1]));
    p += negative;
    key->digits = p;
    int digits = DigitRun(p, static_cast<int>(end - p));
    key->count = negative ? -digits : digits;
    key->gap = p + digits;
    key->gapLength = BlankRun(key->gap, static_cast<int>(end - key->gap));
    key->rest = key->gap + key->gapLength;
    key->restLength = static_cast<int>(end - key->rest);
    return digits > 0;
}

int HasNumberKey(const char* text, int length)
{
    CStringInfo line(text, length, 1);
    NumberKey key;
    return SplitNumberKey(&line, &key);
}

static int CompareTexts(const CStringInfo* a, const CStringInfo* b)
{
    int la = BlankRun(a->m_pText, a->m_nLength);
    int lb = BlankRun(b->m_pText, b->m_nLength);
    int r = Collate(a->m_pText + la, a->m_nLength - la, b->m_pText + lb, b->m_nLength - lb);
    if (r != CSTR_EQUAL)
        return r;
    return Collate(a->m_pText, la, b->m_pText, lb);
}

// By sign and magnitude through the digit count, then digit by digit: every negative key
// before every positive one, leading zeros counting as digits.
static int CompareKeys(const NumberKey& a, const NumberKey& b)
{
    if (a.count != b.count)
        return b.count < a.count ? CSTR_GREATER_THAN : CSTR_LESS_THAN;
    int digits = a.count < 0 ? -a.count : a.count;
    for (int i = 0; i < digits; i++) {
        if (a.digits[i] == b.digits[i])
            continue;
        int greater = a.digits[i] > b.digits[i];
        if (a.count < 0)
            greater = !greater;
        return greater ? CSTR_GREATER_THAN : CSTR_LESS_THAN;
    }
    return CSTR_EQUAL;
}

static int CompareNumbers(const CStringInfo* a, const CStringInfo* b)
{
    NumberKey ka, kb;
    if (!SplitNumberKey(a, &ka))
        DebugAssertFailed(UNIT, LINE_FIRST_KEY);
    if (!SplitNumberKey(b, &kb))
        DebugAssertFailed(UNIT, LINE_SECOND_KEY);
    int r = CompareKeys(ka, kb);
    if (r != CSTR_EQUAL)
        return r;
    // Equal keys: the rests decide, then the leading blanks, then the blanks after the key.
    r = Collate(ka.rest, ka.restLength, kb.rest, kb.restLength);
    if (r != CSTR_EQUAL)
        return r;
    r = Collate(a->m_pText, ka.lead, b->m_pText, kb.lead);
    if (r != CSTR_EQUAL)
        return r;
    return Collate(ka.gap, ka.gapLength, kb.gap, kb.gapLength);
}

int CompareLines(const CStringInfo* a, const CStringInfo* b)
{
    if (a->m_bNumeric != b->m_bNumeric)
        return 0;
    return a->m_bNumeric ? CompareNumbers(a, b) : CompareTexts(a, b);
}
