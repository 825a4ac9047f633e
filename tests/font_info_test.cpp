#include <gtest/gtest.h>

#include <stdlib.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "view/FontInfo.h"

namespace {

std::vector<int> AdvancesOf(const CFontInfo& info, const std::string& s)
{
    std::vector<int> out(s.size(), -12345);
    EXPECT_EQ(1, info.Advances(s.data(), static_cast<int>(s.size()), out.data()));
    return out;
}

int WidthOf(const CFontInfo& info, const std::string& s)
{
    SIZE size = {-1, -1};
    EXPECT_EQ(nullptr, info.Measure(s.data(), static_cast<int>(s.size()), &size, 0));
    return size.cx;
}

int Width(const CFontInfo& info, unsigned char c)
{
    return info.GetWidthTable()[c] - info.TextMetrics().tmOverhang;
}

int Kerns(const CFontInfo& info, unsigned char a, unsigned char b)
{
    return info.KerningAmount(a, b) != KERNING_NOT_FOUND;
}

// A letter that kerns neither with itself nor with a tab, so runs of it have plain advances.
unsigned char PlainLetter(const CFontInfo& info)
{
    for (unsigned char c = 'a'; c <= 'z'; c++) {
        if (!Kerns(info, c, c) && !Kerns(info, c, '\t') && Width(info, c) > 0)
            return c;
    }
    ADD_FAILURE() << "no letter without kerning";
    return 'x';
}

class FontInfoTest : public testing::Test {
protected:
    FontInfoTest() : info(nullptr) {}
    CFontInfo info;
};

} // namespace

TEST_F(FontInfoTest, StartsWithTheSystemFont)
{
    EXPECT_EQ(GetStockObject(SYSTEM_FONT), info.GetFont());
    EXPECT_NE(nullptr, info.GetWidthTable());
    EXPECT_EQ(0u, info.GetColour());
    EXPECT_GT(info.TextMetrics().tmHeight, 0);
}

TEST_F(FontInfoTest, ReadsTheTablesOfATrueTypeFont)
{
    SetTestFont(&info, "Liberation Sans", 16);
    EXPECT_TRUE(info.IsTrueType());
    ASSERT_NE(nullptr, info.GetABCTable());
    int pairs = 0;
    EXPECT_NE(nullptr, info.GetKerningTable(&pairs));
    EXPECT_GT(pairs, 50);
    EXPECT_GT(info.m_nResX, 0);
    EXPECT_GT(info.m_nResY, 0);
    EXPECT_EQ(-16, info.m_lf.lfHeight);

    // Setting the current font again keeps it alive and measures it anew.
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    info.SetFont(info.GetFont(), dc, RGB(9, 9, 9));
    DeleteDC(dc);
    LOGFONTA lf;
    EXPECT_EQ(static_cast<int>(sizeof(lf)), GetObjectA(info.GetFont(), sizeof(lf), &lf));
    EXPECT_EQ(-16, info.m_lf.lfHeight);
    EXPECT_NE(nullptr, info.GetKerningTable(&pairs));
    EXPECT_EQ(RGB(9, 9, 9), info.GetColour());

    // A font without pairs has no kerning table, and the old one is gone with the old font.
    SetTestFont(&info, "Liberation Mono", 16);
    EXPECT_TRUE(info.IsTrueType());
    EXPECT_EQ(nullptr, info.GetKerningTable(&pairs));
    EXPECT_EQ(0, pairs);
    EXPECT_EQ(KERNING_NOT_FOUND, info.KerningAmount('A', 'V'));
    EXPECT_EQ(info.GetWidthTable()['A'] + info.GetWidthTable()['V'], WidthOf(info, "AV"));
}

// A scalable font that is not TrueType (a PostScript outline font here) has neither ABC
// widths nor kerning: what the previous font left must be gone, and no overhang is added.
TEST_F(FontInfoTest, AFontThatIsNotTrueTypeHasNoAbcOrKerningTables)
{
    SetTestFont(&info, "Liberation Sans", 16);
    ASSERT_NE(nullptr, info.GetABCTable());
    SetTestFont(&info, "Nimbus Sans", 16);
    EXPECT_FALSE(info.IsTrueType());
    EXPECT_EQ(nullptr, info.GetABCTable());
    int pairs = -1;
    EXPECT_EQ(nullptr, info.GetKerningTable(&pairs));
    EXPECT_EQ(0, pairs);
    EXPECT_EQ(nullptr, info.m_pKerningIndex);
    const std::string s = "jAV\tf";
    std::vector<int> adv = AdvancesOf(info, s);
    EXPECT_EQ(std::accumulate(adv.begin(), adv.end(), 0), WidthOf(info, s));
    EXPECT_EQ(Width(info, 'A'), adv[1]);
    EXPECT_EQ(0, (adv[0] + adv[1] + adv[2] + adv[3]) % info.TabUnit());
}

// Measuring takes a line two bytes at a time from a table of pairs (one byte and its kerning
// in a kerned font) and its last bytes as a word filled up with NULs: every range must sum as
// the advances one by one do, with and without kerning, with an overhang, and in a font too
// large for the table.
TEST_F(FontInfoTest, SumsOfRangesMatchTheAdvancesOneByOne)
{
    struct Case {
        const char* face;
        int height;
        int italic;
        bool table;
    };
    const Case cases[] = {{"Liberation Sans", 16, 0, true},
                          {"DejaVu Sans", 15, 0, true},
                          {"Nimbus Sans", 16, 1, true},
                          {"Liberation Sans", 40000, 0, false}};
    std::mt19937 rng(99);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.face << " " << c.height);
        SetTestFont(&info, c.face, c.height, c.italic);
        EXPECT_EQ(c.table, info.m_pPairAdvances != nullptr);
        for (int round = 0; round < 400; round++) {
            const int n = 1 + static_cast<int>(rng() % 40);
            std::string s;
            for (int i = 0; i < n; i++)
                s += rng() % 8 ? "AVTWa. ,\t"[rng() % 9] : static_cast<char>(1 + rng() % 255);
            std::vector<int> adv = AdvancesOf(info, s);
            const int from = static_cast<int>(rng() % (n + 1));
            const int to = from + static_cast<int>(rng() % (n - from + 1));
            const int before = std::accumulate(adv.begin(), adv.begin() + from, 0);
            ASSERT_EQ(std::accumulate(adv.begin(), adv.begin() + to, 0),
                      info.SumAdvances(s.data(), n, from, to, before))
                << "bytes " << from << " to " << to << " of " << n;
        }
    }
}

// The lookup table must answer exactly what a search of the records from the first would.
TEST_F(FontInfoTest, KerningLookupMatchesTheFirstRecordOfEachPair)
{
    for (const char* face : {"Liberation Sans", "DejaVu Sans"}) {
        SetTestFont(&info, face, 16);
        int pairs = 0;
        const KERNINGPAIR* records = info.GetKerningTable(&pairs);
        ASSERT_NE(nullptr, records) << face;
        std::vector<int> expected(65536, KERNING_NOT_FOUND);
        for (int i = pairs - 1; i >= 0; i--) {
            if (records[i].wFirst < 256 && records[i].wSecond < 256)
                expected[records[i].wFirst << 8 | records[i].wSecond] = records[i].iKernAmount;
        }
        int mismatches = 0;
        for (int a = 0; a < 256; a++) {
            for (int b = 0; b < 256; b++) {
                if (info.KerningAmount(static_cast<unsigned char>(a),
                                       static_cast<unsigned char>(b)) != expected[a << 8 | b])
                    mismatches++;
            }
        }
        EXPECT_EQ(0, mismatches) << face << " with " << pairs << " pairs";
    }
}

TEST_F(FontInfoTest, KerningAdjustsTheFirstCharacterOfAPair)
{
    SetTestFont(&info, "Liberation Sans", 16);
    int pairs = 0;
    const KERNINGPAIR* records = info.GetKerningTable(&pairs);
    ASSERT_NE(nullptr, records);
    const KERNINGPAIR* negative = nullptr;
    const KERNINGPAIR* high = nullptr;
    for (int i = 0; i < pairs; i++) {
        const KERNINGPAIR& k = records[i];
        if (!negative && k.iKernAmount < 0 && k.wFirst > 32 && k.wSecond > 32 && k.wFirst < 128 &&
            k.wSecond < 128 && info.KerningAmount(k.wFirst, k.wFirst) == KERNING_NOT_FOUND)
            negative = &k;
        if (!high && k.iKernAmount != 0 && (k.wFirst >= 128 || k.wSecond >= 128))
            high = &k;
    }
    ASSERT_NE(nullptr, negative);
    unsigned char a = static_cast<unsigned char>(negative->wFirst);
    unsigned char b = static_cast<unsigned char>(negative->wSecond);
    std::string pair{static_cast<char>(a), static_cast<char>(b)};
    std::vector<int> adv = AdvancesOf(info, pair);
    EXPECT_EQ(Width(info, a) + negative->iKernAmount, adv[0]);
    EXPECT_EQ(Width(info, b), adv[1]) << "the last character has no pair to kern with";

    std::string reversed{static_cast<char>(b), static_cast<char>(a)};
    if (!Kerns(info, b, a)) {
        EXPECT_EQ(Width(info, b), AdvancesOf(info, reversed)[0]) << "an absent pair adds nothing";
    }

    if (high) {
        std::string s{static_cast<char>(high->wFirst), static_cast<char>(high->wSecond)};
        EXPECT_EQ(Width(info, static_cast<unsigned char>(high->wFirst)) + high->iKernAmount,
                  AdvancesOf(info, s)[0])
            << "codes 128-255 kern as unsigned bytes";
    }
}

TEST_F(FontInfoTest, TabsAdvanceToTheNextStopFromTheLineStart)
{
    SetTestFont(&info, "DejaVu Sans", 16);
    const int tab = 4 * info.TextMetrics().tmAveCharWidth;
    ASSERT_EQ(tab, info.TabUnit());
    unsigned char c = PlainLetter(info);
    const int w = Width(info, c);

    // What a tab after sum pixels advances to reach the next stop.
    auto toStop = [tab](int sum) { return sum % tab ? (sum / tab + 1) * tab - sum : tab; };

    std::vector<int> adv = AdvancesOf(info, "\t\t");
    EXPECT_EQ(tab, adv[0]) << "a tab at the line start is a whole unit";
    EXPECT_EQ(tab, adv[1]);

    adv = AdvancesOf(info, std::string(1, static_cast<char>(c)) + "\t");
    EXPECT_EQ(toStop(w), adv[1]) << "last character a tab";

    // Runs of c that end between two stops, and one that ends exactly on a stop.
    for (int n = 1; n * w <= 3 * tab; n++) {
        std::string s(n, static_cast<char>(c));
        s += "\tx";
        adv = AdvancesOf(info, s);
        EXPECT_EQ(toStop(n * w), adv[n]) << n << " characters of width " << w;
        EXPECT_EQ(0, (n * w + adv[n]) % tab);
    }

    adv = AdvancesOf(info, std::string("\t") + static_cast<char>(c) + "\t");
    EXPECT_EQ(toStop(tab + w), adv[2]) << "stops count from the line start, not the last tab";
}

TEST_F(FontInfoTest, KerningWithATabStillAppliesToTheFirstCharacter)
{
    // Make a tab kern: the advances must add the amount to the character before it.
    SetTestFont(&info, "Liberation Sans", 16);
    ASSERT_NE(nullptr, info.m_pKerningIndex);
    unsigned char c = PlainLetter(info);
    info.m_pKerningIndex[c << 8 | '\t'] = -2;
    std::vector<int> adv = AdvancesOf(info, std::string(1, static_cast<char>(c)) + "\t");
    EXPECT_EQ(Width(info, c) - 2, adv[0]);
    EXPECT_EQ(0, (adv[0] + adv[1]) % info.TabUnit());
}

TEST_F(FontInfoTest, ATabUnitOfZeroDoesNotDivideByZero)
{
    SetTestFont(&info, "Liberation Sans", 16);
    info.m_tm.tmAveCharWidth = 0;
    info.m_tm.tmHeight = 0;
    EXPECT_EQ(1, info.TabUnit());
    EXPECT_EQ(1, info.AverageWidth());
    EXPECT_EQ(1, info.LineHeight());
    std::vector<int> adv = AdvancesOf(info, "a\t\t");
    EXPECT_EQ(1, adv[2]);
}

TEST_F(FontInfoTest, MeasureAddsTheOverhangOfTheFirstAndLastCharacter)
{
    SetTestFont(&info, "DejaVu Sans", 16);
    const ABC* abc = info.GetABCTable();
    ASSERT_NE(nullptr, abc);
    unsigned char left = 0, right = 0;
    for (unsigned char c = 33; c < 127; c++) {
        if (!left && abc[c].abcA < 0)
            left = c;
        if (!right && static_cast<int>(abc[c].abcC) < 0)
            right = c;
    }
    ASSERT_NE(0, left) << "no printable character with a left overhang";
    ASSERT_NE(0, right) << "no printable character with a right overhang";
    auto plainSum = [&](const std::string& s) {
        std::vector<int> adv = AdvancesOf(info, s);
        return std::accumulate(adv.begin(), adv.end(), 0);
    };

    std::string s = std::string(1, static_cast<char>(left)) + "mm";
    EXPECT_EQ(plainSum(s) - abc[left].abcA, WidthOf(info, s));
    s = std::string("mm") + static_cast<char>(right);
    EXPECT_EQ(plainSum(s) - static_cast<int>(abc[right].abcC), WidthOf(info, s));
    s = std::string(" ") + static_cast<char>(left) + "m";
    EXPECT_EQ(plainSum(s), WidthOf(info, s)) << "a space first has no overhang";
    s = std::string("\t") + static_cast<char>(left) + "m";
    EXPECT_EQ(plainSum(s), WidthOf(info, s)) << "a tab first has no overhang";
    s = std::string(1, static_cast<char>(left));
    int overhangs = -abc[left].abcA + (static_cast<int>(abc[left].abcC) < 0 ? -abc[left].abcC : 0);
    EXPECT_EQ(plainSum(s) + overhangs, WidthOf(info, s)) << "one character is first and last";
}

TEST_F(FontInfoTest, MeasureReturnsTheAdvancesOnlyWhenKept)
{
    SetTestFont(&info, "DejaVu Sans", 16);
    const std::string s = "Tab\there, \xe9t\xe9 AV";
    SIZE size = {0, 0};
    int* kept = info.Measure(s.data(), static_cast<int>(s.size()), &size, 1);
    ASSERT_NE(nullptr, kept);
    EXPECT_EQ(AdvancesOf(info, s), std::vector<int>(kept, kept + s.size()));
    free(kept);
    EXPECT_EQ(info.TextMetrics().tmHeight, size.cy);
    EXPECT_EQ(size.cx, info.LineWidth(s.data(), static_cast<int>(s.size())));

    EXPECT_EQ(nullptr, info.Measure("", 0, &size, 1));
    EXPECT_EQ(0, size.cx);
    EXPECT_EQ(info.TextMetrics().tmHeight, size.cy);
    int out[1];
    EXPECT_EQ(0, info.Advances("a", 0, out));
    EXPECT_EQ(0, info.Advances("a", 1, nullptr));

    // High codes index the width table as unsigned bytes.
    EXPECT_EQ(Width(info, 0xE9), WidthOf(info, "\xe9"));
    EXPECT_EQ(Width(info, 0xFF), WidthOf(info, "\xff"));
}

TEST(BlankTabs, ReplacesOnlyTabsInTheRange)
{
    char s[] = "\ta\t b\t";
    BlankTabs(s, 5);
    EXPECT_STREQ(" a  b\t", s);
}

// On a device in MM_LOENGLISH the y axis points up: the converted height must keep the sign
// that says whether it is a character height or a cell height.
TEST(PrinterFont, KeepsTheSignOfTheHeight)
{
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HDC printer = CreateCompatibleDC(screen);
    ASSERT_NE(nullptr, printer);
    SetMapMode(printer, MM_LOENGLISH);
    for (int height : {-16, 16}) {
        CFontInfo shown(nullptr), printed(nullptr);
        HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                                 "Liberation Sans");
        shown.SetFont(font, screen, RGB(1, 2, 3));
        ASSERT_EQ(1, printed.MakePrinterFont(&shown, printer));
        EXPECT_EQ(height < 0, printed.m_lf.lfHeight < 0) << height;
        EXPECT_GT(abs(printed.m_lf.lfHeight), abs(height)) << "0.01 inch is finer than a pixel";
        EXPECT_EQ(PROOF_QUALITY, printed.m_lf.lfQuality);
        EXPECT_EQ(RGB(1, 2, 3), printed.GetColour());
        EXPECT_NE(shown.GetFont(), printed.GetFont());
    }
    CFontInfo printed(nullptr);
    EXPECT_EQ(0, printed.MakePrinterFont(nullptr, printer));
    DeleteDC(printer);
    DeleteDC(screen);
}
