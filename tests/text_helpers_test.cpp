#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "document/TextHelpers.h"

namespace {

// Text laid out as in a document: a NUL guard byte before it and a NUL after it.
struct Guarded {
    explicit Guarded(const std::string& text) : bytes(std::string(1, '\0') + text) {}
    const char* at(int index) const { return bytes.c_str() + 1 + index; }
    std::string bytes;
};

} // namespace

TEST(CountLines, CountsEveryCrInTheRange)
{
    EXPECT_EQ(1, CountLines("", 0));
    EXPECT_EQ(1, CountLines("abc", 3));
    EXPECT_EQ(4, CountLines("\r\r\r", 3));
    EXPECT_EQ(2, CountLines("a\rb\rc", 3)) << "a CR past the range counts";
    EXPECT_EQ(3, CountLines("a\rb\rc", 4));
    EXPECT_EQ(1, CountLines("a\n\nb", 4)) << "LF is no line break";
}

// The count runs over wide chunks: lengths and offsets around the chunk sizes, long runs of
// CR that overflow any small counter, and bytes that differ from CR only in the high bit.
TEST(CountLines, AgreesWithAPlainCountAtEveryLengthAndOffset)
{
    std::mt19937 rng(3);
    std::string text(20000, 0);
    for (char& c : text) {
        unsigned roll = rng() % 4;
        c = roll == 0 ? '\r' : roll == 1 ? static_cast<char>(0x8D) : static_cast<char>(rng());
    }
    for (int offset = 0; offset < 17; offset++) {
        for (int n : {0, 1, 15, 16, 17, 31, 32, 33, 4079, 4080, 4081, 8161, 19000}) {
            const char* p = text.data() + offset;
            int expected = 1 + static_cast<int>(std::count(p, p + n, '\r'));
            ASSERT_EQ(expected, CountLines(p, n)) << "offset " << offset << ", " << n << " bytes";
        }
    }
    std::string breaks(255 * 16 * 3 + 5, '\r');
    EXPECT_EQ(static_cast<int>(breaks.size()) + 1,
              CountLines(breaks.data(), static_cast<int>(breaks.size())));
    EXPECT_EQ(1, CountLines(breaks.data(), -5));
}

TEST(LineScanners, StopAtCrOrNul)
{
    Guarded g("ab \t cd\r\r\t x");
    EXPECT_EQ(7, LineLength(g.at(0)));
    EXPECT_EQ(0, LineLength(g.at(7)));
    EXPECT_EQ(0, LineLength(g.at(8)));
    EXPECT_EQ(3, LineLength(g.at(9)));

    int rest = -1;
    EXPECT_EQ(g.at(5), SkipBlanks(g.at(2), &rest));
    EXPECT_EQ(2, rest);
    EXPECT_EQ(g.at(11), SkipBlanks(g.at(9), &rest));
    EXPECT_EQ(1, rest);
    EXPECT_EQ(g.at(8), SkipBlanks(g.at(8), &rest)) << "CR is not blank";
    EXPECT_EQ(0, rest);

    EXPECT_EQ(1, IsLineStart(g.at(0))) << "the guard byte starts the text";
    EXPECT_EQ(0, IsLineStart(g.at(1)));
    EXPECT_EQ(1, IsLineStart(g.at(8)));
    EXPECT_EQ(1, IsLineStart(g.at(9)));
    EXPECT_EQ(0, IsLineStart(g.at(10)));
}

TEST(CharacterTests, CoverEveryByte)
{
    for (int c = 0; c < 256; c++) {
        unsigned char b = static_cast<unsigned char>(c);
        bool digit = c >= '0' && c <= '9';
        bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        EXPECT_EQ(digit ? 1 : 0, IsAsciiDigit(b)) << c;
        EXPECT_EQ(digit || alpha ? 1 : 0, IsAsciiAlnum(b)) << c;
        EXPECT_EQ(c <= 32 || c >= 127 ? 1 : 0, IsBlankOrControl(b)) << c;
    }
}

TEST(CharClass, SortsBytesForWordMovement)
{
    EXPECT_EQ(CHARCLASS_NUL, CharClass(0));
    EXPECT_EQ(CHARCLASS_CR, CharClass('\r'));
    EXPECT_EQ(CHARCLASS_BLANK, CharClass(' '));
    EXPECT_EQ(CHARCLASS_BLANK, CharClass('\t'));
    EXPECT_EQ(CHARCLASS_ALNUM, CharClass('a'));
    EXPECT_EQ(CHARCLASS_ALNUM, CharClass('Z'));
    EXPECT_EQ(CHARCLASS_ALNUM, CharClass('7'));
    EXPECT_EQ(CHARCLASS_ALNUM, CharClass(0xE9)) << "letters of the code page are word bytes";
    EXPECT_EQ(CHARCLASS_OTHER, CharClass('.'));
    EXPECT_EQ(CHARCLASS_OTHER, CharClass('\n'));
}

TEST(MoveByLines, FindsLineStartsAndTracksTheIndex)
{
    Guarded g("one\rtwo\r\rfour");
    int length = -1, index = 5;
    EXPECT_EQ(g.at(4), MoveByLines(0, &length, &index, g.at(5)));
    EXPECT_EQ(4, index);
    EXPECT_EQ(3, length);

    index = 5;
    EXPECT_EQ(g.at(0), MoveByLines(-1, &length, &index, g.at(5)));
    EXPECT_EQ(0, index);
    EXPECT_EQ(3, length);

    index = 10;
    EXPECT_EQ(g.at(8), MoveByLines(-1, &length, &index, g.at(10))) << "the empty third line";
    EXPECT_EQ(8, index);
    EXPECT_EQ(0, length);

    index = 1;
    EXPECT_EQ(g.at(9), MoveByLines(3, &length, &index, g.at(1)));
    EXPECT_EQ(9, index);
    EXPECT_EQ(4, length);

    index = 0;
    EXPECT_EQ(g.at(8), MoveByLines(2, &length, &index, g.at(0)));
    EXPECT_EQ(8, index);
    EXPECT_EQ(0, length);
}

TEST(MoveByLines, StopsAtBothEndsOfTheText)
{
    Guarded g("one\rtwo\rthree");
    int length = -1, index = 2;
    EXPECT_EQ(g.at(0), MoveByLines(-1, &length, &index, g.at(2)));
    EXPECT_EQ(0, index);
    EXPECT_EQ(0, length) << "no line above the first";

    index = 9;
    EXPECT_EQ(g.at(0), MoveByLines(-100, &length, &index, g.at(9)));
    EXPECT_EQ(0, index);
    EXPECT_EQ(3, length);

    index = 0;
    EXPECT_EQ(g.at(13), MoveByLines(100, &length, &index, g.at(0)));
    EXPECT_EQ(13, index) << "the end of the text";
    EXPECT_EQ(0, length);

    index = 10;
    EXPECT_EQ(g.at(13), MoveByLines(1, &length, &index, g.at(10)));
    EXPECT_EQ(13, index);
    EXPECT_EQ(0, length);

    Guarded empty("");
    index = 0;
    EXPECT_EQ(empty.at(0), MoveByLines(1, &length, &index, empty.at(0)));
    EXPECT_EQ(0, index);
    EXPECT_EQ(empty.at(0), MoveByLines(-1, &length, &index, empty.at(0)));
    EXPECT_EQ(0, index);

    Guarded trailing("ab\r");
    index = 0;
    EXPECT_EQ(trailing.at(3), MoveByLines(1, &length, &index, trailing.at(0)))
        << "a text ending in CR has an empty last line";
    EXPECT_EQ(3, index);
    EXPECT_EQ(0, length);
}
