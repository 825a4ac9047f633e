#include "document/EditAction.h"

#include <string.h>

#include <new>

#include "document/SavedString.h"
#include "document/TextDocument.h"

CEditAction::CEditAction(int type)
    : m_pSpellings(nullptr), m_pText(nullptr), m_pSecondText(nullptr), m_nSecondLength(0),
      m_nTarget(0), m_nType(type), m_nLength(0), m_nIndex(0), m_nOccurrenceCount(0),
      m_pOccurrences(nullptr)
{
}

CEditAction::~CEditAction()
{
    delete m_pSpellings;
    delete[] m_pText;
    delete[] m_pSecondText;
    delete[] m_pOccurrences;
}

int CEditAction::SetOccurrences(const char* text, const int* indexes, int count)
{
    m_pSpellings = new (std::nothrow) CPtrList(1);
    m_pOccurrences = new (std::nothrow) COccurrence[count];
    if (!m_pSpellings || !m_pOccurrences)
        return 0;
    // Every occurrence is compared, also after a match-case search: then they all share
    // spelling 0, and undo stays exact whatever the caller found.
    for (int i = 0; i < count; i++) {
        int number = FindOrSaveSpelling(text + indexes[i]);
        if (number < 0)
            return 0;
        m_pOccurrences[i].index = indexes[i];
        m_pOccurrences[i].spelling = number;
    }
    m_nOccurrenceCount = count;
    return 1;
}

// The number of the saved spelling equal to the m_nLength bytes, saved as a new one
// (numbered in order of first appearance) when none is; -1 when memory is short.
int CEditAction::FindOrSaveSpelling(const char* bytes)
{
    int number = 0;
    for (CPtrNode* node = m_pSpellings->m_pFirst; node; node = node->next, number++) {
        if (!memcmp(static_cast<CSavedString*>(node->item)->GetText(), bytes, m_nLength))
            return number;
    }
    CSavedString* spelling = new (std::nothrow) CSavedString;
    if (!spelling)
        return -1;
    if (!spelling->Set(bytes, m_nLength) || !m_pSpellings->AddTail(spelling)) {
        delete spelling;
        return -1;
    }
    return number;
}

const char* CEditAction::GetSpelling(int number) const
{
    CSavedString* spelling = static_cast<CSavedString*>(m_pSpellings->GetAt(number));
    return spelling ? spelling->GetText() : nullptr;
}

// Replay never runs short of memory: the text block and the line table never shrink,
// and each step goes back to a text that they already held.
void CEditAction::Undo(CTextDocument* document) const
{
    switch (m_nType) {
    case EDIT_INSERT:
        document->RemoveText(m_nIndex, m_nLength);
        break;
    case EDIT_REMOVE:
        document->InsertText(m_pText, m_nLength, m_nIndex);
        break;
    case EDIT_REPLACE:
        if (m_nSecondLength > 0)
            document->RemoveText(m_nIndex, m_nSecondLength);
        if (m_nLength > 0)
            document->InsertText(m_pText, m_nLength, m_nIndex);
        break;
    case EDIT_MOVE:
        document->RemoveText(m_nTarget, m_nSecondLength);
        document->InsertText(m_pText, m_nLength, m_nIndex);
        break;
    case EDIT_REPLACE_ALL:
        RestoreOccurrences(document, m_nOccurrenceCount);
        break;
    }
}

// Redoing an edit is making it again. Only the first time can memory run short (when
// the text grows), and then the text is put back as it was.
int CEditAction::Apply(CTextDocument* document) const
{
    switch (m_nType) {
    case EDIT_INSERT:
        return document->InsertText(m_pText, m_nLength, m_nIndex);
    case EDIT_REMOVE:
        return document->RemoveText(m_nIndex, m_nLength);
    case EDIT_REPLACE:
        if (m_nLength > 0)
            document->RemoveText(m_nIndex, m_nLength);
        if (m_nSecondLength > 0 &&
            !document->InsertText(m_pSecondText, m_nSecondLength, m_nIndex)) {
            if (m_nLength > 0)
                document->InsertText(m_pText, m_nLength, m_nIndex);
            return 0;
        }
        return 1;
    case EDIT_MOVE:
        document->RemoveText(m_nIndex, m_nLength);
        if (!document->InsertText(m_pText, m_nLength, m_nTarget)) {
            document->InsertText(m_pText, m_nLength, m_nIndex);
            return 0;
        }
        return 1;
    case EDIT_REPLACE_ALL:
        for (int i = 0; i < m_nOccurrenceCount; i++) {
            const COccurrence& occurrence = m_pOccurrences[i];
            int index = occurrence.index + i * (m_nSecondLength - m_nLength);
            document->RemoveText(index, m_nLength);
            if (m_nSecondLength > 0 &&
                !document->InsertText(m_pSecondText, m_nSecondLength, index)) {
                document->InsertText(GetSpelling(occurrence.spelling), m_nLength, index);
                RestoreOccurrences(document, i);
                return 0;
            }
        }
        return 1;
    }
    return 0;
}

// In ascending order each stored index is exact again: the occurrences before it are
// already back to their old length.
void CEditAction::RestoreOccurrences(CTextDocument* document, int count) const
{
    for (int i = 0; i < count; i++) {
        const COccurrence& occurrence = m_pOccurrences[i];
        if (m_nSecondLength > 0)
            document->RemoveText(occurrence.index, m_nSecondLength);
        document->InsertText(GetSpelling(occurrence.spelling), m_nLength, occurrence.index);
    }
}
