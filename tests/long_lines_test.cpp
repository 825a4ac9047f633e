#include <gtest/gtest.h>

#include <stdlib.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "document/LineSteps.h"
#include "document/TextHelpers.h"
#include "document/TextDocument.h"
#include "support/TestSupport.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/FontInfo.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"

namespace {

// Kerned pairs, tabs, blanks and bytes above 127, as long lines hold them.
const char* const PIECES[] = {"AV", "To", "Wa", "Ty", "\t", " ", "m", "\xE9", "\xC6\xFF", "LT"};

std::string RandomBytes(std::mt19937& random, int count)
{
    std::string s;
    while (static_cast<int>(s.size()) < count)
        s += PIECES[random() % (sizeof(PIECES) / sizeof(PIECES[0]))];
    s.resize(count);
    return s;
}

// count lines, line i of bytes + i * growth random bytes, each ending in a line break.
std::string RandomLines(unsigned seed, int count, int bytes, int growth)
{
    std::mt19937 random(seed);
    std::string text;
    for (int i = 0; i < count; i++)
        text += RandomBytes(random, bytes + i * growth) + "\r";
    return text;
}

CEditDisplay* FocusedItalicView(ViewHarness& h)
{
    CEditDisplay* v = h.View();
    SetTestFont(h.m_pDocument, "DejaVu Sans", 16, 1);
    SetFocus(v->m_hWnd);
    return v;
}

std::vector<int> FullAdvances(const CFontInfo* font, const char* line, int n)
{
    std::vector<int> advances(n > 0 ? n : 1);
    if (n > 0)
        font->Advances(line, n, advances.data());
    return advances;
}

} // namespace

// Every edit of a long line moves its measuring points instead of measuring it again: the
// table, the widest line and the sums at any byte must still equal a full measure.
TEST(LongLines, EditsKeepTheLineTableAndTheSumsExact)
{
    for (int italic = 0; italic <= 1; italic++) {
        CTextDocument doc(nullptr, nullptr, nullptr);
        SetTestFont(&doc, "DejaVu Sans", 16, italic);
        std::mt19937 random(1234 + italic);
        SetText(doc, RandomBytes(random, 9000) + "\r" + RandomBytes(random, 12000) + "\r" +
                         RandomBytes(random, 3000));
        const CFontInfo* font = doc.GetFontInfo();
        for (int step = 0; step < 1500; step++) {
            int length = doc.GetTextLength();
            int at = static_cast<int>(random() % (length + 1));
            int kind = random() % 8;
            if (kind < 4) {
                std::string bytes = RandomBytes(random, 1 + random() % (kind == 0 ? 6000 : 3));
                if (kind == 3 && step % 50 == 0)
                    bytes += "\r";
                ASSERT_EQ(1, doc.InsertText(bytes.data(), static_cast<int>(bytes.size()), at));
            } else if (at < length) {
                int count = 1 + random() % (kind == 4 ? 4000 : 3);
                if (count > length - at)
                    count = length - at;
                ASSERT_EQ(1, doc.RemoveText(at, count));
            }
            ASSERT_TRUE(LineTableMatchesText(&doc)) << "after step " << step;

            // The sums at a few bytes of the line of a random index, against a full walk.
            int index = static_cast<int>(random() % (doc.GetTextLength() + 1));
            int start = index;
            while (start > 0 && doc.GetTextAt(0)[start - 1] != '\r')
                start--;
            const char* line = doc.GetTextAt(start);
            int n = 0;
            while (line[n] && line[n] != '\r')
                n++;
            // The kept line answers as a scan from the text start would, through the edits.
            int keptStart, keptLength;
            int number = doc.LineAt(index, &keptStart, &keptLength);
            ASSERT_EQ(CountLines(doc.GetTextAt(0), start) - 1, number) << "step " << step;
            ASSERT_EQ(start, keptStart) << "step " << step;
            ASSERT_EQ(n, keptLength) << "step " << step;
            std::vector<int> advances = FullAdvances(font, line, n);
            int i = index - start;
            int expected = std::accumulate(advances.begin(), advances.begin() + i, 0);
            ASSERT_EQ(expected, doc.GetLineSteps()->SumTo(line, n, i))
                << "step " << step << ", byte " << i << " of a line of " << n;
        }
    }
}

// A byte above 127 with a glyph that reaches left is counted alike by the line width and
// the caret; blanks reach nowhere.
TEST(LongLines, TheWidthAndTheCaretCountTheSameLeftOverhang)
{
    ViewHarness h("x");
    CEditDisplay* v = h.View();
    SetTestFont(h.m_pDocument, "DejaVu Sans", 16, 1);
    const CFontInfo* font = v->GetFontInfo();
    const ABC* abc = font->GetABCTable();
    ASSERT_NE(nullptr, abc);
    int c = 128;
    while (c < 256 && abc[c].abcA >= 0)
        c++;
    ASSERT_LT(c, 256) << "no byte above 127 reaches left";
    std::string text = std::string(1, static_cast<char>(c)) + "mm";
    ASSERT_EQ(1, h.m_pDocument->InsertText(text.data(), 3, 0));
    ASSERT_EQ(1, h.m_pDocument->RemoveText(3, 1));
    std::vector<int> advances = FullAdvances(font, text.data(), 3);
    int overhang = -abc[c].abcA;
    EXPECT_EQ(advances[0] + advances[1] + advances[2] + overhang + font->RightOverhang('m'),
              h.m_pDocument->GetLineWidth(0));
    POINT p;
    ASSERT_EQ(1, v->PointFromIndex(1, &p));
    EXPECT_EQ(VIEW_LEFT_MARGIN + overhang + advances[0], p.x);
    EXPECT_EQ(0, font->LeftOverhang(' '));
    EXPECT_EQ(0, font->LeftOverhang('\t'));
}

namespace {

// The picture of a view drawn with every visible line measured whole: the text, then the
// selection's boxes and its text in white, as the view draws them.
ViewPicture FullMeasurePicture(CEditDisplay* v, int width, int height)
{
    return ViewPicture(width, height, [v, width, height](HDC dc) {
        const CTextDocument* doc = v->m_pDocument;
        const CFontInfo* font = doc->GetFontInfo();
        HGDIOBJ oldFont = SelectObject(dc, font->GetFont());
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetBkMode(dc, TRANSPARENT);
        HBRUSH navy = CreateSolidBrush(RGB(0, 0, 128));
        const int scroll = v->GetHorzPos() * v->m_nCharWidth;
        const int slack = 200;
        const int selStart = v->m_pSelection->Start(), selEnd = v->m_pSelection->End();
        int index = v->m_nTopIndex;
        for (int y = 0; y < height && index < doc->GetTextLength(); y += v->m_nLineHeight) {
            const char* line = doc->GetTextAt(index);
            int n = 0;
            while (line[n] && line[n] != '\r')
                n++;
            std::vector<int> advances = FullAdvances(font, line, n);
            int x0 = VIEW_LEFT_MARGIN + font->LeftOverhang(static_cast<unsigned char>(line[0])) - scroll;
            // Draws bytes [from, to) in colour where they can show.
            auto draw = [&](int from, int to, COLORREF colour) {
                SetTextColor(dc, colour);
                int x = x0;
                for (int i = 0; i < to; i++) {
                    if (i >= from && x > -slack && x < width + slack) {
                        char byte = line[i] == '\t' ? ' ' : line[i];
                        ExtTextOutA(dc, x, y, 0, nullptr, &byte, 1, &advances[i]);
                    }
                    x += advances[i];
                }
            };
            draw(0, n, RGB(0, 0, 0));
            int from = selStart > index ? selStart - index : 0;
            int to = selEnd < index + n ? selEnd - index : n;
            if (!v->m_pSelection->IsEmpty() && from <= n && selEnd > index) {
                auto sum = [&](int k) { return std::accumulate(advances.begin(), advances.begin() + k, 0); };
                int left = from == 0 ? VIEW_LEFT_MARGIN - scroll : x0 + sum(from);
                int right = x0 + sum(to) + (selEnd > index + n ? v->m_nCharWidth : 0);
                RECT box = {left, y, right, y + v->m_nLineHeight};
                FillRect(dc, &box, navy);
                draw(from, to, RGB(255, 255, 255));
            }
            index += n + 1;
        }
        DeleteObject(navy);
        SelectObject(dc, oldFont);
    });
}

int Differences(const ViewPicture& picture, const ViewPicture& expected)
{
    int differ = 0;
    for (size_t i = 0; i < expected.m_pixels.size(); i++)
        differ += (picture.m_pixels[i] & 0xFFFFFF) != (expected.m_pixels[i] & 0xFFFFFF);
    return differ;
}

} // namespace

// Far to the right on a screen of long lines, after edits there, the picture with and
// without a selection is the one that measuring every line whole gives.
TEST(LongLines, AScreenScrolledFarRightPaintsAsAFullMeasure)
{
    ViewHarness h(RandomLines(99, 30, 30000, 97), 500, 300);
    CEditDisplay* v = FocusedItalicView(h);
    int lines = 300 / v->m_nLineHeight;
    int middle = 3 * (30001) + 20000;
    ASSERT_TRUE(v->MoveCaret(middle));
    for (int i = 0; i < 20; i++)
        SendChar(v->m_hWnd, i % 3 ? 'V' : '\t');
    ASSERT_GT(v->GetHorzPos() * v->m_nCharWidth, 100000);

    ViewPicture plain(v);
    EXPECT_EQ(0, Differences(plain, FullMeasurePicture(v, plain.m_nWidth, plain.m_nHeight)));

    // From inside the top line's visible part to inside a line near the bottom.
    int top = v->m_nTopIndex;
    int anchor = 0, extent = 0;
    POINT corner = {150, v->m_nLineHeight / 2}, below = {350, (lines - 2) * v->m_nLineHeight};
    v->CaretFromPoint(corner);
    anchor = v->GetIndex();
    v->CaretFromPoint(below);
    extent = v->GetIndex();
    ASSERT_GT(anchor, top);
    SelectRange(v, anchor, extent);
    ViewPicture selected(v);
    EXPECT_GT(selected.Count(RGB(0, 0, 128)), 1000);
    EXPECT_EQ(0, Differences(selected, FullMeasurePicture(v, selected.m_nWidth, selected.m_nHeight)));
}

// Typing, deleting, breaking a line and scrolling sideways draw only the part of the
// picture they change; what is kept must be the picture that drawing it whole gives.
TEST(LongLines, PartialRepaintsLeaveTheWholePicture)
{
    ViewHarness h(RandomLines(7, 12, 5000, 31), 500, 300);
    CEditDisplay* v = FocusedItalicView(h);
    ASSERT_TRUE(v->MoveCaret(2 * 5032 + 3000));
    const WPARAM keys[] = {'V', '\t', 'W', 8, 'A', '\r', 'T', 8, 8, 'o'};
    for (int step = 0; step < 40; step++) {
        if (step == 30)
            SelectRange(v, v->GetIndex() - 700, v->GetIndex() + 900);
        if (step >= 30)
            v->OnHScroll(step % 2 ? SB_LINERIGHT : SB_PAGELEFT);
        else if (step % 4 == 3)
            SendMessageA(v->m_hWnd, WM_KEYDOWN, VK_RIGHT, 1);
        else
            SendChar(v->m_hWnd, keys[step % 10]);
        UpdateWindow(v->m_hWnd);
        ViewPicture kept(v);
        v->InvalidateView();
        ASSERT_EQ(0, Differences(kept, ViewPicture(v))) << "step " << step;
    }
    EXPECT_GT(v->GetHorzPos(), 100);
}
