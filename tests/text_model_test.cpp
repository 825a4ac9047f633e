#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "document/LineSteps.h"
#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "support/TestFiles.h"
#include "support/TestSupport.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/FontInfo.h"

namespace {

// Bytes that stress the line table: line breaks, tabs, kerned capitals, high codes. With few
// breaks, lines grow long enough to keep measuring points.
char RandomByte(std::mt19937& rng, bool fewBreaks)
{
    static const char common[] = "AVTWYLo.,aey \t\r\r\r";
    unsigned roll = rng() % 10;
    if (roll < 7) {
        char c = common[rng() % (sizeof(common) - 1)];
        return c == '\r' && fewBreaks && rng() % 1000 ? 'e' : c;
    }
    if (roll < 9)
        return static_cast<char>(128 + rng() % 128);
    return static_cast<char>(33 + rng() % 94);
}

std::string RandomText(std::mt19937& rng, int length, bool fewBreaks)
{
    std::string s;
    for (int i = 0; i < length; i++)
        s += RandomByte(rng, fewBreaks);
    return s;
}

// The plain measure of every line: its advances one by one, and the first line of the
// greatest width as the widest.
struct PlainTable {
    std::vector<int> widths;
    int widest = 0;
};

PlainTable MeasurePlainly(const CFontInfo* font, const std::string& text)
{
    PlainTable plain;
    size_t start = 0;
    for (;;) {
        size_t end = std::min(text.find('\r', start), text.size());
        SIZE size = {0, 0};
        font->Measure(text.data() + start, static_cast<int>(end - start), &size, 0);
        plain.widths.push_back(size.cx);
        if (size.cx > plain.widths[plain.widest])
            plain.widest = static_cast<int>(plain.widths.size()) - 1;
        if (end == text.size())
            return plain;
        start = end + 1;
    }
}

// The loading pass's table of a document must equal the plain measure of its text bit for
// bit, and each long line's measuring points the sums of its advances.
// The same text twice, joined by a line break: every width has a tie.
PlainTable Twice(const PlainTable& once)
{
    PlainTable twice = once;
    twice.widths.insert(twice.widths.end(), once.widths.begin(), once.widths.end());
    return twice;
}

testing::AssertionResult LoadedTableIsPlain(CTextDocument* doc, const PlainTable& plain)
{
    const CFontInfo* font = doc->GetFontInfo();
    if (doc->GetLineCount() != static_cast<int>(plain.widths.size()))
        return testing::AssertionFailure() << doc->GetLineCount() << " lines, plainly "
                                           << plain.widths.size();
    for (int line = 0; line < doc->GetLineCount(); line++) {
        if (doc->GetLineWidth(line) != plain.widths[line])
            return testing::AssertionFailure() << "line " << line << ": "
                                               << doc->GetLineWidth(line) << ", plainly "
                                               << plain.widths[line];
    }
    if (doc->GetWidestIndex() != plain.widest || doc->GetWidestWidth() != plain.widths[plain.widest])
        return testing::AssertionFailure() << "widest line " << doc->GetWidestIndex()
                                           << ", plainly " << plain.widest;
    for (int start = 0, length; start <= doc->GetTextLength(); start += length + 1) {
        const char* line = doc->GetTextAt(start);
        length = LineLength(line);
        if (length >= LONG_LINE) {
            std::vector<int> advances(length);
            font->Advances(line, length, advances.data());
            int sum = 0;
            for (int i = 0; i <= length; i++) {
                // Every point is at a multiple of 64 bytes, where SumTo answers the point.
                if ((i % 64 == 0 || i == length) &&
                    doc->GetLineSteps()->SumTo(line, length, i) != sum)
                    return testing::AssertionFailure() << "the point at byte " << i
                                                       << " of a line of " << length;
                if (i < length)
                    sum += advances[i];
            }
        }
    }
    return testing::AssertionSuccess();
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
// the views of the document, if any, must follow every edit. After each, the loading pass
// measures the same text afresh in a second document, and now and then loads it from a file.
void RunModel(CTextDocument* doc, const std::vector<CEditDisplay*>& views, unsigned seed,
              int steps, bool fewBreaks = false)
{
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    std::string model;
    StoreSandbox sandbox;
    const std::string path = sandbox.Folder().File("model.txt");
    // The model's text twice, joined by a line break, so that every width has a tie, which
    // the first line must win.
    CTextDocument fresh(nullptr, nullptr, nullptr);
    SetTestFont(fresh.GetFontInfo(), doc->GetFontInfo()->m_lf.lfFaceName,
                -doc->GetFontInfo()->m_lf.lfHeight);
    ASSERT_EQ(1, InsertString(&fresh, "\r", 0));
    for (int step = 0; step < steps; step++) {
        SCOPED_TRACE(step);
        const int length = static_cast<int>(model.size());
        bool insert = length < 200 || (length < 30000 && rng() % 100 < 55) || rng() % 100 < 30;
        if (insert) {
            std::string text = RandomText(rng, RandomLength(rng), fewBreaks);
            int index = static_cast<int>(rng() % (length + 1));
            ASSERT_EQ(1, InsertString(doc, text, index));
            ASSERT_EQ(1, InsertString(&fresh, text, length + 1 + index));
            ASSERT_EQ(1, InsertString(&fresh, text, index));
            model.insert(index, text);
        } else {
            int count = std::min(RandomLength(rng), length);
            int index = static_cast<int>(rng() % (length - count + 1));
            ASSERT_EQ(1, doc->RemoveText(index, count));
            ASSERT_EQ(1, fresh.RemoveText(length + 1 + index, count));
            ASSERT_EQ(1, fresh.RemoveText(index, count));
            model.erase(index, count);
        }
        ASSERT_EQ(model + "\r" + model, DocumentText(&fresh));
        fresh.RemeasureAllLines();
        ASSERT_TRUE(LoadedTableIsPlain(&fresh, Twice(MeasurePlainly(fresh.GetFontInfo(), model))));
        if (step % 100 == 0) {
            std::string bytes;
            for (char c : model)
                bytes += c == '\r' ? std::string("\r\n") : std::string(1, c);
            WriteBytes(path, bytes);
            CTextDocument loaded(nullptr, OpenForEditing(path), path.c_str());
            ASSERT_EQ(model, DocumentText(&loaded));
            ASSERT_TRUE(LoadedTableIsPlain(&loaded, MeasurePlainly(loaded.GetFontInfo(), model)))
                << "in the font of a new document";
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

TEST(TextModel, RandomEditsOfLongLinesWithAHeavilyKernedFont)
{
    CTextDocument doc(nullptr, nullptr, nullptr);
    SetTestFont(&doc, "DejaVu Sans", 15);
    RunModel(&doc, {}, 314159u, 1500, true);
    EXPECT_GT(doc.GetWidestWidth(), 20000) << "the run should have made long lines";
}

// A large file's lines are measured in two halves at once: the table, the widest line (the
// first of two alike, one in each half, or the one in the second half alone) and the points
// of the long lines in both halves must be what one pass gives.
TEST(TextModel, ALargeFileMeasuredInTwoHalvesIsMeasuredAsInOne)
{
    StoreSandbox sandbox;
    const std::string path = sandbox.Folder().File("large.txt");
    std::mt19937 rng(2718u);
    auto stretch = [&rng](size_t bytes) {
        std::string s;
        while (s.size() < bytes)
            s += RandomText(rng, 100000, false) + "\r" + RandomText(rng, 3000, true) + "\r";
        return s;
    };
    const std::string widest(5000, 'W');
    const std::string third = stretch(HELPER_MEASURE_MIN / 3);
    for (int copies = 1; copies <= 2; copies++) {
        SCOPED_TRACE(copies);
        std::string text = third + (copies == 2 ? widest : "x") + "\r" + third + widest + "\r" + third;
        std::string bytes;
        for (char c : text)
            bytes += c == '\r' ? std::string("\r\n") : std::string(1, c);
        WriteBytes(path, bytes);
        CTextDocument loaded(nullptr, OpenForEditing(path), path.c_str());
        ASSERT_GE(loaded.GetTextLength(), static_cast<int>(HELPER_MEASURE_MIN));
        ASSERT_TRUE(LoadedTableIsPlain(&loaded, MeasurePlainly(loaded.GetFontInfo(), text)));
    }
}

// Real views take far longer per edit than the document: fewer steps.
TEST(TextModel, ViewsFollowRandomEdits)
{
    ViewHarness views("");
    views.AddView();
    SetTestFont(views.m_pDocument, "Liberation Sans", 15);
    RunModel(views.m_pDocument, views.m_views, 7u, 150);
}
