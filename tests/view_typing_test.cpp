#include <gtest/gtest.h>

#include <string>

#include "document/TextDocument.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"

static void Type(CEditDisplay* v, const std::string& text)
{
    for (char c : text)
        SendChar(v->m_hWnd, static_cast<unsigned char>(c));
}

TEST(Typing, CharactersEnterAndTabGoInAtTheCaret)
{
    ViewHarness h("");
    CEditDisplay* v = h.View();
    Type(v, "ab\rc\td");
    EXPECT_EQ("ab\rc\td", h.Text());
    EXPECT_EQ(6, v->m_nIndex);
    int row, column;
    v->CaretRowColumn(&row, &column);
    EXPECT_EQ(1, row);
    EXPECT_EQ(3, column);
    EXPECT_EQ(v->m_ptCaret.x, v->m_ptDesired.x) << "typing sets the column Up and Down keep";
    EXPECT_EQ(1, h.ToolbarEnabled(40022));
    EXPECT_EQ(0, h.ToolbarEnabled(40023));
}

TEST(Typing, BackspaceRemovesTheCharacterBeforeOrTheSelection)
{
    ViewHarness h("hello world");
    CEditDisplay* v = h.View();
    v->MoveCaret(5);
    SendChar(v->m_hWnd, 8);
    EXPECT_EQ("hell world", h.Text());
    EXPECT_EQ(4, v->m_nIndex);
    SendKey(v->m_hWnd, VK_RIGHT, true);
    SendKey(v->m_hWnd, VK_RIGHT, true);
    SendChar(v->m_hWnd, 8);
    EXPECT_EQ("hellorld", h.Text());
    EXPECT_TRUE(v->m_pSelection->IsEmpty());
    v->MoveCaret(0);
    SendChar(v->m_hWnd, 8);
    EXPECT_EQ("hellorld", h.Text()) << "nothing before the start";
}

TEST(Typing, TypingOverASelectionReplacesItInOneUndoStep)
{
    ViewHarness h("one two three");
    CEditDisplay* v = h.View();
    v->MoveCaret(4);
    for (int i = 0; i < 3; i++)
        SendKey(v->m_hWnd, VK_RIGHT, true);
    SendChar(v->m_hWnd, '2');
    EXPECT_EQ("one 2 three", h.Text());
    EXPECT_EQ(5, v->m_nIndex);
    EXPECT_TRUE(v->m_pSelection->IsEmpty());
    SendMessageA(v->m_hWnd, WM_COMMAND, 40022, 0);
    EXPECT_EQ("one two three", h.Text());
    SendMessageA(v->m_hWnd, WM_COMMAND, 40023, 0);
    EXPECT_EQ("one 2 three", h.Text());
}

TEST(Typing, EscapeAndCtrlEnterBeepAndInsertNothing)
{
    ViewHarness h("abc");
    CEditDisplay* v = h.View();
    v->MoveCaret(1);
    h.m_pDocument->m_bModified = 0;
    SendChar(v->m_hWnd, 27);
    SendChar(v->m_hWnd, 10, true);
    EXPECT_EQ("abc", h.Text());
    EXPECT_EQ(0, h.m_pDocument->IsModified());
    EXPECT_EQ(0, h.m_pDocument->CanUndo());
}

TEST(Typing, CtrlAloneTypesNothingButAltGrTypesItsCharacter)
{
    ViewHarness h("");
    CEditDisplay* v = h.View();
    SendChar(v->m_hWnd, 1, true);
    SendChar(v->m_hWnd, 'x', true);
    EXPECT_EQ("", h.Text()) << "Ctrl with a letter is a command, not text";
    // AltGr arrives as Ctrl and Alt together.
    SendChar(v->m_hWnd, '@', true, true);
    SendChar(v->m_hWnd, '{', true, true);
    SendChar(v->m_hWnd, 0x80, true, true);
    EXPECT_EQ("@{\x80", h.Text());
}

TEST(Typing, OnlyTheViewTypedInMovesItsCaret)
{
    ViewHarness h("first\rsecond");
    CEditDisplay* a = h.View();
    CEditDisplay* b = h.AddView();
    b->MoveCaret(9);
    SetFocus(a->m_hWnd);
    a->MoveCaret(0);
    Type(a, "xy");
    EXPECT_EQ(2, a->m_nIndex);
    EXPECT_EQ(9, b->m_nIndex);
    EXPECT_EQ("xyfirst\rsecond", h.Text());
}
