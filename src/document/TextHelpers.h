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
// 1 when the processor compares 16 bytes at a time (SSE2).
int HasSse2();

// The CR and NUL bytes of the 64-byte aligned block at p, one bit each.
unsigned long long BreaksInBlock(const char* p);

// The line breaks of a text, found several bytes at a time: each Next answers the next CR,
// or the NUL that ends the text (and must not be asked again after that).
class CBreakScanner {
public:
    explicit CBreakScanner(const char* text);
    const char* Next()
    {
        while (!m_nBreaks) {
            m_pBlock += 64;
            m_nBreaks = BreaksInBlock(m_pBlock);
        }
        const char* end = m_pBlock + LowestBit(m_nBreaks);
        m_nBreaks &= m_nBreaks - 1;
        return end;
    }

private:
    // One instruction where the processor has 64-bit registers, two halves where not.
    static int LowestBit(unsigned long long bits)
    {
        if (sizeof(void*) == 8)
            return __builtin_ctzll(bits);
        unsigned low = static_cast<unsigned>(bits);
        return low ? __builtin_ctz(low) : 32 + __builtin_ctz(static_cast<unsigned>(bits >> 32));
    }
    const char* m_pBlock;
    // The breaks in the block not yet answered.
    unsigned long long m_nBreaks;
};

enum {
    CHARCLASS_BLANK = 1,
    CHARCLASS_ALNUM = 2,
    CHARCLASS_CR = 4,
    CHARCLASS_NUL = 8,
    CHARCLASS_OTHER = 16
};
