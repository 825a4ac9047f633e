#pragma once

class CTextDocument;

// Lines at least this long keep their steps; shorter ones cost less to walk than to look up.
const int LONG_LINE = 2048;

// Running sums of the advances at points along the document's long lines, so that a
// position, a hit or a drawn span of such a line is measured from the nearest point before
// it instead of from the line start. One set per document, shared by all its views, and
// kept exact through the edits of a line; every answer equals a walk of the whole line.
class CLineSteps {
public:
    explicit CLineSteps(const CTextDocument* document);
    ~CLineSteps();

    // line points at a line start of the document's text and length is that line's length.
    // The sum of the advances of bytes [0, i).
    int SumTo(const char* line, int length, int i);
    // The first byte j >= from whose right edge, the sum of [0, j + 1), reaches target;
    // length when none does. before, when given, gets the sum of [0, j).
    int FirstReaching(const char* line, int length, int from, int target, int* before = nullptr);
    // The advances of bytes [from, from + count), as the whole line's advances give them,
    // given sum, the sum of [0, from).
    void Fill(const char* line, int length, int from, int count, int sum, int* out) const;
    // The width that CFontInfo::LineWidth gives the line.
    int Width(const char* line, int length);

    // Called by the document right after each change made by its two primitives: at index,
    // removed bytes gave way to inserted ones, breaks line breaks among them.
    void Replaced(int index, int removed, int inserted, int breaks);
    void Clear();

    struct Entry;

private:
    CLineSteps(const CLineSteps&);
    CLineSteps& operator=(const CLineSteps&);
    void Sync();
    Entry* Find(const char* line, int length);
    int Build(Entry* entry, const char* line, int length) const;
    int UpdateLine(Entry* entry, int offset, int removed, int inserted) const;
    int Nearest(const char* line, int length, int i, int* sum);

    const CTextDocument* m_pDocument;
    Entry* m_pEntries;
    int m_nEntries;
    unsigned int m_nUses;
    unsigned int m_nSeenChanges;
    unsigned int m_nSeenFont;
};
