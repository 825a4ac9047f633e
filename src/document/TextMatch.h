#pragma once

// Option bits of a search, as the Find and Replace dialogs report them.
enum {
    FIND_DOWN = 1,
    FIND_WHOLEWORD = 2,
    FIND_MATCHCASE = 4
};

// A pattern prepared for searching a document text (guard byte before it, NUL after it).
// Every search is linear in the text and the pattern together, however the pattern
// repeats itself: a long, self-similar pattern must not make each position cost its length.
class CTextMatcher {
public:
    CTextMatcher();
    ~CTextMatcher();

    // Copies nothing: pattern must stay valid while the matcher is used. 0 when memory
    // for the fallback table is short.
    int Set(const char* pattern, int length, int options);
    // The match test at i of a text of length bytes.
    int MatchesAt(const char* text, int length, int i) const;
    // The first match met scanning from from to to, both included: downwards (from <= to)
    // or upwards (from >= to); an empty range finds nothing. -1 when there is none.
    int Find(const char* text, int length, int from, int to, int down) const;

private:
    CTextMatcher(const CTextMatcher&);
    CTextMatcher& operator=(const CTextMatcher&);
    int RawEqual(const unsigned char* at) const;
    int WordBounded(const char* text, int i) const;
    int FindDown(const char* text, int length, int from, int to) const;
    int FindUp(const char* text, int length, int from, int to) const;
    int KmpDown(const char* text, int length, int from, int to) const;
    int KmpUp(const char* text, int length, int from, int to) const;
    int BuildFailures();

    const unsigned char* m_pPattern;
    int m_nLength;
    int m_nOptions;
    unsigned char m_fold[256];
    // border lengths of the folded pattern forwards and backwards, for the fallback scans
    int* m_pForward;
    int* m_pBackward;
};
