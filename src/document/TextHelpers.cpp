#include "document/TextHelpers.h"

#include <string.h>
#include <windows.h>

int CountLines(const char* p, int n)
{
    // memchr runs the CR count at memory speed; loading and every edit depend on it.
    int lines = 1;
    const char* end = p + (n > 0 ? n : 0);
    while (p < end) {
        const char* cr = static_cast<const char*>(memchr(p, '\r', end - p));
        if (!cr)
            break;
        lines++;
        p = cr + 1;
    }
    return lines;
}

int LineLength(const char* p)
{
    const char* q = p;
    while (*q && *q != '\r')
        q++;
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
    while (p[-1] != 0 && p[-1] != '\r') {
        p--;
        (*index)--;
    }
    return p;
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
