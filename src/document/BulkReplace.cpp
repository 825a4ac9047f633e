// Replace all, its undo and its redo in one pass over the text. Done range by range through
// the primitives, each range would move the rest of the text twice and count lines from
// the start; here the widest line still follows the same steps, on the one line concerned.
#include "document/TextDocument.h"
#include "base/FailureSeam.h"

#include <string.h>

#include <new>

#include "document/DocumentOwner.h"
#include "document/TextHelpers.h"
#include "view/FontInfo.h"

namespace {

// Line widths with the first widest line at hand after every change, as a full rescan of
// the table would find it.
class CWidestTree {
public:
    CWidestTree() : m_pNodes(nullptr), m_nLeaves(0) {}
    ~CWidestTree() { delete[] m_pNodes; }

    int Build(const int* widths, int count)
    {
        m_nLeaves = 1;
        while (m_nLeaves < count)
            m_nLeaves *= 2;
        m_pNodes = new (std::nothrow) int[2 * m_nLeaves];
        if (!m_pNodes)
            return 0;
        for (int i = 0; i < m_nLeaves; i++)
            m_pNodes[m_nLeaves + i] = i < count ? widths[i] : 0;
        for (int i = m_nLeaves - 1; i > 0; i--)
            m_pNodes[i] = Max(m_pNodes[2 * i], m_pNodes[2 * i + 1]);
        return 1;
    }

    void Set(int line, int width)
    {
        int i = m_nLeaves + line;
        m_pNodes[i] = width;
        for (i /= 2; i > 0; i /= 2)
            m_pNodes[i] = Max(m_pNodes[2 * i], m_pNodes[2 * i + 1]);
    }

    // The rescan's answer: the first line of the greatest width, or line 0 and width 0
    // when no line is wider than 0.
    void Rescan(int* widest, int* width) const
    {
        *widest = 0;
        *width = 0;
        if (m_pNodes[1] <= 0)
            return;
        int i = 1;
        while (i < m_nLeaves)
            i = m_pNodes[2 * i] == m_pNodes[i] ? 2 * i : 2 * i + 1;
        *widest = i - m_nLeaves;
        *width = m_pNodes[1];
    }

private:
    static int Max(int a, int b) { return a > b ? a : b; }
    int* m_pNodes;
    int m_nLeaves;
};

} // namespace

int CTextDocument::ReplaceRanges(const int* at, int count, int removed, RangeBytes bytes,
                                 const void* user, int inserted)
{
    if (!at || count <= 0 || removed < 0 || inserted < 0 || removed + inserted == 0)
        return 0;
    const int length = GetTextLength();
    int next = 0;
    for (int i = 0; i < count; i++) {
        if (at[i] < next || at[i] > length - removed ||
            memchr(m_pText + at[i], '\r', removed))
            return 0;
        next = at[i] + removed;
        const char* b = inserted ? bytes(user, i) : nullptr;
        if (inserted && (!b || memchr(b, '\r', inserted) || memchr(b, 0, inserted)))
            return 0;
    }
    const long long grown = static_cast<long long>(length) +
                            static_cast<long long>(count) * (inserted - removed);
    if (grown > 0x7FFF0000LL)
        return 0;
    const int newLength = static_cast<int>(grown);

    // Everything that can fail comes first, so that a failure changes nothing.
    HGLOBAL newBlock = nullptr;
    if (GlobalSize(m_hBuffer) < static_cast<unsigned int>(newLength) + 2) {
        newBlock = SeamGlobalAlloc(GPTR, RoundUp(newLength + 2, TEXT_BLOCK_STEP));
        if (!newBlock)
            return 0;
    }
    CWidestTree tree;
    int longest = 0;
    for (int i = 0, start = 0; i <= length; i++) {
        if (i == length || m_pText[i] == '\r') {
            if (i - start > longest)
                longest = i - start;
            start = i + 1;
        }
    }
    // A line grows by at most this much while its ranges are replaced one after another.
    long long room = static_cast<long long>(longest) +
                     static_cast<long long>(count) * (inserted > removed ? inserted - removed : 0);
    char* line = room < 0x7FFF0000LL ? new (std::nothrow) char[room + 1] : nullptr;
    if (!line || !tree.Build(m_pLineWidths, m_nLineCount)) {
        delete[] line;
        if (newBlock)
            GlobalFree(newBlock);
        return 0;
    }

    // The widest line through every step the primitives would take: each removal and each
    // insertion re-measures the line that holds the range, as it then reads.
    int widest = m_nWidestIndex, width = m_nWidestWidth;
    int number = 0, counted = 0;
    for (int i = 0; i < count;) {
        number += CountLines(m_pText + counted, at[i] - counted) - 1;
        counted = at[i];
        int start = at[i];
        while (start > 0 && m_pText[start - 1] != '\r')
            start--;
        int end = at[i] + LineLength(m_pText + at[i]);
        int size = end - start;
        memcpy(line, m_pText + start, size);
        for (int shift = 0; i < count && at[i] <= end; i++, shift += inserted - removed) {
            int pos = at[i] - start + shift;
            int w;
            if (removed) {
                memmove(line + pos, line + pos + removed, size - pos - removed);
                size -= removed;
                w = size ? m_pFontInfo->LineWidth(line, size) : 0;
                m_pLineWidths[number] = w;
                tree.Set(number, w);
                if (number == widest)
                    tree.Rescan(&widest, &width);
                else if (w > width)
                    width = w, widest = number;
            }
            if (!inserted)
                continue;
            memmove(line + pos + inserted, line + pos, size - pos);
            memcpy(line + pos, bytes(user, i), inserted);
            size += inserted;
            w = m_pFontInfo->LineWidth(line, size);
            m_pLineWidths[number] = w;
            tree.Set(number, w);
            if (number != widest) {
                if (w > width)
                    width = w, widest = number;
            } else {
                int old = width;
                width = w;
                if (width < old)
                    tree.Rescan(&widest, &width);
            }
        }
    }
    delete[] line;
    m_nWidestIndex = widest;
    m_nWidestWidth = width;

    // The text: shrinking runs front to back, growing in place back to front, so that no
    // byte is overwritten before it is read.
    char* to = newBlock ? static_cast<char*>(newBlock) + 1 : m_pText;
    if (newBlock || inserted <= removed) {
        int from = 0, out = 0;
        for (int i = 0; i < count; i++) {
            memmove(to + out, m_pText + from, at[i] - from);
            out += at[i] - from;
            if (inserted)
                memcpy(to + out, bytes(user, i), inserted);
            out += inserted;
            from = at[i] + removed;
        }
        memmove(to + out, m_pText + from, length - from);
    } else {
        int from = length, out = newLength;
        for (int i = count - 1; i >= 0; i--) {
            int tail = from - (at[i] + removed);
            out -= tail;
            memmove(to + out, m_pText + at[i] + removed, tail);
            out -= inserted;
            memcpy(to + out, bytes(user, i), inserted);
            from = at[i];
        }
    }
    if (newBlock) {
        GlobalFree(m_hBuffer);
        m_hBuffer = newBlock;
        m_pText = to;
    }
    m_nLength = newLength;
    m_pText[newLength] = 0;
    m_bModified = 1;
    m_nChangeCount++;

    // The view that made the edit ends with its caret after the last replacement.
    int lastAt = at[count - 1] + (count - 1) * (inserted - removed);
    int shortest = length - removed < newLength - inserted ? length - removed : newLength - inserted;
    TellViews(m_pOwner, DOC_TEXT_REPLACED, lastAt + inserted, shortest);
    return 1;
}
