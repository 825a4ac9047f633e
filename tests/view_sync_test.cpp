#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "document/TextDocument.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"

static int LineStart(CTextDocument* doc, int line)
{
    const char* text = doc->GetTextAt(0);
    int index = 0;
    for (int l = 0; l < line; l++)
        index += static_cast<int>(strcspn(text + index, "\r")) + 1;
    return index;
}

// Two views on one document: the edit is made while the first has the focus, and the
// second, scrolled to line 50, follows.
class TwoViews : public ::testing::Test {
protected:
    TwoViews() : h(NumberedLines(100))
    {
        b = h.AddView();
        b->MoveCaret(LineStart(h.m_pDocument, 52) + 2);
        b->m_pScrollBars->SetVertPos(50, 1);
        a = h.View(0);
        SetFocus(a->m_hWnd);
        a->MoveCaret(0);
    }
    void ExpectTopIsLine(int line)
    {
        EXPECT_EQ(line, b->GetVertPos());
        EXPECT_EQ(LineStart(h.m_pDocument, line), b->m_nTopIndex);
        EXPECT_EQ(h.m_pDocument->GetTextAt(b->m_nTopIndex), b->m_pTopLine);
    }
    ViewHarness h;
    CEditDisplay* a;
    CEditDisplay* b;
};

TEST_F(TwoViews, AnInsertionAboveTheTopKeepsTheSameLineAtTheTop)
{
    int caret = b->m_nIndex;
    ASSERT_TRUE(h.m_pDocument->InsertText("x\ry\r", 4, 3));
    EXPECT_EQ("line 50", TopLineText(b));
    ExpectTopIsLine(52);
    EXPECT_EQ(caret, b->m_nIndex) << "the view without the focus keeps its caret";
    EXPECT_EQ(7, a->m_nIndex) << "the focused view's caret follows the insertion";

    // At or below the top-line start nothing moves.
    int top = b->m_nTopIndex;
    ASSERT_TRUE(h.m_pDocument->InsertText("z", 1, top));
    EXPECT_EQ(top, b->m_nTopIndex);
}

TEST_F(TwoViews, WholeLinesRemovedAboveTheTopKeepItsText)
{
    int start = LineStart(h.m_pDocument, 10);
    int end = LineStart(h.m_pDocument, 13);
    ASSERT_TRUE(h.m_pDocument->RemoveText(start, end - start));
    EXPECT_EQ("line 50", TopLineText(b));
    ExpectTopIsLine(47);
    EXPECT_EQ(start, a->m_nIndex);
}

TEST_F(TwoViews, JoiningTwoLinesAboveTheTopLowersItsPositionByOne)
{
    int cr = LineStart(h.m_pDocument, 11) - 1;
    ASSERT_TRUE(h.m_pDocument->RemoveText(cr - 2, 4));
    EXPECT_EQ("line 50", TopLineText(b));
    ExpectTopIsLine(49);
}

TEST_F(TwoViews, ARemovalReachingIntoTheTopMakesItsFirstLineTheTop)
{
    int from = LineStart(h.m_pDocument, 48) + 2;
    int to = LineStart(h.m_pDocument, 50) + 3;
    ASSERT_TRUE(h.m_pDocument->RemoveText(from, to - from));
    ExpectTopIsLine(48);
    EXPECT_EQ("lie 50", TopLineText(b));
}

TEST_F(TwoViews, AnotherViewsCaretAndSelectionStayInsideTheText)
{
    SetFocus(b->m_hWnd);
    b->MoveCaret(h.m_pDocument->GetTextLength() - 3);
    b->m_pSelection->Extend(b->m_nIndex);
    b->m_pSelection->Extend(h.m_pDocument->GetTextLength());
    SetFocus(a->m_hWnd);

    int cut = LineStart(h.m_pDocument, 20);
    ASSERT_TRUE(h.m_pDocument->RemoveText(cut, h.m_pDocument->GetTextLength() - cut));
    int length = h.m_pDocument->GetTextLength();
    EXPECT_LE(b->m_nIndex, length);
    EXPECT_LE(b->m_pSelection->End(), length);
    EXPECT_EQ(b->m_pSelection->End() - b->m_pSelection->Start(), b->m_pSelection->m_nLength);

    // The view shows its caret at the kept index when it gets the focus back.
    SetFocus(b->m_hWnd);
    EXPECT_EQ(length, b->m_nIndex);
    POINT pt;
    b->PointFromIndex(length, &pt);
    EXPECT_EQ(pt.y, b->m_ptCaret.y);
    EXPECT_LE(b->GetVertPos(), b->m_pScrollBars->GetVertMax());
}

TEST_F(TwoViews, BufferGrowthMovesEveryTopLinePointer)
{
    std::string big(70000, 'q');
    ASSERT_TRUE(h.m_pDocument->InsertText(big.data(), static_cast<int>(big.size()),
                                          h.m_pDocument->GetTextLength()));
    EXPECT_EQ(h.m_pDocument->GetTextAt(b->m_nTopIndex), b->m_pTopLine);
    EXPECT_EQ("line 50", TopLineText(b));
}
