// Times building a document from a large text and single-byte edits in it, with the
// default font and with a heavily kerned TrueType font.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "document/TextDocument.h"
#include "support/BenchSupport.h"
#include "view/FontInfo.h"

namespace {

double Now()
{
    return Seconds() * 1000.0;
}

// About 20 MB in about 400,000 lines of words, with tabs and bytes of the upper half.
std::string MakeText()
{
    static const char* words[] = {"The", "quick", "brown", "fox", "AVAT", "jumps", "over",
                                  "lazy", "dog", "Typography", "W.A.", "\xe9t\xe9",
                                  "na\xefve", "\tindent", "int", "x", "=", "0;"};
    std::mt19937 rng(1);
    std::string text;
    text.reserve(21 << 20);
    for (int line = 0; line < 400000; line++) {
        int length = static_cast<int>(rng() % 100);
        size_t start = text.size();
        while (static_cast<int>(text.size() - start) < length) {
            text += words[rng() % (sizeof(words) / sizeof(words[0]))];
            text += ' ';
        }
        text += '\r';
    }
    text.pop_back();
    return text;
}

// The machine is shared: the best run shows the cost itself, the median what a busy
// machine makes of it.
struct Figures {
    std::vector<double> times;
    void Add(double ms) { times.push_back(ms); }
    double Best() { return *std::min_element(times.begin(), times.end()); }
    double Median()
    {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }
};

void Run(const char* name, const char* face, const std::string& text)
{
    CTextDocument doc(nullptr, nullptr, nullptr);
    if (face) {
        HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, face);
        doc.GetFontInfo()->SetFont(font, dc, 0);
        DeleteDC(dc);
    }
    char actual[LF_FACESIZE] = "";
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HGDIOBJ old = SelectObject(dc, doc.GetFontInfo()->GetFont());
    GetTextFaceA(dc, sizeof(actual), actual);
    SelectObject(dc, old);
    DeleteDC(dc);
    int pairs = 0;
    doc.GetFontInfo()->GetKerningTable(&pairs);

    double start = Now();
    doc.InsertText(text.data(), static_cast<int>(text.size()), 0);
    double build = Now() - start;
    start = Now();
    doc.RemeasureAllLines();
    double remeasure = Now() - start;

    printf("%s (%s, %d kerning pairs): %d bytes, %d lines\n", name, actual, pairs,
           doc.GetTextLength(), doc.GetLineCount());
    printf("  build the document and measure every line: %8.1f ms\n", build);
    printf("  measure every line again (font change):    %8.1f ms\n", remeasure);

    const int length = doc.GetTextLength();
    const struct {
        const char* where;
        int index;
    } places[] = {{"start", 20}, {"middle", length / 2}, {"end", length - 20}};
    for (const auto& place : places) {
        for (char byte : {'x', '\r'}) {
            Figures insert, remove;
            for (int i = 0; i < 25; i++) {
                start = Now();
                doc.InsertText(&byte, 1, place.index);
                insert.Add(Now() - start);
                start = Now();
                doc.RemoveText(place.index, 1);
                remove.Add(Now() - start);
            }
            printf("  %-6s %-4s insert: median %6.3f ms, best %6.3f; remove: median %6.3f ms, "
                   "best %6.3f\n",
                   place.where, byte == '\r' ? "CR" : "'x'", insert.Median(), insert.Best(),
                   remove.Median(), remove.Best());
        }
    }
}

} // namespace

int main()
{
    const std::string text = MakeText();
    Run("default font", nullptr, text);
    Run("kerned TrueType font", "DejaVu Sans", text);
    return 0;
}
