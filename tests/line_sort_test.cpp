#include <gtest/gtest.h>

#include <string.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/FailureSeam.h"
#include "dialogs/SortDialog.h"
#include "dialogs/SortProgress.h"
#include "document/LineSort.h"
#include "document/StringInfo.h"
#include "document/TextDocument.h"
#include "app/AppState.h"
#include "app/OpenDocument.h"
#include "support/DialogWatcher.h"
#include "document/SortWorker.h"
#include "document/TextHelpers.h"
#include "resources/resource.h"
#include "support/AppWindow.h"
#include "support/TestSupport.h"
#include "support/ViewHarness.h"
#include "support/Waits.h"

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

// What a run told its progress, phase by phase (a phase ends at each position set); it sets
// the cancel flag at the first step of the phase cancelAt.
struct ProgressLog {
    CTextDocument* doc = nullptr;
    int cancelAt = -1;
    int low = -1, high = -1, stepSize = 0;
    std::vector<int> positions;
    int steps[3] = {0, 0, 0};
};

void LogNotice(void* context, int notice, int value, int high)
{
    ProgressLog* log = static_cast<ProgressLog*>(context);
    int phase = static_cast<int>(log->positions.size());
    switch (notice) {
    case SORT_SET_RANGE: log->low = value; log->high = high; break;
    case SORT_SET_STEP: log->stepSize = value; break;
    case SORT_SET_POS: log->positions.push_back(value); break;
    case SORT_STEP:
        log->steps[phase]++;
        if (phase == log->cancelAt)
            log->doc->m_bSortCancel = 1;
        break;
    }
}

// Lines in descending order, so that every order moves them.
std::string ReversedLines(int n)
{
    std::string text;
    for (int i = n; i > 0; i--)
        text += std::to_string(i) + (i > 1 ? " x\r" : " x");
    return text;
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

// Numbers by sign and digits, then the rest of the line, then the leading blanks, then the
// blanks after the number; text by what follows the leading blanks, then those blanks.
TEST(LineSort, ComparisonTieBreaksInTheirOrder)
{
    const struct {
        const char *a, *b;
        int numeric, expected;
    } cases[] = {
        {"5 zebra", "  5 apple", 1, CSTR_GREATER_THAN}, // the rest before the leading blanks
        {"  5 apple", "5 apple", 1, CSTR_GREATER_THAN},
        {"  5 apple", "5  apple", 1, CSTR_GREATER_THAN}, // leading blanks before those after
        {"5  apple", "5 apple", 1, CSTR_GREATER_THAN},
        {"5 apple", "5 apple", 1, CSTR_EQUAL},
        {"-10", "-9", 1, CSTR_LESS_THAN},
        {"-5 x", "-3 x", 1, CSTR_LESS_THAN},
        {"-3", "2", 1, CSTR_LESS_THAN},
        {"007", "42", 1, CSTR_GREATER_THAN},
        {"b", "  a", 0, CSTR_GREATER_THAN},
        {"  a", "a", 0, CSTR_GREATER_THAN},
        {"a", "\ta", 0, CSTR_LESS_THAN},
    };
    for (const auto& c : cases) {
        CStringInfo a(c.a, static_cast<int>(strlen(c.a)), c.numeric);
        CStringInfo b(c.b, static_cast<int>(strlen(c.b)), c.numeric);
        EXPECT_EQ(c.expected, CompareLines(&a, &b)) << "'" << c.a << "' against '" << c.b << "'";
        EXPECT_EQ(4 - c.expected, CompareLines(&b, &a)) << "'" << c.b << "' against '" << c.a << "'";
    }
    CStringInfo number("5", 1, 1), text("5", 1, 0);
    EXPECT_EQ(0, CompareLines(&number, &text));

    const int numeric = SORT_NUMERIC;
    EXPECT_EQ("  5 apple\r5 zebra", FastSort("5 zebra\r  5 apple", SORT_ASCENDING | numeric));
    EXPECT_EQ("5 zebra\r  5 apple", FastSort("  5 apple\r5 zebra", SORT_DESCENDING | numeric));
    EXPECT_EQ("2\r-3\r-10", FastSort("-3\r-10\r2", SORT_DESCENDING | numeric));
    EXPECT_EQ("apple\r10\r5\r#x", FastSort("5\r#x\rapple\r10", SORT_DESCENDING | numeric))
        << "the numbers go before the first line that starts below '9'";
    EXPECT_EQ("b\r  a", FastSort("  a\rb", SORT_DESCENDING));
}

TEST(LineSort, EqualLinesSwapAndAOneLineDocumentIsOneUndoStep)
{
    CLineSort sort("same\rsame", 9, SORT_ASCENDING, nullptr, nullptr, nullptr);
    ASSERT_TRUE(sort.MakeRecords() && sort.SortRecords());
    EXPECT_EQ(5, static_cast<CStringInfo*>(sort.m_textList.GetAt(0))->m_pText - sort.m_pText);

    CTextDocument doc(nullptr, nullptr, nullptr);
    SetText(doc, "only");
    EXPECT_EQ(1, doc.SortLinesNow(SORT_ASCENDING, nullptr, nullptr));
    EXPECT_EQ("only", DocumentText(&doc));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.CanUndo());
}

TEST(LineSort, ProgressHasThreeThirdsOfAtMost2000Steps)
{
    for (int lines : {2000, 4000}) {
        SCOPED_TRACE(lines);
        CTextDocument doc(nullptr, nullptr, nullptr);
        SetText(doc, ReversedLines(lines));
        ProgressLog log;
        log.doc = &doc;
        ASSERT_EQ(1, doc.SortLinesNow(SORT_ASCENDING | SORT_NUMERIC, LogNotice, &log));
        EXPECT_EQ(0, log.low);
        EXPECT_EQ(6000, log.high);
        EXPECT_EQ(1, log.stepSize);
        EXPECT_EQ((std::vector<int>{2000, 4000, 6000}), log.positions);
        for (int phase = 0; phase < 3; phase++) {
            EXPECT_LE(log.steps[phase], 2000) << phase;
            EXPECT_GE(log.steps[phase], 1900) << phase;
        }
        EXPECT_EQ("1 x", DocumentText(&doc).substr(0, 3));
    }
}

TEST(LineSort, CancelInAnyPhaseLeavesTheDocumentAsItWas)
{
    const std::string text = ReversedLines(3000);
    for (int phase = 0; phase < 3; phase++) {
        SCOPED_TRACE(phase);
        CTextDocument doc(nullptr, nullptr, nullptr);
        SetText(doc, text);
        int modified = doc.IsModified();
        ProgressLog log;
        log.doc = &doc;
        log.cancelAt = phase;
        EXPECT_EQ(0, doc.SortLinesNow(SORT_DESCENDING, LogNotice, &log));
        EXPECT_EQ(static_cast<size_t>(phase), log.positions.size()) << "stopped in its phase";
        EXPECT_EQ(text, DocumentText(&doc));
        EXPECT_EQ(modified, doc.IsModified());
        EXPECT_FALSE(doc.CanUndo());
        EXPECT_FALSE(doc.CanRedo());
    }
}

namespace {

CTextDocument* NewDocumentWithText(AppWindow& app, const std::string& text)
{
    app.Command(ID_FILE_NEW);
    CTextDocument* doc = app.Documents().back()->GetTextDocument();
    SetText(*doc, text);
    return doc;
}

// Starts a sort as the menu does, without running the message loop after it.
void StartSort(AppWindow& app, int command)
{
    SendMessageA(app.Main(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void PressCancel()
{
    SendMessageA(g_app.m_hSortDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(g_app.m_hSortDialog, IDCANCEL)));
}

} // namespace

TEST(SortCommand, RunsOnAWorkerBehindTheDialogAndIsOneUndoStep)
{
    AppWindow app;
    ASSERT_TRUE(app.Started());
    const std::string text = ReversedLines(20000);
    CTextDocument* doc = NewDocumentWithText(app, text);
    std::string sorted = FastSort(text, SORT_ASCENDING);

    StartSort(app, ID_SORT_ALPHABETIC);
    ASSERT_NE(nullptr, g_app.m_hSortDialog);
    EXPECT_EQ("Sorting Document", WindowText(g_app.m_hSortDialog));
    EXPECT_FALSE(IsWindowEnabled(app.Main()));
    EXPECT_TRUE(doc->IsSorting());
    SendMessageA(app.Main(), WM_COMMAND, ID_WINDOW_CLOSEALL, 0);
    SendMessageA(app.Main(), WM_CLOSE, 0, 0);
    SendMessageA(app.ActiveFrame(), WM_CLOSE, 0, 0);
    EXPECT_EQ(1u, app.Documents().size()) << "no closing while the sort runs";
    EXPECT_TRUE(IsWindow(app.Main()));

    ASSERT_TRUE(PumpUntil([] { return g_app.m_hSortDialog == nullptr; }));
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    EXPECT_FALSE(doc->IsSorting());
    EXPECT_EQ(sorted, DocumentText(doc));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(LineTableMatchesText(doc));
    doc->Undo();
    EXPECT_EQ(text, DocumentText(doc));
    EXPECT_FALSE(doc->CanUndo());
}

TEST(SortCommand, CancelEndsTheSortWithTheTextUnchanged)
{
    AppWindow app;
    ASSERT_TRUE(app.Started());
    const std::string text = ReversedLines(1000000);
    CTextDocument* doc = NewDocumentWithText(app, text);

    StartSort(app, ID_SORT_NUMERIC);
    ASSERT_NE(nullptr, g_app.m_hSortDialog);
    PressCancel();
    ASSERT_TRUE(PumpUntil([] { return g_app.m_hSortDialog == nullptr; }));
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    EXPECT_FALSE(doc->IsSorting());
    EXPECT_EQ(text, DocumentText(doc));
    EXPECT_FALSE(doc->CanUndo());

    // Once the worker has finished, Cancel is too late: its sorted text is applied.
    doc = NewDocumentWithText(app, "b\ra");
    StartSort(app, ID_SORT_ALPHABETIC);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(doc->m_hSortThread, WAIT_LIMIT_MS));
    PressCancel();
    ASSERT_TRUE(PumpUntil([] { return g_app.m_hSortDialog == nullptr; }));
    EXPECT_EQ("a\rb", DocumentText(doc));
    EXPECT_TRUE(doc->CanUndo());
}

// An allocation failure armed for the worker lands on the worker, once: that sort leaves
// the text as it was, the next one sorts.
TEST(SortCommand, AWorkerOutOfMemoryLeavesTheText)
{
    AppWindow app;
    ASSERT_TRUE(app.Started());
    const std::string text = ReversedLines(100);
    CTextDocument* doc = NewDocumentWithText(app, text);
    DialogWatcher watcher;
    FailNthCall(FAIL_SORT_WORKER, 1);
    StartSort(app, ID_SORT_ALPHABETIC);
    ASSERT_TRUE(PumpUntil([] { return g_app.m_hSortDialog == nullptr; }));
    EXPECT_EQ(text, DocumentText(doc));
    EXPECT_FALSE(doc->CanUndo());

    StartSort(app, ID_SORT_ALPHABETIC);
    ASSERT_TRUE(PumpUntil([] { return g_app.m_hSortDialog == nullptr; }));
    EXPECT_EQ(FastSort(text, SORT_ASCENDING), DocumentText(doc));
}

namespace {

// Each notice as one message, as the worker posted them before it held back steps.
void PostEveryNotice(void* context, int notice, int value, int high)
{
    static const UINT messages[] = {WM_SORTSETRANGE, WM_SORTSETSTEP, WM_SORTSTEP, WM_SORTSETPOS};
    PostMessageA(static_cast<HWND>(context), messages[notice], value, high);
}

void PostThroughPoster(void* context, int notice, int value, int high)
{
    static_cast<CProgressPoster*>(context)->Notify(notice, value, high);
}

// What a progress dialog showed of one sort: each text with the bar's position when it
// appeared, the bar's largest move and the progress messages it took.
struct ShownProgress {
    std::vector<std::pair<std::string, int>> texts;
    int largestMove = 0;
    int messages = 0;
    int barWidth = 0;
};

// Sorts text on this thread into a hidden progress dialog (read, not painted), then hands
// the dialog its messages one at a time.
ShownProgress ShowSort(const std::string& text, bool holdSteps)
{
    CTextDocument doc(nullptr, nullptr, nullptr);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SORTING),
                                     nullptr, SortProgressProc, reinterpret_cast<LPARAM>(&doc));
    ShownProgress shown;
    if (!dialog) {
        ADD_FAILURE() << "no progress dialog";
        return shown;
    }
    ShowWindow(dialog, SW_HIDE);
    HWND bar = GetDlgItem(dialog, IDC_SORT_PROGRESS);
    RECT client;
    GetClientRect(bar, &client);
    shown.barWidth = client.right;
    CProgressPoster poster(dialog);
    CLineSort sort(text.c_str(), static_cast<int>(text.size()), SORT_ASCENDING, nullptr,
                   holdSteps ? PostThroughPoster : PostEveryNotice,
                   holdSteps ? static_cast<void*>(&poster) : dialog);
    EXPECT_EQ(1, sort.Run());
    poster.Flush();
    int position = 0;
    MSG msg;
    while (PeekMessageA(&msg, dialog, WM_SORTSTEP, WM_SORTSETPOS, PM_REMOVE)) {
        shown.messages++;
        DispatchMessageA(&msg);
        int now = static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0));
        shown.largestMove = std::max(shown.largestMove, now - position);
        position = now;
        std::string percent = WindowText(GetDlgItem(dialog, IDC_SORT_TEXT));
        if (shown.texts.empty() || shown.texts.back().first != percent)
            shown.texts.emplace_back(percent, now);
    }
    shown.texts.emplace_back("end", position);
    DestroyWindow(dialog);
    return shown;
}

} // namespace

TEST(SortCommand, ProgressShowsEveryPercentAndPixelWithFewMessages)
{
    // a step per line, and a step every tenth line
    for (int lines : {1500, 20000}) {
        SCOPED_TRACE(lines);
        const std::string text = ReversedLines(lines);
        ShownProgress each = ShowSort(text, false);
        ShownProgress held = ShowSort(text, true);
        EXPECT_EQ(each.texts, held.texts);
        EXPECT_EQ("100% Complete", held.texts[held.texts.size() - 2].first);
        const int range = 3 * std::min(lines, 2000);
        EXPECT_EQ(std::make_pair(std::string("end"), range), held.texts.back());
        EXPECT_GT(each.messages, 4500);
        EXPECT_LT(held.messages, 110 + held.barWidth);
        // The bar never lags a pixel behind: a move spans at most one pixel's share.
        EXPECT_LE(held.largestMove, range / held.barWidth + 1);
    }
}
