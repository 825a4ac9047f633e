#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/FailureSeam.h"
#include "document/EditAction.h"
#include "document/EditHistory.h"
#include "document/FindInfo.h"
#include "document/SavedString.h"
#include "document/TextDocument.h"
#include "document/TextMatch.h"
#include "support/DialogWatcher.h"
#include "support/MouseInput.h"
#include "support/TestSupport.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"

static const int DOWN = FIND_DOWN;
static const int UP = 0;

// One view on a text with the focus, the caret at a given index; the messages it shows
// are answered and kept.
class Search : public ::testing::Test {
protected:
    void Open(const std::string& text, int caret = 0)
    {
        h.reset(new ViewHarness(text));
        view = h->View(0);
        SetFocus(view->m_hWnd);
        view->MoveCaret(caret);
        find = view->GetFindInfo();
    }
    std::string Selected() const
    {
        CSelection* s = view->m_pSelection;
        return std::to_string(s->Start()) + ".." + std::to_string(s->End());
    }
    std::vector<std::string> Messages()
    {
        std::vector<std::string> texts;
        for (const SeenDialog& seen : watcher.Seen())
            texts.push_back(seen.text);
        return texts;
    }
    std::unique_ptr<ViewHarness> h;
    CEditDisplay* view = nullptr;
    CFindInfo* find = nullptr;
    DialogWatcher watcher;
};

TEST_F(Search, DownFromNearTheEndStartsAtTheTopAndWrapsOnceRound)
{
    Open("ab cab xab", 9);
    find->FindNext(nullptr, "ab", DOWN);
    EXPECT_EQ("0..2", Selected()) << "9 + 2 passes the end: the scan starts at 0";
    EXPECT_EQ(2, view->GetIndex());
    find->FindNext(nullptr, "ab", DOWN);
    find->FindNext(nullptr, "ab", DOWN);
    EXPECT_EQ("8..10", Selected());
    EXPECT_TRUE(Messages().empty());
    find->FindNext(nullptr, "ab", DOWN);
    EXPECT_EQ("8..10", Selected()) << "back at the start: nothing changes";
    find->FindNext(nullptr, "ab", DOWN);
    EXPECT_EQ(std::vector<std::string>({FIND_FINAL_TEXT, FIND_FINAL_TEXT}), Messages());
}

TEST_F(Search, UpFromNearTheEndStartsAtTheLastPlaceThePatternFits)
{
    Open("ab cab xab", 10);
    find->FindNext(nullptr, "AB", UP);
    EXPECT_EQ("8..10", Selected());
    find->FindNext(nullptr, "AB", UP);
    EXPECT_EQ("4..6", Selected());
    find->FindNext(nullptr, "AB", UP | FIND_MATCHCASE);
    EXPECT_EQ(std::vector<std::string>({FIND_NOT_FOUND_TEXT}), Messages())
        << "new options restart the scan, and no upper case AB exists";
}

// Any move of the caret by a key or a click, a selection collapsing included, makes the
// next search start at the caret instead of going on after the last match.
TEST_F(Search, ACaretMovedByAKeyOrAClickRestartsTheScanThere)
{
    struct Case {
        UINT key; // 0: a click at index
        int index, options;
        const char* expected;
    };
    // Down the scan stands after 4..7 and would go on at 8; up it would go on at 4.
    const Case cases[] = {
        {VK_LEFT, 0, DOWN, "4..7"},   {VK_HOME, 0, DOWN, "0..3"}, {VK_UP, 0, DOWN, "4..7"},
        {VK_DOWN, 0, DOWN, "0..3"},   {0, 1, DOWN, "4..7"},       {VK_RIGHT, 0, UP, "8..11"},
        {VK_END, 0, UP, "12..15"},    {VK_DOWN, 0, UP, "8..11"},  {VK_UP, 0, UP, "0..3"},
        {0, 14, UP, "12..15"},
    };
    Open("one one\rone one");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + " index " + std::to_string(c.index) + " options " +
                     std::to_string(c.options));
        view->MoveCaret(c.options == DOWN ? 0 : 15);
        find->MarkDirty();
        find->FindNext(nullptr, "one", c.options);
        find->FindNext(nullptr, "one", c.options);
        if (c.key) {
            SendKey(view->m_hWnd, c.key);
        } else {
            POINT p;
            view->PointFromIndex(c.index, &p);
            p.y += view->GetLineHeight() / 2;
            SendMouse(view->m_hWnd, WM_LBUTTONDOWN, p, MK_LBUTTON);
            SendMouse(view->m_hWnd, WM_LBUTTONUP, p);
        }
        find->FindNext(nullptr, "one", c.options);
        EXPECT_EQ(c.expected, Selected());
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Search, WholeWordsEndAtEverythingButLettersAndDigits)
{
    Open("cat_ cat1 xcat cat");
    find->FindNext(nullptr, "cat", DOWN | FIND_WHOLEWORD);
    EXPECT_EQ("0..3", Selected()) << "at index 0, an underscore after it";
    find->FindNext(nullptr, "cat", DOWN | FIND_WHOLEWORD);
    EXPECT_EQ("15..18", Selected()) << "at the very end; cat1 and xcat are no words";
    find->FindNext(nullptr, "a pattern longer than the text", DOWN);
    EXPECT_EQ(std::vector<std::string>({FIND_NOT_FOUND_TEXT}), Messages());
}

TEST_F(Search, ALongSelfSimilarPatternIsFoundBothWays)
{
    // Every candidate agrees for a long way: the linear scan takes over.
    std::string text(5000, 'a');
    std::string pattern = std::string(300, 'a') + "b";
    text.replace(3000, pattern.size(), pattern);
    text += " " + pattern;
    Open(text, 0);
    find->FindNext(nullptr, pattern.c_str(), DOWN);
    EXPECT_EQ("3000..3301", Selected());
    int last = static_cast<int>(text.size() - pattern.size());
    std::string atEnd = std::to_string(last) + ".." + std::to_string(last + 301);
    find->FindNext(nullptr, pattern.c_str(), DOWN);
    EXPECT_EQ(atEnd, Selected());
    find->FindNext(nullptr, pattern.c_str(), UP);
    EXPECT_EQ(atEnd, Selected()) << "upwards from the end of the text";
    find->FindNext(nullptr, pattern.c_str(), UP);
    EXPECT_EQ("3000..3301", Selected());
}

TEST_F(Search, ThreeReplacePressesOnAbAbxEndWithinTheText)
{
    Open("ab abx");
    find->ReplaceNext(nullptr, "ab", "z", DOWN);
    EXPECT_EQ("0..2", Selected()) << "the first press only selects";
    find->ReplaceNext(nullptr, "ab", "z", DOWN);
    EXPECT_EQ("z abx", h->Text());
    EXPECT_EQ("2..4", Selected());
    find->ReplaceNext(nullptr, "ab", "z", DOWN);
    EXPECT_EQ("z zx", h->Text());
    EXPECT_EQ(std::vector<std::string>({FIND_FINAL_TEXT}), Messages());
    find->ReplaceNext(nullptr, "ab", "z", DOWN);
    EXPECT_EQ("z zx", h->Text()) << "after the last one nothing more is replaced";
}

// From any caret, inside an occurrence or at its start, and either way, pressing Replace
// until the end notice replaces each occurrence there at the start once, never its output.
TEST_F(Search, ReplacePressesToTheEndReplaceEachOccurrenceOnce)
{
    struct Case {
        std::string text, pattern, replacement, expected;
    };
    const Case cases[] = {
        {"one two one", "one", "[one]", "[one] two [one]"},
        {"ab ab ab", "ab", "abab", "abab abab abab"},
        {"one two one", "one", "1", "1 two 1"},
    };
    Open("");
    for (const Case& c : cases) {
        for (int caret = 0; caret <= static_cast<int>(c.text.size()); caret++) {
            for (int options : {DOWN, UP}) {
                SCOPED_TRACE(c.text + " caret " + std::to_string(caret) + " options " +
                             std::to_string(options));
                CTextDocument* doc = h->m_pDocument;
                doc->ReplaceWithUndo(0, doc->GetTextLength(), c.text.data(),
                                     static_cast<int>(c.text.size()));
                view->MoveCaret(caret);
                size_t notices = Messages().size();
                for (int press = 0; press < 10 && Messages().size() == notices; press++)
                    find->ReplaceNext(nullptr, c.pattern.c_str(), c.replacement.c_str(), options);
                EXPECT_EQ(c.expected, h->Text());
                EXPECT_EQ(FIND_FINAL_TEXT, Messages().back());
            }
        }
    }
}

TEST_F(Search, AnEmptyReplacementAfterWrappingSelectsOnlyWhatIsThere)
{
    Open("ab ab", 3);
    find->ReplaceNext(nullptr, "ab", "", DOWN);
    EXPECT_EQ("3..5", Selected());
    find->ReplaceNext(nullptr, "ab", "", DOWN);
    EXPECT_EQ("ab ", h->Text());
    EXPECT_EQ("0..2", Selected());
    find->ReplaceNext(nullptr, "ab", "", DOWN);
    EXPECT_EQ(" ", h->Text());
    EXPECT_EQ(std::vector<std::string>({FIND_FINAL_TEXT}), Messages());
}

TEST_F(Search, APendingMatchThatNoLongerMatchesIsNotReplaced)
{
    Open("aaa");
    find->ReplaceNext(nullptr, "aa", "b", DOWN);
    find->ReplaceNext(nullptr, "aa", "b", DOWN); // the match at 1 overlaps the one replaced
    EXPECT_EQ("ba", h->Text());
    find->ReplaceNext(nullptr, "aa", "b", DOWN);
    EXPECT_EQ("ba", h->Text());
}

TEST_F(Search, ANewReplacementAloneKeepsTheScanAndReplacesThePendingMatch)
{
    Open("ab ab ab");
    find->ReplaceNext(nullptr, "ab", "x", DOWN);
    find->ReplaceNext(nullptr, "ab", "x", DOWN);
    find->ReplaceNext(nullptr, "ab", "yy", DOWN);
    EXPECT_EQ("x yy ab", h->Text());
    EXPECT_EQ("5..7", Selected());
}

TEST_F(Search, ATextThatShrinksUnderAPendingScanRestartsAtTheCaret)
{
    Open("one two one two one two", 20);
    find->FindNext(nullptr, "two", DOWN);
    EXPECT_EQ("20..23", Selected());
    // Not through the view, so it reports no caret move: only the text tells.
    ASSERT_TRUE(h->m_pDocument->RemoveText(3, 20));
    EXPECT_EQ("one", h->Text());
    view->MoveCaret(0);
    find->FindNext(nullptr, "two", DOWN);
    find->ReplaceNext(nullptr, "one", "1", UP);
    find->ReplaceNext(nullptr, "one", "1", UP);
    EXPECT_EQ("1", h->Text());
    EXPECT_EQ(std::vector<std::string>({FIND_NOT_FOUND_TEXT, FIND_FINAL_TEXT}), Messages());
}

TEST_F(Search, ReplaceAllTakesOccurrencesWithoutOverlapOnceUntilTheTextChanges)
{
    Open("aaaa");
    find->ReplaceAll(nullptr, "aa", "aab", DOWN);
    EXPECT_EQ("aabaab", h->Text());
    CEditHistory* history = h->m_pDocument->m_pHistory;
    CEditAction* action = static_cast<CEditAction*>(history->m_pActions->GetAt(0));
    ASSERT_EQ(2, action->m_nOccurrenceCount);
    EXPECT_EQ(0, action->m_pOccurrences[0].index);
    EXPECT_EQ(2, action->m_pOccurrences[1].index);
    find->ReplaceAll(nullptr, "aa", "aab", DOWN);
    find->ReplaceNext(nullptr, "aa", "aab", DOWN);
    EXPECT_EQ("aabaab", h->Text()) << "done until the pattern, options or text change";
    EXPECT_EQ(std::vector<std::string>({FIND_NOT_FOUND_TEXT}), Messages());
    h->m_pDocument->Undo();
    EXPECT_EQ("aaaa", h->Text());
}

// Whichever allocation of a replacement, a Replace All or a new pattern fails, the text is
// as before or as after the call, never half made; the text block's and the pattern's
// failures are reported, and the call does its work once memory is back.
TEST_F(Search, WhatFailsForMemoryIsReportedAndChangesNothing)
{
    // The text fills its block exactly, so that any growth needs a new one; its few
    // occurrences keep Replace All's slow way round (taken when memory is short) short.
    const std::string line = std::string(2000, 'x') + "ab\r";
    std::string text;
    while (text.size() < 4 * TEXT_BLOCK_STEP - 2)
        text += line;
    text.resize(4 * TEXT_BLOCK_STEP - 2);
    struct Case {
        std::function<void(CFindInfo*)> call;
        const char* reported;
        std::function<bool()> done;
    } cases[] = {
        {[](CFindInfo* f) { f->ReplaceNext(nullptr, "ab", "abab", DOWN); },
         "GlobalRealloc() failed", [&] { return h->Text().size() == text.size() + 2; }},
        {[](CFindInfo* f) { f->ReplaceAll(nullptr, "ab", "c", DOWN); }, "GlobalAlloc() failed",
         [&] { return h->Text().find("ab") == std::string::npos; }},
        {[](CFindInfo* f) { f->FindNext(nullptr, "xa", DOWN); }, "GlobalAlloc() failed",
         [&] {
             const CSelection* s = view->m_pSelection;
             return s->End() - s->Start() == 2 && h->Text().compare(s->Start(), 2, "xa") == 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reported);
        std::vector<std::string> captions;
        for (int k = 1;; k++) {
            // Each try starts afresh, the first match selected.
            Open(text);
            find->ReplaceNext(nullptr, "ab", "abab", DOWN);
            const size_t seen = watcher.Count();
            FailNthCall(FAIL_THIS_THREAD, k);
            c.call(find);
            if (FailNthCall(FAIL_THIS_THREAD, 0) > 0) {
                EXPECT_GT(k, 1) << "the call allocates";
                EXPECT_TRUE(c.done()) << "done once memory is back";
                break;
            }
            // A failure after the edit was made (a line drawn, say) may leave it made.
            ASSERT_TRUE(text == h->Text() || c.done()) << "allocation " << k;
            if (watcher.Count() > seen)
                captions.push_back(watcher.Seen().back().caption);
        }
        EXPECT_NE(captions.end(), std::find(captions.begin(), captions.end(), c.reported));
    }
}

// The occurrences a plain reading of the rules finds, left to right without overlap.
static std::vector<int> Occurrences(const std::string& text, const std::string& p, int options)
{
    auto fold = [options](char c) {
        return !(options & FIND_MATCHCASE) && c >= 'A' && c <= 'Z' ? c + 32 : c;
    };
    auto word = [](char c) { return isalnum(static_cast<unsigned char>(c)) != 0; };
    std::vector<int> found;
    for (size_t i = 0; i + p.size() <= text.size();) {
        bool match = true;
        for (size_t j = 0; j < p.size() && match; j++)
            match = fold(text[i + j]) == fold(p[j]);
        if (match && (options & FIND_WHOLEWORD))
            match = !(i > 0 && word(text[i - 1])) &&
                    !(i + p.size() < text.size() && word(text[i + p.size()]));
        if (match) {
            found.push_back(static_cast<int>(i));
            i += p.size();
        } else {
            i++;
        }
    }
    return found;
}

static std::string RandomString(int length, const char* alphabet)
{
    std::string s;
    for (int i = 0; i < length; i++)
        s += alphabet[rand() % strlen(alphabet)];
    return s;
}

static void ExpectSameDocument(const CTextDocument& fast, const CTextDocument& literal)
{
    ASSERT_EQ(DocumentText(&literal), DocumentText(&fast));
    ASSERT_EQ(literal.GetLineCount(), fast.GetLineCount());
    for (int i = 0; i < literal.GetLineCount(); i++)
        ASSERT_EQ(literal.GetLineWidth(i), fast.GetLineWidth(i)) << "line " << i;
    EXPECT_EQ(literal.GetWidestIndex(), fast.GetWidestIndex());
    EXPECT_EQ(literal.GetWidestWidth(), fast.GetWidestWidth());
}

// Replace all in one pass against the same replacements made one by one through the
// primitives, and the same for its undo and redo.
TEST(ReplaceAllInOnePass, EndsAsTheReplacementsOneByOne)
{
    srand(12);
    for (int round = 0; round < 80; round++) {
        std::string text = RandomString(1 + rand() % 300, "aaabbA \t\r");
        std::string pattern = RandomString(1 + rand() % 3, "abA");
        std::string replacement = RandomString(rand() % 5, round % 10 ? "ab\tx" : "a\r");
        int options = DOWN | (rand() % 2 ? FIND_MATCHCASE : 0) | (rand() % 3 ? 0 : FIND_WHOLEWORD);
        std::vector<int> at = Occurrences(text, pattern, options);
        if (at.empty())
            continue;
        SCOPED_TRACE("round " + std::to_string(round));

        ViewHarness fast(text), literal(text);
        SetFocus(fast.View(0)->m_hWnd);
        fast.View(0)->MoveCaret(rand() % (text.size() + 1));
        fast.View(0)->GetFindInfo()->ReplaceAll(nullptr, pattern.c_str(), replacement.c_str(),
                                                 options);
        CTextDocument& doc = *literal.m_pDocument;
        int m = static_cast<int>(pattern.size()), k = static_cast<int>(replacement.size());
        std::vector<std::string> old;
        for (size_t i = 0; i < at.size(); i++) {
            int index = at[i] + static_cast<int>(i) * (k - m);
            old.push_back(text.substr(at[i], m));
            doc.RemoveText(index, m);
            doc.InsertText(replacement.data(), k, index);
        }
        int caret = at.back() + static_cast<int>(at.size() - 1) * (k - m) + k;
        ExpectSameDocument(*fast.m_pDocument, doc);
        EXPECT_EQ(caret, fast.View(0)->GetIndex());

        // The record: each occurrence with its spelling, numbered in order of first appearance.
        CEditHistory* history = fast.m_pDocument->m_pHistory;
        CEditAction* action = static_cast<CEditAction*>(history->m_pActions->GetAt(0));
        ASSERT_EQ(static_cast<int>(at.size()), action->m_nOccurrenceCount);
        std::map<std::string, int> numbers;
        for (size_t i = 0; i < at.size(); i++) {
            int number = numbers.emplace(old[i], static_cast<int>(numbers.size())).first->second;
            EXPECT_EQ(at[i], action->m_pOccurrences[i].index);
            EXPECT_EQ(number, action->m_pOccurrences[i].spelling);
            EXPECT_EQ(old[i], action->GetSpelling(number));
        }
        EXPECT_EQ(static_cast<int>(numbers.size()), action->m_pSpellings->GetCount());

        fast.m_pDocument->Undo();
        for (size_t i = 0; i < at.size(); i++) {
            if (k)
                doc.RemoveText(at[i], k);
            doc.InsertText(old[i].data(), m, at[i]);
        }
        ExpectSameDocument(*fast.m_pDocument, doc);
        EXPECT_EQ(at.back() + m, fast.View(0)->GetIndex());

        fast.m_pDocument->Redo();
        for (size_t i = 0; i < at.size(); i++) {
            int index = at[i] + static_cast<int>(i) * (k - m);
            doc.RemoveText(index, m);
            doc.InsertText(replacement.data(), k, index);
        }
        ExpectSameDocument(*fast.m_pDocument, doc);
        if (HasFailure())
            return;
    }
}

// A second view keeps its top line and position; its caret is clamped into the text.
TEST(ReplaceAllInOnePass, OtherViewsKeepTheirTopLine)
{
    ViewHarness h(NumberedLines(200, "abc abc "));
    CEditDisplay* other = h.AddView();
    other->MoveCaret(static_cast<int>(h.Text().size()));
    other->m_pScrollBars->SetVertPos(120, 1);
    SetFocus(h.View(0)->m_hWnd);
    h.View(0)->GetFindInfo()->ReplaceAll(nullptr, "abc ", "", DOWN);
    EXPECT_EQ(120, other->GetVertPos());
    EXPECT_EQ("120", TopLineText(other));
    EXPECT_EQ(h.m_pDocument->GetTextAt(other->m_nTopIndex), other->m_pTopLine);
    EXPECT_LE(other->GetIndex(), h.m_pDocument->GetTextLength());
    EXPECT_TRUE(LineTableMatchesText(h.m_pDocument));
}
