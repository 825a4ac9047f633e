#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "support/TestSupport.h"
#include "view/EditDisplay.h"

namespace {

// Bytes that stress the line table: line breaks, tabs, kerned capitals, high codes.
char RandomByte(std::mt19937& rng)
{
    static const char common[] = "AVTWYLo.,aey \t\r\r\r";
    unsigned roll = rng() % 10;
    if (roll < 7)
        return common[rng() % (sizeof(common) - 1)];
    if (roll < 9)
        return static_cast<char>(128 + rng() % 128);
    return static_cast<char>(33 + rng() % 94);
}

std::string RandomText(std::mt19937& rng, int length)
{
    std::string s;
    for (int i = 0; i < length; i++)
        s += RandomByte(rng);
    return s;
}

// A length that is mostly a keystroke or a short paste, now and then a large block.
int RandomLength(std::mt19937& rng)
{
    unsigned roll = rng() % 100;
    if (roll < 60)
        return 1;
    if (roll < 97)
        return 2 + rng() % 40;
    return 1000 + rng() % 12000;
}

// Random edits, each checked against a plain string and a full re-measure of every line.
void RunModel(const char* face, unsigned seed, int steps)
{
    SCOPED_TRACE(face);
    SCOPED_TRACE(seed);
    CTestDocument test(2);
    CTextDocument* doc = test.Doc();
    SetTestFont(doc, face, 15);
    std::mt19937 rng(seed);
    std::string model;
    for (int step = 0; step < steps; step++) {
        SCOPED_TRACE(step);
        const int length = static_cast<int>(model.size());
        bool insert = length < 200 || (length < 30000 && rng() % 100 < 55) || rng() % 100 < 30;
        if (insert) {
            std::string text = RandomText(rng, RandomLength(rng));
            int index = static_cast<int>(rng() % (length + 1));
            ASSERT_EQ(1, InsertString(doc, text, index));
            model.insert(index, text);
        } else {
            int count = std::min(RandomLength(rng), length);
            int index = static_cast<int>(rng() % (length - count + 1));
            ASSERT_EQ(1, doc->RemoveText(index, count));
            model.erase(index, count);
        }
        if (rng() % 50 == 0) {
            // A stale index from another view is turned away.
            int past = static_cast<int>(model.size()) + 1 + static_cast<int>(rng() % 9);
            ASSERT_EQ(0, InsertString(doc, "z", past));
            ASSERT_EQ(0, doc->RemoveText(static_cast<int>(model.size()) - 1, 2));
        }
        ASSERT_EQ(model, DocumentText(doc));
        ASSERT_EQ(0, doc->GetTextAt(0)[-1]);
        ASSERT_TRUE(LineTableMatchesText(doc));
        for (CEditDisplay* view : test.m_views) {
            ASSERT_EQ(doc->GetTextAt(view->m_nTopIndex), view->m_pTopLine);
            ASSERT_LE(view->m_nTopIndex, doc->GetTextLength());
            ASSERT_TRUE(IsLineStart(view->m_pTopLine));
        }
        if (rng() % 40 == 0)
            test.ScrollViewTo(static_cast<int>(rng() % 2), static_cast<int>(rng() % (model.size() + 1)));
    }
}

} // namespace

TEST(TextModel, RandomEditsWithAHeavilyKernedFont)
{
    RunModel("DejaVu Sans", 20240601u, 3000);
}

TEST(TextModel, RandomEditsWithAnotherFont)
{
    RunModel("Liberation Sans", 7u, 1500);
}
