#pragma once

#include "base/PtrList.h"

// The sort record of one line. The text is the line inside the document text: not owned, and
// it must not change while a sort runs.
class CStringInfo : public CObject {
public:
    CStringInfo(const char* text, int length, int numeric)
        : m_nLength(length), m_pText(text), m_bNumeric(numeric)
    {
    }

    int m_nLength;       // the CR excluded
    const char* m_pText;
    int m_bNumeric;      // a numeric sort, and the line has a number key
};

// 1 when the line, after its spaces and tabs, starts with a digit or with '-' and a digit.
int HasNumberKey(const char* text, int length);

// 1: a before b, 2: equal, 3: a after b (the values of CompareStringA, which a failing
// collation passes on as 0); 0 for a numeric and a text record.
int CompareLines(const CStringInfo* a, const CStringInfo* b);
