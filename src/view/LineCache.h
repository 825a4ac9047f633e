#pragma once

class CFontInfo;
class CTextDocument;

// The advances of the last long line that a view measured, kept until the text or the
// font changes: paints and caret moves on a very long line then measure it only once.
class CLineCache {
public:
    CLineCache();
    virtual ~CLineCache();

    // The advances of the line of length bytes at text index start, or null when the line
    // is short enough to measure each time (the caller then measures it itself).
    const int* Find(const CTextDocument* doc, int start, int length);
    void Invalidate();

    int m_nStart;
    int m_nLength;
    int* m_pAdvances;

private:
    CLineCache(const CLineCache&);
    CLineCache& operator=(const CLineCache&);
};

// The advances of one line for as long as this object lives: from the view's cache for a
// long line, measured afresh (and freed again) for a short one.
class CLineMeasure {
public:
    CLineMeasure(CLineCache* cache, const CTextDocument* doc, const char* line, int length);
    ~CLineMeasure();
    const int* Get() const { return m_pAdvances; }

private:
    CLineMeasure(const CLineMeasure&);
    CLineMeasure& operator=(const CLineMeasure&);
    const int* m_pAdvances;
    int* m_pOwned;
};
