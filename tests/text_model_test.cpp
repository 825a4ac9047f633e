#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "support/TestSupport.h"
#include "support/ViewHarness.h"
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

// Random edits, each checked against a plain string and a full re-measure of every line;
// the views of the document, if any, must follow every edit.
void RunModel(CTextDocument* doc, const std::vector<CEditDisplay*>& views, unsigned seed,
              int steps)
{
    SCOPED_TRACE(seed);
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
        // The views follow every edit: the top stays on a line start, the caret in the text.
        for (CEditDisplay* view : views) {
            ASSERT_EQ(doc->GetTextAt(view->m_nTopIndex), view->m_pTopLine);
            ASSERT_LE(view->m_nTopIndex, doc->GetTextLength());
            ASSERT_TRUE(IsLineStart(view->m_pTopLine));
            ASSERT_LE(view->m_nIndex, doc->GetTextLength());
        }
        if (!views.empty() && rng() % 40 == 0) {
            CEditDisplay* view = views[rng() % views.size()];
            view->MoveCaret(static_cast<int>(rng() % (model.size() + 1)));
        }
    }
}

} // namespace

TEST(TextModel, RandomEditsWithAHeavilyKernedFont)
{
    CTextDocument doc(nullptr, nullptr, nullptr);
    SetTestFont(&doc, "DejaVu Sans", 15);
    RunModel(&doc, {}, 20240601u, 4000);
    EXPECT_GT(GlobalSize(doc.m_hBuffer), 32768u) << "the run should have grown the block";
}

// Real views take far longer per edit than the document: fewer steps.
TEST(TextModel, ViewsFollowRandomEdits)
{
    ViewHarness views("");
    views.AddView();
    SetTestFont(views.m_pDocument, "Liberation Sans", 15);
    RunModel(views.m_pDocument, views.m_views, 7u, 150);
}
