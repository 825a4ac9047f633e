#include "view/WordMotion.h"

#include "document/TextHelpers.h"

static int ClassAt(const char* text, int index)
{
    return CharClass(static_cast<unsigned char>(text[index]));
}

int WordRightIndex(const char* text, int index)
{
    int a = ClassAt(text, index);
    if (a == CHARCLASS_NUL)
        return index;
    if (a == CHARCLASS_CR)
        return index + 1;
    while (ClassAt(text, index) == a)
        index++;
    while (ClassAt(text, index) == CHARCLASS_BLANK)
        index++;
    return index;
}

int WordLeftIndex(const char* text, int index)
{
    int a = ClassAt(text, index - 1);
    if (a == CHARCLASS_NUL)
        return index;
    if (a == CHARCLASS_BLANK) {
        while (ClassAt(text, index - 1) == CHARCLASS_BLANK)
            index--;
        int before = ClassAt(text, index - 1);
        if (before == CHARCLASS_CR || before == CHARCLASS_NUL)
            return index;
        a = before;
    }
    while (ClassAt(text, index - 1) == a)
        index--;
    return index;
}
