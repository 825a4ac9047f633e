#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "app/OpenDocument.h"
#include "document/TextDocument.h"
#include "printing/PageInfo.h"
#include "resources/resource.h"
#include "support/AppWindow.h"
#include "support/DialogWatcher.h"
#include "support/TestPrinter.h"
#include "support/TestSupport.h"
#include "support/ViewHarness.h"
#include "view/FontInfo.h"

namespace {

// Lays documents out on a real printer context with the document font made for it.
class LayoutTest : public testing::Test {
protected:
    LayoutTest() : dc(nullptr), doc(nullptr, nullptr, nullptr), font(&doc), unit(0) {}
    void SetUp() override
    {
        ASSERT_TRUE(EnsureTestPrinter());
        dc = CreateTestPrinterDC();
        ASSERT_NE(nullptr, dc);
        ASSERT_TRUE(font.MakePrinterFont(doc.GetFontInfo(), dc));
        page = PrintableSize(dc);
        ASSERT_GT(page.cx, 100);
    }
    void TearDown() override
    {
        if (dc)
            DeleteDC(dc);
    }

    // Every character `unit` wide (ten fill a row), no kerning, no overhangs, and rows
    // tall enough for rows per page.
    void UseEvenMetrics(int rowsPerPage)
    {
        unit = page.cx / 10;
        for (int c = 0; c < 256; c++)
            font.m_pWidths[c] = unit;
        font.m_tm.tmOverhang = 0;
        free(font.m_pKerningIndex);
        font.m_pKerningIndex = nullptr;
        free(font.m_pKerning);
        font.m_pKerning = nullptr;
        font.m_nKerningPairs = 0;
        if (!font.m_pABC)
            font.m_pABC = static_cast<ABC*>(calloc(256, sizeof(ABC)));
        for (int c = 0; c < 256; c++)
            font.m_pABC[c] = ABC{0, static_cast<UINT>(unit), 0};
        font.m_tm.tmHeight = rowsPerPage > 0 ? page.cy / rowsPerPage : page.cy + 1;
    }

    void Text(const std::string& text)
    {
        if (doc.GetTextLength() > 0)
            doc.RemoveText(0, doc.GetTextLength());
        SetText(doc, text);
    }

    // The page texts of a layout, each with its rows joined by "|".
    std::vector<std::string> Pages(bool wrapped)
    {
        doc.RemeasureAllLines();
        CPageInfo pages(nullptr);
        if (wrapped)
            WrappedLayout(dc, &doc, &font, &pages);
        else
            TiledLayout(dc, &doc, &font, &pages);
        std::vector<std::string> texts;
        for (int i = 0; i < pages.GetPageCount(); i++) {
            std::string text = pages.GetPage(i);
            for (char& c : text)
                c = c == '\r' ? '|' : c;
            texts.push_back(text);
        }
        return texts;
    }

    HDC dc;
    CTextDocument doc;
    CFontInfo font;
    SIZE page;
    int unit;
};

typedef std::vector<std::string> Texts;

} // namespace

TEST_F(LayoutTest, LinesThatAllFitTakeTheSamePagesBothWays)
{
    int rows = page.cy / font.TextMetrics().tmHeight;
    ASSERT_GT(rows, 2);
    Text(NumberedLines(2 * rows + 3));
    EXPECT_EQ(3u, Pages(true).size());
    EXPECT_EQ(3u, Pages(false).size());

    CTextDocument empty(nullptr, nullptr, nullptr);
    CPageInfo none(nullptr);
    EXPECT_EQ(0, WrappedLayout(dc, &empty, &font, &none));
    EXPECT_EQ(0, TiledLayout(dc, &empty, &font, &none));
    EXPECT_EQ(0, none.GetPageCount());
}

TEST_F(LayoutTest, ALineThreeWidthsLongWrapsOrTilesAcrossThreePages)
{
    UseEvenMetrics(1);
    std::string row(10, 'a');
    Text(row + row + row + "\rnext");
    EXPECT_EQ((Texts{row + "|", row + "|", row + "|", "next"}), Pages(true));
    // Tiled: row 0 of pages 0 to 2, and the full band sends the next line to page 3.
    EXPECT_EQ((Texts{row + "|", row + "|", row + "|", "next"}), Pages(false));

    UseEvenMetrics(10);
    EXPECT_EQ((Texts{row + "|" + row + "|" + row + "|next"}), Pages(true));
    EXPECT_EQ((Texts{row + "|next", row + "|", row + "|"}), Pages(false));
}

TEST_F(LayoutTest, TiledPageGetsEmptyRowsUpToTheLineThatReachesIt)
{
    UseEvenMetrics(10);
    Text("s\rs\rs\rs\rs\r" + std::string(15, 'a') + "\rt");
    EXPECT_EQ((Texts{"s|s|s|s|s|" + std::string(10, 'a') + "|t", "|||||aaaaa|"}), Pages(false));
}

TEST_F(LayoutTest, RowBreaksAtWideCharactersAndRightOverhangs)
{
    UseEvenMetrics(10);
    font.m_pWidths['W'] = page.cx + 1;
    // A character wider than the page sits alone on its row; as a line's first, it leaves
    // that line's first row empty.
    Text("aWa\rWa");
    EXPECT_EQ((Texts{"a|W|a||W|a"}), Pages(true));

    // Nine characters and one that fills the row exactly: no break, unless it overhangs.
    font.m_pWidths['z'] = page.cx - 9 * unit;
    Text("aaaaaaaaaz");
    EXPECT_EQ((Texts{"aaaaaaaaaz"}), Pages(true));
    font.m_pABC['z'].abcC = -1;
    EXPECT_EQ((Texts{"aaaaaaaaa|z"}), Pages(true));
    EXPECT_EQ((Texts{"aaaaaaaaa|", "z"}), Pages(false));
}

TEST_F(LayoutTest, RowsTallerThanThePageKeepOnePageOrBand)
{
    UseEvenMetrics(0);
    Text("a\r" + std::string(15, 'b') + "\rc");
    EXPECT_EQ((Texts{"a|bbbbbbbbbb|bbbbb|c"}), Pages(true));
    EXPECT_EQ((Texts{"a|bbbbbbbbbb|c", "|bbbbb|"}), Pages(false));
}

TEST_F(LayoutTest, KeepsEveryPageBeyondTheDialogsPageNumbers)
{
    UseEvenMetrics(10);
    Text(std::string(10 * 70000, 'a'));
    doc.RemeasureAllLines();
    CPageInfo pages(nullptr);
    ASSERT_TRUE(TiledLayout(dc, &doc, &font, &pages));
    EXPECT_EQ(70000, pages.GetPageCount());
    EXPECT_EQ(std::string(10, 'a'), pages.GetPage(69999));
}

namespace {

// The pages the print job should give for the document, from the printer's own metrics.
struct ExpectedPages {
    int rows;
    std::string longLine;
};

ExpectedPages LongLineFor(CTextDocument* doc)
{
    ExpectedPages expected = {0, ""};
    HDC dc = CreateTestPrinterDC();
    if (!dc)
        return expected;
    CFontInfo font(doc);
    font.MakePrinterFont(doc->GetFontInfo(), dc);
    SIZE page = PrintableSize(dc);
    expected.rows = page.cy / font.TextMetrics().tmHeight;
    // One and a half printable widths: two rows wrapped, two pages side by side tiled.
    const std::string words = "Long line of printed words ";
    while (font.LineWidth(expected.longLine.data(), static_cast<int>(expected.longLine.size())) <
           page.cx * 3 / 2)
        expected.longLine += words[expected.longLine.size() % words.size()];
    DeleteDC(dc);
    return expected;
}

std::string NoBlanks(std::string text)
{
    std::string out;
    for (char c : text) {
        if (c != ' ' && c != '\n' && c != '\r')
            out += c;
    }
    return out;
}

} // namespace

// The Print command through the system's dialog, answered from a watcher thread: "Wrap Text"
// chooses the layout, the "All" button counts its pages, and every question whether to abort
// is answered No.
TEST(PrintCommand, PrintsTheChosenLayoutThroughTheDialog)
{
    ASSERT_TRUE(EnsureTestPrinter());
    // The layout that a new document's font gives on the printer.
    CTextDocument fresh(nullptr, nullptr, nullptr);
    ExpectedPages expected = LongLineFor(&fresh);
    ASSERT_GT(expected.rows, 3);
    AppWindow app;
    app.Command(ID_FILE_NEW);
    ASSERT_EQ(1u, app.Documents().size());
    CTextDocument* doc = app.Documents()[0]->GetTextDocument();
    // rows + 1 lines, the first one long: rows + 2 rows wrapped (two pages); tiled, the
    // first band of two pages, then the last line on a third.
    InsertString(doc, expected.longLine + "\r" + NumberedLines(expected.rows), 0);

    for (bool wrap : {true, false}) {
        SCOPED_TRACE(wrap ? "wrapped" : "tiled");
        const int pages = wrap ? 2 : 3;
        std::string output = TestPrinterOutput();
        DeleteFileA(output.c_str());
        std::string allText;
        int questions = 0;
        DialogWatcher watcher([&](HWND dialog, const SeenDialog& seen) {
            if (GetDlgItem(dialog, 1000)) {
                if (wrap)
                    SendMessageA(GetDlgItem(dialog, 1000), BM_CLICK, 0, 0);
                allText = WindowText(GetDlgItem(dialog, 1056));
                PressDialogButton(dialog, IDOK);
            } else if (seen.text == "Abort Printing operation?") {
                questions++;
                PressDialogButton(dialog, IDNO);
            } else {
                ADD_FAILURE() << "unexpected box " << seen.caption << ": " << seen.text;
                PressDialogButton(dialog, GetDlgItem(dialog, IDCANCEL) ? IDCANCEL : IDOK);
            }
        });
        app.Command(ID_FILE_PRINT);
        EXPECT_EQ("All " + std::to_string(pages) + " Pages", allText);
        EXPECT_EQ(pages, PrintedPageCount(output, 60000));
        EXPECT_GE(questions, 1);
        EXPECT_TRUE(IsWindowEnabled(app.Main()));
        std::string text = NoBlanks(PrintedText(output));
        EXPECT_NE(std::string::npos, text.find("line" + std::to_string(expected.rows - 1)));
        EXPECT_NE(std::string::npos, text.find(NoBlanks(expected.longLine.substr(0, 20))));
    }
}
