#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "document/EditAction.h"
#include "document/TextDocument.h"
#include "document/SavedString.h"
#include "support/TestSupport.h"
#include "support/TestFiles.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"

namespace {

// After one recorded edit that turned before into after: undo gives before back, redo
// after, each with an exact line table, and no other step was recorded.
void ExpectOneStep(CTextDocument& doc, const std::string& before, const std::string& after)
{
    EXPECT_EQ(after, DocumentText(&doc));
    EXPECT_TRUE(doc.CanUndo());
    EXPECT_EQ(0, doc.Undo());
    EXPECT_EQ(before, DocumentText(&doc));
    EXPECT_TRUE(LineTableMatchesText(&doc));
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(0, doc.Redo());
    EXPECT_EQ(after, DocumentText(&doc));
    EXPECT_TRUE(LineTableMatchesText(&doc));
    EXPECT_FALSE(doc.CanRedo());
}

struct History : testing::Test {
    CTextDocument doc{nullptr, nullptr, nullptr};
    CTextDocument other{nullptr, nullptr, nullptr};
};

TEST_F(History, KeepsOnlyTheLast25Edits)
{
    std::string full;
    for (int i = 0; i < 26; i++) {
        char c = static_cast<char>('a' + i);
        ASSERT_EQ(1, doc.InsertWithUndo(i, &c, 1));
        full += c;
    }
    for (int i = 0; i < 24; i++)
        EXPECT_EQ(1, doc.Undo()) << "undo " << i + 1;
    EXPECT_EQ(0, doc.Undo()) << "the 25th undo leaves nothing to undo";
    EXPECT_EQ("a", DocumentText(&doc));
    EXPECT_EQ(0, doc.Undo());
    EXPECT_EQ("a", DocumentText(&doc));

    for (int i = 0; i < 24; i++)
        EXPECT_EQ(1, doc.Redo()) << "redo " << i + 1;
    EXPECT_EQ(0, doc.Redo());
    EXPECT_EQ(full, DocumentText(&doc));
    EXPECT_EQ(0, doc.Redo());
    EXPECT_EQ(full, DocumentText(&doc));
}

TEST_F(History, NewEditDiscardsWhatCouldBeRedone)
{
    doc.InsertWithUndo(0, "one", 3);
    doc.InsertWithUndo(3, " two", 4);
    doc.InsertWithUndo(7, " three", 6);
    doc.Undo();
    doc.Undo();
    ASSERT_TRUE(doc.CanRedo());
    ASSERT_EQ(1, doc.InsertWithUndo(0, ">", 1));
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(0, doc.Redo());
    EXPECT_EQ(">one", DocumentText(&doc));
    EXPECT_EQ(1, doc.Undo());
    EXPECT_EQ("one", DocumentText(&doc));
}

TEST_F(History, InsertAndRemove)
{
    SetText(doc, "first\rsecond line\rthird");
    ASSERT_EQ(1, doc.InsertWithUndo(9, "XY\r\tlonger and longer text", 26));
    ExpectOneStep(doc, "first\rsecond line\rthird",
                   "first\rsecXY\r\tlonger and longer textond line\rthird");

    SetText(other, "first\rsecond line\rthird");
    ASSERT_EQ(1, other.RemoveWithUndo(3, 11));
    ExpectOneStep(other, "first\rsecond line\rthird", "firine\rthird");
}

TEST_F(History, ReplaceLongerShorterAndEmpty)
{
    struct Case {
        int index, oldCount;
        const char* bytes;
        const char* after;
    } cases[] = {
        {2, 3, "wider\rtext", "abwider\rtextf\rgh"},
        {1, 6, "x", "axgh"},
        {3, 0, "ins", "abcinsdef\rgh"},
        {2, 5, "", "abgh"},
    };
    for (const Case& c : cases) {
        CTextDocument d(nullptr, nullptr, nullptr);
        SetText(d, "abcdef\rgh");
        int length = static_cast<int>(strlen(c.bytes));
        ASSERT_EQ(1, d.ReplaceWithUndo(c.index, c.oldCount, c.bytes, length)) << c.after;
        ExpectOneStep(d, "abcdef\rgh", c.after);
    }
}

TEST_F(History, MoveToLaterAndEarlierPlaces)
{
    const std::string text = "0123456789ABCDEF";
    SetText(doc, text);
    // The bytes land before what stood at the target: 'A' was at 10.
    ASSERT_EQ(1, doc.MoveWithUndo(2, 10, 3));
    ExpectOneStep(doc, text, "0156789234ABCDEF");

    SetText(other, "0123\r456789ABCDEF");
    ASSERT_EQ(1, other.MoveWithUndo(11, 2, 3));
    ExpectOneStep(other, "0123\r456789ABCDEF", "01ABC23\r456789DEF");

    // The end of the text is a place too.
    ASSERT_EQ(1, other.MoveWithUndo(0, 17, 2));
    EXPECT_EQ("ABC23\r456789DEF01", DocumentText(&other));
}

TEST_F(History, MoveRefusesTargetsWithoutAPlace)
{
    SetText(doc, "0123456789");
    EXPECT_EQ(0, doc.MoveWithUndo(2, 3, 3)) << "inside the moved bytes";
    EXPECT_EQ(0, doc.MoveWithUndo(2, 4, 3)) << "inside the moved bytes";
    EXPECT_EQ(0, doc.MoveWithUndo(2, 11, 3)) << "past the end";
    EXPECT_EQ(0, doc.MoveWithUndo(2, -1, 3));
    EXPECT_EQ(0, doc.MoveWithUndo(8, 0, 3)) << "bytes past the end";
    EXPECT_EQ(0, doc.MoveWithUndo(-1, 5, 3));
    EXPECT_EQ(0, doc.MoveWithUndo(2, 6, 0));
    EXPECT_EQ("0123456789", DocumentText(&doc));
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(History, ReplaceAllRestoresEachSpelling)
{
    const std::string text = "abc-------ABC-------aBc\r";
    SetText(doc, text);
    const int at[] = {0, 10, 20};
    ASSERT_EQ(1, doc.ReplaceAllWithUndo(at, 3, 3, "VW\rYZ", 5, 0));
    EXPECT_EQ(0, DocumentText(&doc).find("VW\rYZ"));
    EXPECT_EQ(12, DocumentText(&doc).find("VW\rYZ", 1));
    EXPECT_EQ(24, DocumentText(&doc).find("VW\rYZ", 13));
    ExpectOneStep(doc, text, "VW\rYZ-------VW\rYZ-------VW\rYZ\r");
}

TEST_F(History, ReplaceAllShorterAndEmpty)
{
    const std::string text = "x\rab\ryab\rzAB";
    const int at[] = {2, 6, 10};
    SetText(doc, text);
    ASSERT_EQ(1, doc.ReplaceAllWithUndo(at, 3, 2, "-", 1, 0));
    ExpectOneStep(doc, text, "x\r-\ry-\rz-");

    SetText(other, text);
    ASSERT_EQ(1, other.ReplaceAllWithUndo(at, 3, 2, "", 0, 0));
    ExpectOneStep(other, text, "x\r\ry\rz");
}

TEST_F(History, ReplaceAllWithMatchCase)
{
    SetText(doc, "one two one two one");
    const int at[] = {0, 8, 16};
    ASSERT_EQ(1, doc.ReplaceAllWithUndo(at, 3, 3, "1", 1, 1));
    ExpectOneStep(doc, "one two one two one", "1 two 1 two 1");
}

TEST_F(History, ReplaceAllRefusesOccurrencesThatCannotBeReplayed)
{
    SetText(doc, "aaaaaaaaaa");
    const int overlapping[] = {0, 2};
    const int descending[] = {5, 0};
    const int pastEnd[] = {0, 8};
    const int negative[] = {-1, 4};
    EXPECT_EQ(0, doc.ReplaceAllWithUndo(overlapping, 2, 3, "b", 1, 1));
    EXPECT_EQ(0, doc.ReplaceAllWithUndo(descending, 2, 3, "b", 1, 1));
    EXPECT_EQ(0, doc.ReplaceAllWithUndo(pastEnd, 2, 3, "b", 1, 1));
    EXPECT_EQ(0, doc.ReplaceAllWithUndo(negative, 2, 3, "b", 1, 1));
    EXPECT_EQ(0, doc.ReplaceAllWithUndo(pastEnd, 1, 0, "b", 1, 1)) << "empty pattern";
    EXPECT_EQ(0, doc.ReplaceAllWithUndo(pastEnd, 1, 3, "b\0c", 3, 1)) << "NUL in the new text";
    EXPECT_EQ(0, doc.ReplaceAllWithUndo(pastEnd, 0, 3, "b", 1, 1));
    EXPECT_EQ("aaaaaaaaaa", DocumentText(&doc));
    EXPECT_FALSE(doc.CanUndo());
}

// A step recorded for an edit that did not happen would, when undone, remove or
// restore bytes that were never part of it.
TEST_F(History, RejectedEditsRecordNothing)
{
    SetText(doc, "keep this text");
    ASSERT_EQ(1, doc.InsertWithUndo(0, ">", 1));
    ASSERT_EQ(0, doc.Undo());
    ASSERT_TRUE(doc.CanRedo());

    EXPECT_EQ(0, doc.InsertWithUndo(0, "a\0b", 3));
    EXPECT_EQ(0, doc.InsertWithUndo(0, "\0ab", 3));
    EXPECT_EQ(0, doc.InsertWithUndo(0, "", 0));
    EXPECT_EQ(0, doc.InsertWithUndo(15, "x", 1));
    EXPECT_EQ(0, doc.InsertWithUndo(-1, "x", 1));
    EXPECT_EQ(0, doc.RemoveWithUndo(10, 5));
    EXPECT_EQ(0, doc.RemoveWithUndo(-1, 2));
    EXPECT_EQ(0, doc.RemoveWithUndo(3, 0));
    EXPECT_EQ(0, doc.ReplaceWithUndo(12, 3, "x", 1));
    EXPECT_EQ(0, doc.ReplaceWithUndo(-1, 1, "x", 1));
    EXPECT_EQ(0, doc.ReplaceWithUndo(0, 4, "x\0", 2));
    EXPECT_EQ(0, doc.ReplaceWithUndo(4, 0, "", 0));

    EXPECT_EQ("keep this text", DocumentText(&doc));
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_TRUE(doc.CanRedo()) << "a rejected edit keeps what can be redone";
    doc.Redo();
    EXPECT_EQ(">keep this text", DocumentText(&doc));
}

TEST(HistoryFile, SavingKeepsTheStepsAndUndoOrRedoMarksTheDocumentModified)
{
    StoreSandbox sandbox;
    std::string path = sandbox.Folder().File("history.txt");
    WriteBytes(path, "one\r\ntwo");
    CTextDocument doc(nullptr, OpenForEditing(path), path.c_str());
    ASSERT_EQ("one\rtwo", DocumentText(&doc));

    ASSERT_EQ(1, doc.InsertWithUndo(3, " and a half", 11));
    EXPECT_EQ(1, doc.IsModified());
    ASSERT_EQ(1, doc.SaveDocument(0));
    EXPECT_EQ(0, doc.IsModified());
    EXPECT_EQ("one and a half\r\ntwo", ReadBytes(path));
    EXPECT_TRUE(doc.CanUndo()) << "saving keeps the history";

    doc.Undo();
    EXPECT_EQ(1, doc.IsModified()) << "back at the text on disk before is still a change";
    ASSERT_EQ(1, doc.SaveDocument(0));
    EXPECT_EQ("one\r\ntwo", ReadBytes(path));
    EXPECT_EQ(0, doc.Undo());
    EXPECT_EQ(0, doc.IsModified()) << "nothing to undo changes nothing";

    doc.Redo();
    EXPECT_EQ(1, doc.IsModified());
    ASSERT_EQ(1, doc.SaveDocument(0));
    EXPECT_EQ("one and a half\r\ntwo", ReadBytes(path));
    EXPECT_EQ(0, doc.Redo());
    EXPECT_EQ(0, doc.IsModified());
}

// Only a shortage of memory stops an edit half-way in use. The steps below stand for
// it with an insertion that the text refuses once the first half is done.
TEST_F(History, AnEditThatCannotBeFinishedLeavesTheTextAsItWas)
{
    const std::string text = "ab-AB-ab\rab";
    SetText(doc, text);

    CEditAction replace(EDIT_REPLACE);
    replace.m_pText = CopyBytes("b-A", 3);
    replace.m_nLength = 3;
    replace.m_nIndex = replace.m_nTarget = 1;
    replace.m_pSecondText = CopyBytes("x", 1);
    replace.m_nSecondLength = 1;
    replace.m_pSecondText[0] = 0;
    EXPECT_EQ(0, replace.Apply(&doc));
    EXPECT_EQ(text, DocumentText(&doc));

    CEditAction move(EDIT_MOVE);
    move.m_pText = CopyBytes("ab", 2);
    move.m_nLength = move.m_nSecondLength = 2;
    move.m_nTarget = 20;
    EXPECT_EQ(0, move.Apply(&doc));
    EXPECT_EQ(text, DocumentText(&doc));

    // The third occurrence cannot be replaced: the first two come back with their spelling.
    const int at[] = {0, 3, 6};
    CEditAction all(EDIT_REPLACE_ALL);
    all.m_nLength = 2;
    all.m_pSecondText = CopyBytes("long\r", 5);
    all.m_nSecondLength = 5;
    ASSERT_EQ(1, all.SetOccurrences(doc.GetTextAt(0), at, 3));
    all.m_pOccurrences[2].index = 40;
    EXPECT_EQ(0, all.Apply(&doc));
    EXPECT_EQ(text, DocumentText(&doc));
    EXPECT_TRUE(LineTableMatchesText(&doc));
}

// The toolbar's Cut button follows the selection of the view that changed last: its
// states during an undo show whether the selections were cleared before the text changed.
WNDPROC g_toolbarProc;
std::vector<int> g_cutStates;

LRESULT CALLBACK RecordCutStates(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TB_ENABLEBUTTON && wParam == 40007)
        g_cutStates.push_back(LOWORD(lParam));
    return CallWindowProcA(g_toolbarProc, window, message, wParam, lParam);
}

TEST(HistoryViews, UndoAndRedoClearSelectionsBeforeTheTextChanges)
{
    ViewHarness h("line 0\rline 1\rline 2\rline 3\r");
    CEditDisplay* views[] = {h.View(0), h.AddView()};
    CTextDocument* doc = h.m_pDocument;
    ASSERT_EQ(1, doc->RemoveWithUndo(0, 7));
    g_toolbarProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        h.m_hToolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordCutStates)));

    auto selectAll = [&]() {
        for (CEditDisplay* v : views) {
            v->m_pSelection->Clear();
            v->m_pSelection->Extend(2);
            v->m_pSelection->Extend(9);
        }
        g_cutStates.clear();
    };
    selectAll();
    doc->Undo();
    EXPECT_EQ("line 0\rline 1\rline 2\rline 3\r", DocumentText(doc));
    for (CEditDisplay* v : views)
        EXPECT_TRUE(v->m_pSelection->IsEmpty());
    ASSERT_FALSE(g_cutStates.empty());
    for (int state : g_cutStates)
        EXPECT_EQ(0, state) << "a view had a selection while the text changed";

    // Redo shifts the text under a kept selection just as undo does.
    selectAll();
    doc->Redo();
    EXPECT_EQ("line 1\rline 2\rline 3\r", DocumentText(doc));
    for (CEditDisplay* v : views)
        EXPECT_TRUE(v->m_pSelection->IsEmpty());
    ASSERT_FALSE(g_cutStates.empty());
    for (int state : g_cutStates)
        EXPECT_EQ(0, state) << "a view had a selection while the text changed";
    SetWindowLongPtrA(h.m_hToolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_toolbarProc));
}

TEST(HistoryViews, ViewsKeepTheirTopLineThroughUndoAndRedo)
{
    ViewHarness h(NumberedLines(40));
    CEditDisplay* view = h.AddView();
    CTextDocument* doc = h.m_pDocument;
    // The focused view follows the edit with its caret; the other keeps its place.
    SetFocus(h.View(0)->m_hWnd);
    view->m_pScrollBars->SetVertPos(20, 1);
    ASSERT_EQ("line 20", TopLineText(view));

    ASSERT_EQ(1, doc->RemoveWithUndo(0, 14));
    EXPECT_EQ("line 20", TopLineText(view));
    EXPECT_EQ(18, view->GetVertPos());
    doc->Undo();
    EXPECT_EQ("line 20", TopLineText(view));
    EXPECT_EQ(20, view->GetVertPos());
    EXPECT_EQ(doc->GetTextAt(view->m_nTopIndex), view->m_pTopLine);
    doc->Redo();
    EXPECT_EQ("line 20", TopLineText(view));
    EXPECT_EQ(18, view->GetVertPos());
}

}  // namespace
