#include <gtest/gtest.h>

#include <stdlib.h>

#include <functional>
#include <string>

#include "app/OpenDocument.h"
#include "document/TextDocument.h"
#include "printing/PageInfo.h"
#include "printing/PrintInfo.h"
#include "resources/resource.h"
#include "support/AppWindow.h"
#include "support/DialogWatcher.h"
#include "support/TestFiles.h"
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

    // A band of two rows three pages wide: each line goes as far to the right as it reaches.
    UseEvenMetrics(2);
    const std::string a(10, 'a'), d(10, 'd');
    Text(a + a + "aaaaa\r" + std::string(12, 'b') + "\rccc\r" + d + "ddddd");
    EXPECT_EQ((Texts{a + "|bbbbbbbbbb|", a + "|bb|", "aaaaa|", "ccc|" + d + "|", "|ddddd"}),
              Pages(false));
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

// What one Print command showed and printed.
struct PrintRun {
    std::string all; // the "&All" button's text
    std::string to;  // the to edit
    int questions;   // of "Abort Printing operation?"
    int pages;       // -1 when nothing was printed
    std::string text;
};

// The Print command through the system's dialog, answered from a watcher thread: inDialog
// sets the dialog up and names the button that ends it; answer goes to every question
// whether to abort.
PrintRun RunPrint(AppWindow& app, const std::function<int(HWND)>& inDialog, int answer = IDNO)
{
    PrintRun run = {"", "", 0, -1, ""};
    std::string output = TestPrinterOutput();
    DeleteFileA(output.c_str());
    HWND printDialog = nullptr;
    DialogWatcher watcher([&](HWND dialog, const SeenDialog& seen) {
        if (GetDlgItem(dialog, 1000)) {
            printDialog = dialog;
            int button = inDialog(dialog);
            run.all = WindowText(GetDlgItem(dialog, 1056));
            run.to = WindowText(GetDlgItem(dialog, 1153));
            PressDialogButton(dialog, button);
        } else if (seen.text == "Abort Printing operation?") {
            run.questions++;
            PressDialogButton(dialog, answer);
        } else {
            ADD_FAILURE() << "unexpected box " << seen.caption << ": " << seen.text;
            PressDialogButton(dialog, GetDlgItem(dialog, IDCANCEL) ? IDCANCEL : IDOK);
            // A box refusing the dialog's values would keep the dialog open for good.
            if (printDialog)
                PressDialogButton(printDialog, IDCANCEL);
        }
    });
    app.Command(ID_FILE_PRINT);
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    if (FileExists(output)) {
        run.pages = PrintedPageCount(output, 60000);
        run.text = NoBlanks(PrintedText(output));
    }
    return run;
}

int Confirm(HWND)
{
    return IDOK;
}

} // namespace

// "Wrap Text" chooses the layout and the "All" button counts its pages.
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
        PrintRun run = RunPrint(app, [&](HWND dialog) {
            if (wrap)
                SendMessageA(GetDlgItem(dialog, 1000), BM_CLICK, 0, 0);
            return IDOK;
        });
        EXPECT_EQ("All " + std::to_string(pages) + " Pages", run.all);
        EXPECT_EQ(pages, run.pages);
        EXPECT_GE(run.questions, 1);
        EXPECT_NE(std::string::npos, run.text.find("line" + std::to_string(expected.rows - 1)));
        EXPECT_NE(std::string::npos, run.text.find(NoBlanks(expected.longLine.substr(0, 20))));
    }
}

TEST(PrintCommand, PrintsTheRangeAskedForAndNothingAfterCancelAbortOrForAnEmptyDocument)
{
    ASSERT_TRUE(EnsureTestPrinter());
    CTextDocument fresh(nullptr, nullptr, nullptr);
    const int rows = LongLineFor(&fresh).rows;
    ASSERT_GT(rows, 3);
    AppWindow app;
    app.Command(ID_FILE_NEW);
    CTextDocument* doc = app.Documents()[0]->GetTextDocument();
    PrintRun empty = RunPrint(app, Confirm);
    EXPECT_EQ("All 0 Pages", empty.all);
    EXPECT_EQ("0", empty.to);
    EXPECT_EQ(-1, empty.pages);

    InsertString(doc, NumberedLines(3 * rows), 0);
    PrintRun cancelled = RunPrint(app, [](HWND) { return IDCANCEL; });
    EXPECT_EQ(0, cancelled.questions);
    EXPECT_EQ(-1, cancelled.pages);
    // Another printer chosen before that Cancel: the dialog shows the one the system kept.
    lstrcpyA(doc->m_pPrintInfo->m_szDevice, "Printer chosen before a Cancel");
    PrintRun range = RunPrint(app, [](HWND dialog) {
        CheckRadioButton(dialog, 1056, 1058, 1057);
        SetDlgItemInt(dialog, 1152, 2, FALSE);
        SetDlgItemInt(dialog, 1153, 3, FALSE);
        return IDOK;
    });
    EXPECT_EQ("All 3 Pages", range.all) << "laid out for the printer shown";
    EXPECT_EQ(2, range.pages);
    EXPECT_EQ(std::string::npos, range.text.find("line0line1"));
    EXPECT_NE(std::string::npos, range.text.find("line" + std::to_string(rows) + "line"));
    EXPECT_NE(std::string::npos, range.text.find("line" + std::to_string(3 * rows - 1)));

    PrintRun aborted = RunPrint(app, Confirm, IDYES);
    EXPECT_EQ(1, aborted.questions);
    EXPECT_EQ(-1, aborted.pages) << "the job is abandoned";

}

// The dialog is stood in for by a window with its printer combo box.
TEST(PrintCommand, TakesAPrinterNameOf128CharactersWhole)
{
    ASSERT_TRUE(EnsureTestPrinter());
    HWND dialog = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    HWND combo = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 0, 0, 10, 100, dialog,
                               reinterpret_cast<HMENU>(1139), nullptr, nullptr);
    SetWindowTextA(combo, TEST_PRINTER_NAME);
    CTextDocument doc(nullptr, nullptr, nullptr);
    CPrintInfo info(&doc);
    ASSERT_TRUE(info.SelectDevice(dialog));
    const std::string longest(128, 'p');
    lstrcpyA(info.m_szDevice, longest.c_str());
    SetWindowTextA(combo, longest.c_str());
    EXPECT_EQ(1, info.ChangeDevice(dialog)) << "the printer held, not another one";
    DestroyWindow(dialog);
}
