#pragma once

#include "base/PtrList.h"

class CTextDocument;

// Kinds of recorded edit.
enum {
    EDIT_INSERT = 20000,
    EDIT_REMOVE = 20001,
    EDIT_REPLACE = 20002,
    EDIT_MOVE = 20003,
    EDIT_REPLACE_ALL = 20004
};

// One occurrence of a replace all: where it stood before any replacement, and which of
// the saved spellings it had.
struct COccurrence {
    int index;
    int spelling;
};

// One undo step. Each kind uses only some fields (the others stay 0):
//   insert, remove: m_pText (the bytes), m_nLength, m_nIndex;
//   replace:        m_pText/m_nLength the old bytes, m_pSecondText/m_nSecondLength the new,
//                   m_nIndex = m_nTarget where both stand;
//   move:           m_pText/m_nLength = m_nSecondLength the moved bytes, m_nIndex their
//                   place before, m_nTarget their place after the move;
//   replace all:    m_nLength the old length, m_pSecondText/m_nSecondLength the new bytes,
//                   the occurrences and the distinct old spellings.
class CEditAction : public CObject {
public:
    explicit CEditAction(int type);
    virtual ~CEditAction();

    // For a replace all: records the occurrences of m_nLength bytes of text at indexes
    // and the distinct spellings they have; 0 when memory is short.
    int SetOccurrences(const char* text, const int* indexes, int count);
    const char* GetSpelling(int number) const;

    // Makes the edit, the first time and on redo; when it cannot be made, the text is
    // left as it was and the result is 0.
    int Apply(CTextDocument* document) const;
    unsigned int Growth(int count) const;
    int ApplyRangeByRange(CTextDocument* document) const;
    void RestoreRangeByRange(CTextDocument* document) const;
    void Undo(CTextDocument* document) const;
    // Puts the first count occurrences of a replace all back as they were before it.
    void RestoreOccurrences(CTextDocument* document, int count) const;

    CPtrList* m_pSpellings;
    char* m_pText;
    char* m_pSecondText;
    int m_nSecondLength;
    int m_nTarget;
    int m_nType;
    int m_nLength;
    int m_nIndex;
    int m_nOccurrenceCount;
    COccurrence* m_pOccurrences;

private:
    CEditAction(const CEditAction&);
    CEditAction& operator=(const CEditAction&);
    const char* SaveSpelling(const char* bytes);
    int* ReplacedIndexes(int growth) const;
    int ApplyInOnePass(CTextDocument* document) const;
    int RestoreInOnePass(CTextDocument* document) const;
};
