#include <gtest/gtest.h>

#include "document/TextDocument.h"
#include "support/DialogWatcher.h"
#include "support/TestSupport.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/FontInfo.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"
#include "view/WordMotion.h"

static HWND W(CEditDisplay* v)
{
    return v->m_hWnd;
}

TEST(Caret, UpAndDownKeepTheRememberedColumnThroughAShortLine)
{
    ViewHarness h("0123456789\rabc\r0123456789");
    CEditDisplay* v = h.View();
    ASSERT_TRUE(v->MoveCaret(22));
    SendKey(W(v), VK_UP);
    EXPECT_EQ(14, v->m_nIndex) << "column 3 of the short line";
    SendKey(W(v), VK_UP);
    EXPECT_EQ(7, v->m_nIndex) << "back at column 7";
    SendKey(W(v), VK_UP);
    EXPECT_EQ(7, v->m_nIndex) << "Up on the first line stays";
    SendKey(W(v), VK_DOWN);
    SendKey(W(v), VK_DOWN);
    EXPECT_EQ(22, v->m_nIndex);
    SendKey(W(v), VK_DOWN);
    EXPECT_EQ(22, v->m_nIndex) << "Down on the last line stays";
    int row, column;
    v->CaretRowColumn(&row, &column);
    EXPECT_EQ(2, row);
    EXPECT_EQ(7, column);
}

TEST(Caret, ShiftExtendsAndAPlainArrowCollapses)
{
    ViewHarness h("0123456789\rabcdefghij");
    CEditDisplay* v = h.View();
    v->MoveCaret(5);
    for (int i = 0; i < 3; i++)
        SendKey(W(v), VK_RIGHT, true);
    EXPECT_EQ(5, v->m_pSelection->Start());
    EXPECT_EQ(8, v->m_pSelection->End());
    EXPECT_EQ(8, v->m_nIndex);
    SendKey(W(v), VK_LEFT);
    EXPECT_EQ(5, v->m_nIndex);
    EXPECT_TRUE(v->m_pSelection->IsEmpty());

    // Right collapses to the larger end; Shift+Left from there grows leftwards.
    SendKey(W(v), VK_LEFT, true);
    SendKey(W(v), VK_LEFT, true);
    EXPECT_EQ(3, v->m_pSelection->Start());
    SendKey(W(v), VK_RIGHT);
    EXPECT_EQ(5, v->m_nIndex);
    EXPECT_TRUE(v->m_pSelection->IsEmpty());

    // Shift+Down selects to the same column of the next line.
    SendKey(W(v), VK_DOWN, true);
    EXPECT_EQ(5, v->m_pSelection->Start());
    EXPECT_EQ(16, v->m_pSelection->End());

    // A selection shrunk back to nothing starts again at the caret, not at its old anchor.
    SendKey(W(v), VK_UP);
    v->MoveCaret(5);
    SendKey(W(v), VK_RIGHT, true);
    SendKey(W(v), VK_LEFT, true);
    SendKey(W(v), VK_RIGHT);
    SendKey(W(v), VK_RIGHT);
    SendKey(W(v), VK_RIGHT, true);
    EXPECT_EQ(7, v->m_pSelection->Start());
    EXPECT_EQ(8, v->m_pSelection->End());
}

TEST(Caret, HomeAndEndClearTheSelectionEvenWithShift)
{
    ViewHarness h("first line\rsecond line");
    CEditDisplay* v = h.View();
    v->MoveCaret(14);
    SendKey(W(v), VK_RIGHT, true);
    SendKey(W(v), VK_RIGHT, true);
    ASSERT_FALSE(v->m_pSelection->IsEmpty());
    SendKey(W(v), VK_HOME, true);
    EXPECT_TRUE(v->m_pSelection->IsEmpty());
    EXPECT_EQ(11, v->m_nIndex);
    SendKey(W(v), VK_RIGHT, true);
    SendKey(W(v), VK_END, true);
    EXPECT_TRUE(v->m_pSelection->IsEmpty());
    EXPECT_EQ(22, v->m_nIndex);
    SendKey(W(v), VK_RIGHT);
    EXPECT_EQ(22, v->m_nIndex) << "Right at the end of the text stays";
}

TEST(WordMotion, FollowsCharacterClasses)
{
    const char buffer[] = "\0xy ab  \rnext\0";
    const char* text = buffer + 1;
    EXPECT_EQ(3, WordLeftIndex(text, 7)) << "over the blanks to the word before";
    EXPECT_EQ(3, WordRightIndex(text, 0)) << "past the word and its blank";
    EXPECT_EQ(7, WordRightIndex(text, 3));
    EXPECT_EQ(8, WordRightIndex(text, 7)) << "a line break is one step";
    EXPECT_EQ(8, WordLeftIndex(text, 12));
    EXPECT_EQ(0, WordLeftIndex(text, 0));
    EXPECT_EQ(12, WordRightIndex(text, 12));

    const char lines[] = "\0abc\r\r\rdef\0";
    EXPECT_EQ(3, WordLeftIndex(lines + 1, 6)) << "empty lines are one run";
    const char punct[] = "\0a+-b\0";
    EXPECT_EQ(1, WordLeftIndex(punct + 1, 3));
    EXPECT_EQ(3, WordRightIndex(punct + 1, 1));
    const char leading[] = "\0x\r  y\0";
    EXPECT_EQ(2, WordLeftIndex(leading + 1, 4)) << "blanks after a line break stop there";
}

TEST(WordMotion, CtrlArrowsMoveTheCaretByWord)
{
    ViewHarness h("xy ab  \rnext");
    CEditDisplay* v = h.View();
    v->MoveCaret(7);
    SendKey(W(v), VK_LEFT, false, true);
    EXPECT_EQ(3, v->m_nIndex);
    SendKey(W(v), VK_RIGHT, false, true);
    EXPECT_EQ(7, v->m_nIndex);
    SendKey(W(v), VK_RIGHT, false, true);
    EXPECT_EQ(8, v->m_nIndex);
    SendKey(W(v), VK_LEFT, true, true);
    EXPECT_EQ(7, v->m_nIndex);
    EXPECT_EQ(1, v->m_pSelection->m_nLength) << "Shift with Ctrl selects by word";
}

TEST(Caret, AnIndexPastTheEndIsRefusedWithAMessage)
{
    ViewHarness h("abc");
    CEditDisplay* v = h.View();
    v->MoveCaret(1);
    {
        DialogWatcher watcher(IDOK);
        EXPECT_EQ(0, v->SetIndex(4));
        EXPECT_EQ(0, v->MoveCaret(-1));
        std::vector<SeenDialog> seen = watcher.Seen();
        ASSERT_EQ(2u, seen.size());
        EXPECT_EQ("Invalid index given", seen[0].text);
        EXPECT_EQ("CEditDisplay::SetIndex(INT index)", seen[0].caption);
    }
    EXPECT_EQ(1, v->m_nIndex) << "the caret stays";
    EXPECT_EQ(1, v->SetIndex(3)) << "the text length itself is a valid index";
}

TEST(Scrolling, MouseWheelTurnsWholeNotchesIntoThreeLinesEach)
{
    ViewHarness h(NumberedLines(100));
    CEditDisplay* v = h.View();
    SendMessageA(W(v), WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(0, v->GetVertPos()) << "half a notch scrolls nothing";
    SendMessageA(W(v), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
    EXPECT_EQ(6, v->GetVertPos());
    EXPECT_EQ("line 6", TopLineText(v));
    SendMessageA(W(v), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(3, v->GetVertPos());
    EXPECT_EQ("line 3", TopLineText(v));
    SendMessageA(W(v), WM_MOUSEWHEEL, MAKEWPARAM(0, 1200), 0);
    EXPECT_EQ(0, v->GetVertPos());
    EXPECT_EQ(v->m_pDocument->GetTextAt(0), v->m_pTopLine);
}

TEST(Scrolling, KeysPageAndCtrlScrollWithoutMovingTheIndex)
{
    ViewHarness h(NumberedLines(100));
    CEditDisplay* v = h.View();
    v->MoveCaret(0);
    SendKey(W(v), VK_DOWN, false, true);
    EXPECT_EQ(1, v->GetVertPos());
    EXPECT_EQ(0, v->m_nIndex);
    SendKey(W(v), VK_NEXT);
    int page = static_cast<int>(v->m_pScrollBars->m_vert.nPage);
    EXPECT_EQ(1 + page, v->GetVertPos());
    EXPECT_EQ("line " + std::to_string(1 + page), TopLineText(v));
    SendKey(W(v), VK_UP, false, true);
    EXPECT_EQ(page, v->GetVertPos());
    EXPECT_EQ(0, v->m_nIndex);
    // Moving the caret brings it back into view.
    SendKey(W(v), VK_RIGHT);
    EXPECT_EQ(0, v->GetVertPos());
    EXPECT_EQ(1, v->m_nIndex);
}

TEST(Scrolling, TheCaretIsKeptInViewWhenItMovesBelowTheWindow)
{
    ViewHarness h(NumberedLines(100));
    CEditDisplay* v = h.View();
    RECT client;
    GetClientRect(W(v), &client);
    for (int i = 0; i < 40; i++)
        SendKey(W(v), VK_DOWN);
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_GT(v->GetVertPos(), 0);
    EXPECT_GE(caret.y, 0);
    EXPECT_LE(caret.y + v->m_nLineHeight, client.bottom) << "the caret line shows whole";
    EXPECT_EQ(40 * v->m_nLineHeight - v->GetVertPos() * v->m_nLineHeight, caret.y);
}

TEST(Scrolling, EndOnAWidestLineWithALeftOverhangShowsTheCaret)
{
    ViewHarness h("");
    SetTestFont(h.m_pDocument, "DejaVu Sans", 16, 1);
    const ABC* abc = h.m_pDocument->GetFontInfo()->GetABCTable();
    ASSERT_NE(nullptr, abc);
    char first = 0;
    for (int c = 192; c < 256 && !first; c++)
        if (abc[c].abcA < 0)
            first = static_cast<char>(c);
    ASSERT_NE(0, first) << "no letter with a left overhang";
    CEditDisplay* v = h.View();
    RECT client;
    GetClientRect(W(v), &client);
    for (int n = 100; n < 100 + 2 * v->m_nCharWidth; n++) {
        std::string line = first + std::string(n, 'n');
        h.m_pDocument->RemoveText(0, h.m_pDocument->GetTextLength());
        InsertString(h.m_pDocument, line + "\rshort", 0);
        v->MoveCaret(0);
        SendKey(W(v), VK_END);
        ASSERT_EQ(n + 1, v->m_nIndex);
        POINT caret;
        GetCaretPos(&caret);
        ASSERT_GE(caret.x, 0) << n;
        ASSERT_LT(caret.x + 1, client.right) << "the caret is inside the window at " << n;
    }
}

TEST(Caret, APointHalfWayThroughACharacterGoesBeforeIt)
{
    // A character of even width, so that its middle is a whole pixel.
    ViewHarness h("");
    const int* widths = h.m_pDocument->GetFontInfo()->GetWidthTable();
    char c = 'a';
    while (c < 'z' && (widths[static_cast<unsigned char>(c)] % 2 || widths[static_cast<unsigned char>(c)] < 4))
        c++;
    std::string line = std::string("x") + c + "x\r" + std::string("x") + c + "x";
    h.m_pDocument->InsertText(line.data(), static_cast<int>(line.size()), 0);
    CEditDisplay* v = h.View();
    int left = 10 + widths['x'], w = widths[static_cast<unsigned char>(c)];
    POINT middle = {left + w / 2, 1};
    v->CaretFromPoint(middle);
    EXPECT_EQ(1, v->m_nIndex);
    POINT past = {left + w / 2 + 1, 1};
    EXPECT_EQ(1, v->CaretFromPoint(past));
    EXPECT_EQ(2, v->m_nIndex);
    POINT below = {1000, 5 * v->m_nLineHeight};
    v->CaretFromPoint(below);
    EXPECT_EQ(static_cast<int>(line.size()), v->m_nIndex) << "beyond the text: the last line's end";

    // Down from the middle of the first line's character keeps to its left as well.
    v->MoveCaret(1);
    v->m_ptDesired.x = left + w / 2;
    SendKey(v->m_hWnd, VK_DOWN);
    EXPECT_EQ(5, v->m_nIndex);
}
