#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "document/LineSort.h"
#include "document/StringInfo.h"
#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "support/DocumentChecks.h"

namespace {

const int ORDERS[] = {SORT_ASCENDING, SORT_DESCENDING, SORT_ASCENDING | SORT_NUMERIC,
                      SORT_DESCENDING | SORT_NUMERIC};

// The sort as first written: records per line, an insertion sort per list that moves each
// record before the first it precedes or equals, the number block spliced, the lines joined.
std::string InsertionSort(const std::string& text, int order)
{
    CPtrList lists[2] = {CPtrList(1), CPtrList(1)}; // text, number
    const char* p = text.c_str();
    for (int i = 0, n = CountLines(p, static_cast<int>(text.size())); i < n; i++) {
        int length = LineLength(p);
        int numeric = (order & SORT_NUMERIC) && HasNumberKey(p, length);
        lists[numeric].AddTail(new CStringInfo(p, length, numeric));
        p += length + 1;
    }
    for (CPtrList& list : lists) {
        for (int k = 1; k < list.GetCount(); k++) {
            const CStringInfo* cur = static_cast<CStringInfo*>(list.GetAt(k));
            for (int e = 0; e < k; e++) {
                int r = CompareLines(cur, static_cast<CStringInfo*>(list.GetAt(e)));
                if (((order & SORT_ASCENDING) && (r == 1 || r == 2)) ||
                    ((order & SORT_DESCENDING) && (r == 3 || r == 2))) {
                    list.MoveNode(k, e);
                    break;
                }
            }
        }
    }
    int d = 0;
    for (; d < lists[0].GetCount(); d++) {
        const CStringInfo* info = static_cast<CStringInfo*>(lists[0].GetAt(d));
        const char* s = SkipBlanks(info->m_pText, nullptr);
        if (s - info->m_pText < info->m_nLength &&
            ((order & SORT_ASCENDING) ? static_cast<signed char>(*s) > '0'
                                      : static_cast<signed char>(*s) < '9'))
            break;
    }
    lists[0].Splice(&lists[1], d);
    std::string out;
    for (CPtrNode* node = lists[0].m_pFirst; node; node = node->next) {
        const CStringInfo* info = static_cast<CStringInfo*>(node->item);
        out.append(info->m_pText, info->m_nLength);
        if (node->next)
            out += '\r';
    }
    return out;
}

std::string FastSort(const std::string& text, int order)
{
    CLineSort sort(text.c_str(), static_cast<int>(text.size()), order, nullptr, nullptr, nullptr);
    return sort.Run() ? sort.GetResult() : "<failed>";
}

std::string RandomLine(std::mt19937& rng)
{
    static const char* const pieces[] = {"", " ", "\t", "  ", "-", "0", "007", "42", "9",
                                         "-3", "- 5", "apple", "Apple", "b", "B", "co-op",
                                         "coop", "\xe9t\xe9", "Zed", "x y", "'s", "10"};
    std::string line;
    for (int n = rng() % 4; n > 0; n--)
        line += pieces[rng() % (sizeof(pieces) / sizeof(pieces[0]))];
    return line;
}

} // namespace

TEST(LineSort, MergeSortEqualsTheInsertionSortOnRandomLines)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 150; round++) {
        std::vector<std::string> pool;
        for (int i = 0; i < 8; i++)
            pool.push_back(RandomLine(rng));
        std::string text;
        int lines = 1 + rng() % (round < 140 ? 30 : 300);
        for (int i = 0; i < lines; i++) {
            if (i)
                text += '\r';
            text += rng() % 3 ? pool[rng() % pool.size()] : RandomLine(rng);
        }
        for (int order : ORDERS) {
            SCOPED_TRACE(testing::Message() << "round " << round << " order " << order);
            ASSERT_EQ(InsertionSort(text, order), FastSort(text, order));
        }
    }
}

TEST(LineSort, NumberKeysAndTheNumberBlock)
{
    EXPECT_EQ("-3\r9\r10\rapple", FastSort("10\r-3\r9\rapple", SORT_ASCENDING | SORT_NUMERIC));
    EXPECT_FALSE(HasNumberKey("- 5", 3));
    EXPECT_TRUE(HasNumberKey(" \t-5x", 5));
    EXPECT_EQ("42\r007", FastSort("007\r42", SORT_ASCENDING | SORT_NUMERIC));
    EXPECT_EQ("\ra\rb", FastSort("b\ra\r", SORT_ASCENDING)) << "the empty last line sorts too";
}

TEST(LineSort, EqualLinesSwapAndAOneLineDocumentIsOneUndoStep)
{
    CLineSort sort("same\rsame", 9, SORT_ASCENDING, nullptr, nullptr, nullptr);
    ASSERT_TRUE(sort.MakeRecords() && sort.SortRecords());
    EXPECT_EQ(5, static_cast<CStringInfo*>(sort.m_textList.GetAt(0))->m_pText - sort.m_pText);

    CTextDocument doc(nullptr, nullptr, nullptr);
    SetText(doc, "only");
    EXPECT_EQ(1, doc.SortLinesNow(SORT_ASCENDING, nullptr, nullptr));
    EXPECT_EQ("only", TextOf(doc));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.CanUndo());
}
