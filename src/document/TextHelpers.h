#pragma once

// Scanners over the document text: NUL-terminated, with a NUL guard byte before it,
// CR (13) as the only line break.

int CountLines(const char* p, int n);
int LineLength(const char* p);
const char* SkipBlanks(const char* p, int* rest);
int IsLineStart(const char* p);
int IsAsciiAlnum(unsigned char c);
int IsAsciiDigit(unsigned char c);
int IsBlankOrControl(unsigned char c);
int CharClass(unsigned char c);
const char* MoveByLines(int n, int* lineLength, int* index, const char* p);

enum {
    CHARCLASS_BLANK = 1,
    CHARCLASS_ALNUM = 2,
    CHARCLASS_CR = 4,
    CHARCLASS_NUL = 8,
    CHARCLASS_OTHER = 16
};
