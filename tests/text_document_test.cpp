#include <gtest/gtest.h>

#include <string>

#include "base/FailureSeam.h"
#include "document/TextDocument.h"
#include "support/DialogWatcher.h"
#include "support/TestSupport.h"
#include "view/FontInfo.h"

TEST(NewDocument, StartsEmptyWithOneLine)
{
    CTextDocument doc(nullptr, nullptr, nullptr);
    EXPECT_EQ(0, doc.GetTextLength());
    EXPECT_EQ(1, doc.GetLineCount());
    EXPECT_EQ(0, doc.GetWidestWidth());
    EXPECT_EQ(0, doc.GetWidestIndex());
    EXPECT_EQ(0, doc.GetLineWidth(0));
    EXPECT_EQ(500, doc.m_nTableCapacity);
    EXPECT_EQ(32768u, GlobalSize(doc.m_hBuffer));
    EXPECT_EQ(static_cast<char*>(doc.m_hBuffer) + 1, doc.GetTextAt(0));
    EXPECT_EQ(0, doc.GetTextAt(0)[-1]);
    EXPECT_EQ(0, doc.GetTextAt(0)[0]);
    EXPECT_EQ(0, doc.IsModified());
    EXPECT_EQ(0, doc.HasVisibleText());
    EXPECT_EQ(doc.GetTextAt(0), doc.GetWidestLineText());
    EXPECT_NE(nullptr, doc.GetArrowCursor());
    EXPECT_NE(nullptr, doc.GetIBeamCursor());
    EXPECT_NE(nullptr, doc.GetNoCursor());
    EXPECT_NE(nullptr, doc.GetFontInfo());
}

TEST(NewDocument, TakesItsTitleFromThePath)
{
    CTextDocument named(nullptr, nullptr, "C:\\notes\\2024\\todo.txt");
    EXPECT_STREQ("C:\\notes\\2024\\todo.txt", named.m_szPath);
    EXPECT_STREQ("todo.txt", named.m_szTitle);
    CTextDocument bare(nullptr, nullptr, "todo.txt");
    EXPECT_STREQ("todo.txt", bare.m_szTitle);
    CTextDocument untitled(nullptr, nullptr, nullptr);
    EXPECT_STREQ("", untitled.m_szPath);
    EXPECT_STREQ("", untitled.m_szTitle);

    // Without a file the title is empty, whatever the path said.
    char title[16] = "junk";
    EXPECT_EQ(0, named.GetTitle(title, sizeof(title)));
    EXPECT_STREQ("", title);
}

namespace {

class DocumentTest : public testing::Test {
protected:
    DocumentTest() : document(nullptr, nullptr, nullptr), doc(&document) {}
    void SetUp() override { SetTestFont(doc, "DejaVu Sans", 16); }

    // Starts over with text, as if it had just been saved.
    void Reset(const std::string& text)
    {
        if (doc->GetTextLength()) {
            ASSERT_EQ(1, doc->RemoveText(0, doc->GetTextLength()));
        }
        if (!text.empty()) {
            ASSERT_EQ(1, InsertString(doc, text, 0));
        }
        doc->m_bModified = 0;
        ASSERT_TRUE(LineTableMatchesText(doc));
    }
    std::string Text() const { return DocumentText(doc); }

    CTextDocument document;
    CTextDocument* doc;
};

} // namespace

TEST_F(DocumentTest, RejectsBadInsertionsWithoutAnyChange)
{
    Reset("one\rtwo");
    const char* before = doc->GetTextAt(0);
    EXPECT_EQ(0, doc->InsertText(nullptr, 3, 0));
    EXPECT_EQ(0, doc->InsertText("abc", 0, 0));
    EXPECT_EQ(0, doc->InsertText("abc", -1, 0));
    EXPECT_EQ(0, doc->InsertText("\0bc", 3, 0));
    EXPECT_EQ(0, doc->InsertText("abc", 3, -1));
    EXPECT_EQ(0, doc->InsertText("abc", 3, 8)) << "one past the end";
    EXPECT_EQ(0, doc->InsertText("abc", 3, 0x7FFFFFFF));
    EXPECT_EQ(0, doc->InsertText("abc", 0x7FFFFFFF, 0)) << "more bytes than a text can hold";
    EXPECT_EQ("one\rtwo", Text());
    EXPECT_EQ(0, doc->IsModified());
    EXPECT_EQ(before, doc->GetTextAt(0));
    EXPECT_TRUE(LineTableMatchesText(doc));
}

TEST_F(DocumentTest, RejectsBadRemovalsWithoutAnyChange)
{
    Reset("one\rtwo");
    EXPECT_EQ(0, doc->RemoveText(0, 0));
    EXPECT_EQ(0, doc->RemoveText(2, -1));
    EXPECT_EQ(0, doc->RemoveText(-1, 2));
    EXPECT_EQ(0, doc->RemoveText(6, 2)) << "a range past the end";
    EXPECT_EQ(0, doc->RemoveText(8, 1));
    EXPECT_EQ(0, doc->RemoveText(1, 0x7FFFFFFF));
    EXPECT_EQ("one\rtwo", Text());
    EXPECT_EQ(0, doc->IsModified());
    EXPECT_TRUE(LineTableMatchesText(doc));

    EXPECT_EQ(1, doc->RemoveText(6, 1)) << "the last byte";
    EXPECT_EQ("one\rtw", Text());
    EXPECT_EQ(1, doc->IsModified());
}

TEST_F(DocumentTest, InsertsAnywhereFromStartToEnd)
{
    Reset("");
    EXPECT_EQ(1, InsertString(doc, "bd", 0));
    EXPECT_EQ(1, InsertString(doc, "a", 0));
    EXPECT_EQ(1, InsertString(doc, "e", 3));
    EXPECT_EQ(1, InsertString(doc, "c", 2));
    EXPECT_EQ("abcde", Text());
    EXPECT_EQ(0, doc->GetTextAt(0)[5]) << "the text stays NUL-terminated";
    EXPECT_EQ(1, doc->IsModified());
    EXPECT_EQ(1, doc->InsertText("xyz", 2, 5)) << "count bytes, not up to a NUL";
    EXPECT_EQ("abcdexy", Text());
    EXPECT_EQ(1, doc->RemoveText(1, 5));
    EXPECT_EQ("ay", Text());
    EXPECT_EQ(0, doc->GetTextAt(0)[2]);
}

// Text copied from the document itself, as a duplicated line is, moves while it is inserted.
TEST_F(DocumentTest, InsertsBytesTakenFromItsOwnText)
{
    Reset("abc\rdef");
    EXPECT_EQ(1, doc->InsertText(doc->GetTextAt(1), 5, 2));
    EXPECT_EQ("abbc\rdec\rdef", Text());
    std::string text = std::string(32000, 'x') + "tail";
    Reset(text);
    // Needs a larger block: the source is freed with the old one.
    EXPECT_EQ(1, doc->InsertText(doc->GetTextAt(0), 32004, 0));
    EXPECT_EQ(text + text, Text());
    EXPECT_TRUE(LineTableMatchesText(doc));
}

TEST_F(DocumentTest, ACrAtTheStartPushesTheLineDown)
{
    Reset("hello");
    const int width = doc->GetLineWidth(0);
    EXPECT_EQ(1, InsertString(doc, "\r", 0));
    EXPECT_EQ(2, doc->GetLineCount());
    EXPECT_EQ(0, doc->GetLineWidth(0));
    EXPECT_EQ(width, doc->GetLineWidth(1));
    EXPECT_EQ(1, doc->GetWidestIndex());
    EXPECT_EQ(width, doc->GetWidestWidth());
    EXPECT_EQ(doc->GetTextAt(1), doc->GetWidestLineText());
}

TEST_F(DocumentTest, LineBreaksAboveAndBelowMoveTheWidestLine)
{
    Reset("a\rwidest line\rbb");
    ASSERT_EQ(1, doc->GetWidestIndex());
    EXPECT_EQ(1, InsertString(doc, "x\r\ry", 1));
    EXPECT_EQ(3, doc->GetWidestIndex()) << "two breaks above";
    EXPECT_TRUE(LineTableMatchesText(doc));
    EXPECT_EQ(1, InsertString(doc, "\rc\r", doc->GetTextLength()));
    EXPECT_EQ(3, doc->GetWidestIndex()) << "breaks below";
    EXPECT_TRUE(LineTableMatchesText(doc));
    EXPECT_EQ(1, doc->RemoveText(1, 4));
    EXPECT_EQ("a\rwidest line\rbb\rc\r", Text());
    EXPECT_EQ(1, doc->GetWidestIndex()) << "two breaks removed above";
    EXPECT_TRUE(LineTableMatchesText(doc));
    EXPECT_EQ(1, doc->RemoveText(16, 3));
    EXPECT_EQ(1, doc->GetWidestIndex()) << "breaks removed below";
    EXPECT_TRUE(LineTableMatchesText(doc));

    EXPECT_EQ(1, InsertString(doc, "a much wider line than all", 1));
    EXPECT_EQ(0, doc->GetWidestIndex()) << "a line above grew past the widest";
    EXPECT_TRUE(LineTableMatchesText(doc));
}

TEST_F(DocumentTest, LineBreaksInTheWidestLine)
{
    Reset("xxxx\rxxxxxxxx\rxxxxxx");
    ASSERT_EQ(1, doc->GetWidestIndex());
    // Split so that no piece is as wide as the old widest line: the widest is found again
    // among all lines, the new last one included.
    EXPECT_EQ(1, InsertString(doc, "\r", 9));
    EXPECT_EQ("xxxx\rxxxx\rxxxx\rxxxxxx", Text());
    EXPECT_EQ(3, doc->GetWidestIndex());
    EXPECT_TRUE(LineTableMatchesText(doc));

    // A piece as wide as the old widest line keeps it, on the later line.
    Reset("xx\rxxxxxx\rx");
    EXPECT_EQ(1, InsertString(doc, "yy\r", 3));
    EXPECT_EQ("xx\ryy\rxxxxxx\rx", Text());
    EXPECT_EQ(2, doc->GetWidestIndex());
    EXPECT_TRUE(LineTableMatchesText(doc));

    // Splitting the widest line that is the last line.
    Reset("xx\rxxxxxx");
    EXPECT_EQ(1, InsertString(doc, "\r\r", 6));
    EXPECT_EQ("xx\rxxx\r\rxxx", Text());
    EXPECT_EQ(1, doc->GetWidestIndex());
    EXPECT_TRUE(LineTableMatchesText(doc));
}

TEST_F(DocumentTest, ShorteningTheWidestLineFindsTheNextWidest)
{
    Reset("xxx\rxxxxxx\rxxxx\rxxxx");
    ASSERT_EQ(1, doc->GetWidestIndex());
    EXPECT_EQ(1, doc->RemoveText(4, 3));
    EXPECT_EQ(2, doc->GetWidestIndex()) << "the first of two equal lines";
    EXPECT_TRUE(LineTableMatchesText(doc));

    // Removing the widest line with everything after it: nothing deleted may stay widest.
    Reset("a\rb\rxxxxxxxx");
    EXPECT_EQ(1, doc->RemoveText(1, 11));
    EXPECT_EQ("a", Text());
    EXPECT_EQ(0, doc->GetWidestIndex());
    EXPECT_TRUE(LineTableMatchesText(doc));

    Reset("\r\rxxxxxxxx\r\r");
    EXPECT_EQ(1, doc->RemoveText(2, 8));
    EXPECT_EQ(0, doc->GetWidestWidth()) << "all lines empty";
    EXPECT_EQ(0, doc->GetWidestIndex());
    EXPECT_TRUE(LineTableMatchesText(doc));
}

TEST_F(DocumentTest, AnEqualLineDoesNotDisplaceTheWidest)
{
    Reset("abc\rab\rabc");
    EXPECT_EQ(2, doc->GetWidestIndex()) << "lines measured on insertion: the later one";
    doc->RemeasureAllLines();
    EXPECT_EQ(0, doc->GetWidestIndex()) << "a full rescan takes the first";
    EXPECT_EQ(1, InsertString(doc, "c", 6));
    EXPECT_EQ(0, doc->GetWidestIndex()) << "line 1 only reached the width of line 0";
    EXPECT_TRUE(LineTableMatchesText(doc));
    EXPECT_EQ(1, doc->RemoveText(3, 1));
    EXPECT_EQ("abcabc\rabc", Text());
    EXPECT_EQ(0, doc->GetWidestIndex());
    EXPECT_TRUE(LineTableMatchesText(doc));
}

TEST_F(DocumentTest, TheLineTableGrowsInStepsOf500)
{
    Reset("start");
    EXPECT_EQ(1, InsertString(doc, std::string(499, '\r'), 5));
    EXPECT_EQ(500, doc->GetLineCount());
    EXPECT_EQ(500, doc->m_nTableCapacity);
    EXPECT_EQ(1, InsertString(doc, "\rmiddle\r", 300));
    EXPECT_EQ(502, doc->GetLineCount());
    EXPECT_EQ(1000, doc->m_nTableCapacity);
    EXPECT_TRUE(LineTableMatchesText(doc));
    EXPECT_EQ(1, doc->RemoveText(0, doc->GetTextLength()));
    EXPECT_EQ(1000, doc->m_nTableCapacity) << "the table never shrinks";
    EXPECT_TRUE(LineTableMatchesText(doc));
}

TEST_F(DocumentTest, TheBlockGrowsOnlyPastItsSize)
{
    Reset("");
    HGLOBAL block = doc->m_hBuffer;
    // length + count + 2 = 32768: the text and its NUL fill the block exactly.
    std::string text = std::string(99, 'a') + "\r" + std::string(32666, 'a');
    EXPECT_EQ(1, InsertString(doc, text, 0));
    EXPECT_EQ(block, doc->m_hBuffer);
    EXPECT_EQ(32768u, GlobalSize(doc->m_hBuffer));

    EXPECT_EQ(1, InsertString(doc, "\rb", 50));
    EXPECT_NE(block, doc->m_hBuffer);
    EXPECT_EQ(65536u, GlobalSize(doc->m_hBuffer));
    EXPECT_EQ(0, doc->GetTextAt(0)[-1]) << "the guard byte after the move";
    EXPECT_EQ(0, doc->GetTextAt(0)[doc->GetTextLength()]);
    EXPECT_EQ(text.insert(50, "\rb"), Text());
    EXPECT_TRUE(LineTableMatchesText(doc));

    // Far past the size: one step to the needed size rounded up.
    EXPECT_EQ(1, InsertString(doc, std::string(100000, 'c'), 0));
    EXPECT_EQ(RoundUp(32768 + 100000 + 2, 32768), GlobalSize(doc->m_hBuffer));
    EXPECT_EQ(0, doc->GetTextAt(0)[-1]);
    EXPECT_EQ(1, doc->RemoveText(0, doc->GetTextLength()));
    EXPECT_EQ(163840u, GlobalSize(doc->m_hBuffer)) << "the block never shrinks";
}

TEST_F(DocumentTest, ReportsVisibleTextAndTheWidestLine)
{
    Reset(" \t\r\r  ");
    EXPECT_EQ(0, doc->HasVisibleText());
    Reset("ab\r  \xe9\r");
    EXPECT_EQ(1, doc->HasVisibleText());
    Reset("a\rbbbbbbbb\rc");
    EXPECT_EQ(doc->GetTextAt(2), doc->GetWidestLineText());
}

TEST_F(DocumentTest, ANewFontRemeasuresEveryLine)
{
    Reset("iiii\rWWW\r\t\tx\r\xe9\xe9");
    const int before = doc->GetWidestWidth();
    SetTestFont(doc, "DejaVu Sans", 32);
    EXPECT_GT(doc->GetWidestWidth(), before);
    EXPECT_TRUE(LineTableMatchesText(doc));
    SetTestFont(doc, "Liberation Sans", 12);
    EXPECT_TRUE(LineTableMatchesText(doc));
}

// An insertion whose k-th allocation fails is refused whole and reported, and leaves the
// document usable: the text block, its copy of bytes from the text itself, the line table.
TEST_F(DocumentTest, AFailedGrowthChangesNothing)
{
    Reset("abc\rdef");
    // Larger than the first block and with more breaks than the first table holds.
    const std::string big = std::string(40000, 'x') + std::string(600, '\r');
    struct Case {
        bool fromOwnText;
        int k;
    } cases[] = {{false, 1}, {false, 2}, {true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "own text " << c.fromOwnText << ", call " << c.k);
        const std::string before = DocumentText(doc);
        const HGLOBAL block = doc->m_hBuffer;
        const int* table = doc->m_pLineWidths;
        const int capacity = doc->m_nTableCapacity;
        const int modified = doc->IsModified();
        {
            DialogWatcher watcher;
            FailNthCall(FAIL_THIS_THREAD, c.k);
            EXPECT_EQ(0, c.fromOwnText ? doc->InsertText(doc->GetTextAt(0), 3, 0)
                                       : InsertString(doc, big, 3));
            FailNthCall(FAIL_THIS_THREAD, 0);
            ASSERT_EQ(1u, watcher.Count());
            EXPECT_EQ("GlobalRealloc() failed", watcher.Seen()[0].caption);
        }
        EXPECT_EQ(before, DocumentText(doc));
        EXPECT_EQ(block, doc->m_hBuffer);
        EXPECT_EQ(table, doc->m_pLineWidths);
        EXPECT_EQ(capacity, doc->m_nTableCapacity);
        EXPECT_EQ(modified, doc->IsModified());
        EXPECT_TRUE(LineTableMatchesText(doc));
    }
    EXPECT_EQ(1, InsertString(doc, big, 3));
    EXPECT_EQ(602, doc->GetLineCount());
    EXPECT_TRUE(LineTableMatchesText(doc));
}
