#include "document/EditAction.h"

#include <string.h>

#include <new>

#include "document/SavedString.h"
#include "document/TextDocument.h"
#include "document/TextHelpers.h"

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

static unsigned int HashBytes(const char* bytes, int count)
{
    unsigned int hash = 2166136261u;
    for (int i = 0; i < count; i++)
        hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 16777619u;
    return hash;
}

// Every occurrence is compared, also after a match-case search: then they all share
// spelling 0, and undo stays exact whatever the caller found. The spellings met so far are
// looked up by hash, so that many different ones cost no more than few.
int CEditAction::SetOccurrences(const char* text, const int* indexes, int count)
{
    m_pSpellings = new (std::nothrow) CPtrList(1);
    m_pOccurrences = new (std::nothrow) COccurrence[count];
    int slots = 16;
    while (slots < 2 * count)
        slots *= 2;
    int* table = new (std::nothrow) int[slots];
    const char** saved = new (std::nothrow) const char*[count];
    int ok = m_pSpellings && m_pOccurrences && table && saved;
    if (ok) {
        memset(table, -1, slots * sizeof(int));
        int spellings = 0;
        for (int i = 0; ok && i < count; i++) {
            const char* bytes = text + indexes[i];
            unsigned int slot = HashBytes(bytes, m_nLength) & (slots - 1);
            while (table[slot] >= 0 && memcmp(saved[table[slot]], bytes, m_nLength))
                slot = (slot + 1) & (slots - 1);
            if (table[slot] < 0) {
                const char* copy = SaveSpelling(bytes);
                ok = copy != nullptr;
                saved[spellings] = copy;
                table[slot] = spellings++;
            }
            m_pOccurrences[i].index = indexes[i];
            m_pOccurrences[i].spelling = table[slot];
        }
    }
    delete[] table;
    delete[] saved;
    if (!ok)
        return 0;
    m_nOccurrenceCount = count;
    return 1;
}

// Saves m_nLength bytes as the next spelling; its copy, or null when memory is short.
const char* CEditAction::SaveSpelling(const char* bytes)
{
    CSavedString* spelling = new (std::nothrow) CSavedString;
    if (!spelling)
        return nullptr;
    if (!spelling->Set(bytes, m_nLength) || !m_pSpellings->AddTail(spelling)) {
        delete spelling;
        return nullptr;
    }
    return spelling->GetText();
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
        if (!RestoreInOnePass(document))
            RestoreRangeByRange(document);
        break;
    }
}

static const char* SameBytes(const void* user, int)
{
    return static_cast<const char*>(user);
}

namespace {
struct CSpellingsAt {
    const COccurrence* occurrences;
    const char** texts;
};
}

static const char* SpellingOf(const void* user, int i)
{
    const CSpellingsAt* at = static_cast<const CSpellingsAt*>(user);
    return at->texts[at->occurrences[i].spelling];
}

// Each occurrence is i times the growth further on than before the replace all.
int* CEditAction::ReplacedIndexes(int growth) const
{
    int* at = new (std::nothrow) int[m_nOccurrenceCount];
    if (at) {
        for (int i = 0; i < m_nOccurrenceCount; i++)
            at[i] = m_pOccurrences[i].index + i * growth;
    }
    return at;
}

int CEditAction::RestoreInOnePass(CTextDocument* document) const
{
    int* at = ReplacedIndexes(m_nSecondLength - m_nLength);
    const char** texts = new (std::nothrow) const char*[m_pSpellings->GetCount()];
    int done = 0;
    if (at && texts) {
        int n = 0;
        for (CPtrNode* node = m_pSpellings->m_pFirst; node; node = node->next)
            texts[n++] = static_cast<CSavedString*>(node->item)->GetText();
        CSpellingsAt spellings = {m_pOccurrences, texts};
        done = document->ReplaceRanges(at, m_nOccurrenceCount, m_nSecondLength, SpellingOf,
                                       &spellings, m_nLength);
    }
    delete[] at;
    delete[] texts;
    return done;
}

int CEditAction::ApplyInOnePass(CTextDocument* document) const
{
    int* at = ReplacedIndexes(0);
    int done = at && document->ReplaceRanges(at, m_nOccurrenceCount, m_nLength, SameBytes,
                                             m_pSecondText, m_nSecondLength);
    delete[] at;
    return done;
}

// The bytes that count replacements add to the text; none when they shorten it.
unsigned int CEditAction::Growth(int count) const
{
    return m_nSecondLength > m_nLength
               ? static_cast<unsigned int>(count) * (m_nSecondLength - m_nLength)
               : 0;
}

// Redoing an edit is making it again. Only the first time can memory run short (when
// the text grows), and then the text is left as it was.
int CEditAction::Apply(CTextDocument* document) const
{
    switch (m_nType) {
    case EDIT_INSERT:
        return document->InsertText(m_pText, m_nLength, m_nIndex);
    case EDIT_REMOVE:
        return document->RemoveText(m_nIndex, m_nLength);
    case EDIT_REPLACE:
        // Room first, so that memory never runs short half-way: the text is never shown
        // half replaced while the user is told.
        if (!document->MakeRoom(Growth(1), CountLines(m_pSecondText, m_nSecondLength) - 1))
            return 0;
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
        if (ApplyInOnePass(document))
            return 1;
        // One occurrence at a time needs no memory but the room made for all of them.
        if (!document->MakeRoom(Growth(m_nOccurrenceCount),
                                m_nOccurrenceCount *
                                    (CountLines(m_pSecondText, m_nSecondLength) - 1)))
            return 0;
        return ApplyRangeByRange(document);
    }
    return 0;
}

// The views hear of the ranges once, at the end, as of the replace in one pass; an
// occurrence the text refuses puts back those done before.
int CEditAction::ApplyRangeByRange(CTextDocument* document) const
{
    const int oldLength = document->GetTextLength();
    const int growth = m_nSecondLength - m_nLength;
    document->HoldViewNotices();
    int done = 1;
    for (int i = 0; i < m_nOccurrenceCount && done; i++) {
        const COccurrence& occurrence = m_pOccurrences[i];
        int index = occurrence.index + i * growth;
        document->RemoveText(index, m_nLength);
        if (m_nSecondLength > 0 &&
            !document->InsertText(m_pSecondText, m_nSecondLength, index)) {
            document->InsertText(GetSpelling(occurrence.spelling), m_nLength, index);
            RestoreOccurrences(document, i);
            done = 0;
        }
    }
    // Put back, the text is as the views last heard of it.
    const int lastAt = m_pOccurrences[m_nOccurrenceCount - 1].index +
                       (m_nOccurrenceCount - 1) * growth;
    const int newLength = document->GetTextLength();
    document->ReleaseViewNotices(done ? lastAt + m_nSecondLength : -1,
                                 oldLength - m_nLength < newLength - m_nSecondLength
                                     ? oldLength - m_nLength
                                     : newLength - m_nSecondLength);
    return done;
}

void CEditAction::RestoreRangeByRange(CTextDocument* document) const
{
    const int oldLength = document->GetTextLength();
    document->HoldViewNotices();
    RestoreOccurrences(document, m_nOccurrenceCount);
    const int newLength = document->GetTextLength();
    const int lastAt = m_pOccurrences[m_nOccurrenceCount - 1].index;
    document->ReleaseViewNotices(lastAt + m_nLength,
                                 oldLength - m_nSecondLength < newLength - m_nLength
                                     ? oldLength - m_nSecondLength
                                     : newLength - m_nLength);
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
