// Find Next's scan over a 20 MB text, and replace all of 100,000 occurrences in a 10 MB text
// with its undo and redo, as the Replace dialog's buttons reach them.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/TextDocument.h"
#include "document/TextMatch.h"
#include "support/BenchSupport.h"

static void ScanFigures()
{
    CTextDocument doc(nullptr, nullptr, nullptr);
    std::string text = SampleText(20u << 20, "\r");
    doc.InsertText(text.data(), static_cast<int>(text.size()), 0);
    const char* patterns[] = {"wolf", "Wolf at the door"};
    for (const char* pattern : patterns) {
        for (int options : {static_cast<int>(FIND_MATCHCASE), 0, static_cast<int>(FIND_WHOLEWORD)}) {
            CTextMatcher matcher;
            matcher.Set(pattern, static_cast<int>(strlen(pattern)), options);
            double best = 1e9;
            for (int run = 0; run < 3; run++) {
                double start = Seconds();
                int found = matcher.Find(doc.GetTextAt(0), doc.GetTextLength(), 0,
                                         doc.GetTextLength(), 1);
                best = std::min(best, Seconds() - start);
                if (found >= 0)
                    printf("unexpected match\n");
            }
            printf("find next, \"%s\", options %d, %.1f MB scanned: %.1f ms, %.2f GB/s\n", pattern,
                   options, doc.GetTextLength() / 1048576.0, best * 1000,
                   doc.GetTextLength() / best / 1e9);
        }
    }
}

static void ReplaceAllFigures()
{
    std::string text = SampleText(10u << 20, "\r");
    // Only the first 100,000 foxes stay foxes.
    size_t at = 0;
    for (int n = 0; (at = text.find("fox", at)) != std::string::npos; n++, at += 3) {
        if (n >= 100000)
            text.replace(at, 3, "elk");
    }
    CTextDocument doc(nullptr, nullptr, nullptr);
    doc.InsertText(text.data(), static_cast<int>(text.size()), 0);
    double start = Seconds();
    CTextMatcher matcher;
    matcher.Set("FOX", 3, 0);
    std::vector<int> found;
    const char* t = doc.GetTextAt(0);
    int length = doc.GetTextLength();
    for (int i = matcher.Find(t, length, 0, length - 3, 1); i >= 0;
         i = matcher.Find(t, length, i + 3, length - 3, 1))
        found.push_back(i);
    double collected = Seconds();
    doc.ReplaceAllWithUndo(found.data(), static_cast<int>(found.size()), 3, "coyote", 6, 0);
    double replaced = Seconds();
    doc.Undo();
    double undone = Seconds();
    doc.Redo();
    double redone = Seconds();
    printf("replace all, %.1f MB, %d occurrences: collect %.0f ms, replace %.0f ms, "
           "undo %.0f ms, redo %.0f ms\n",
           length / 1048576.0, static_cast<int>(found.size()), (collected - start) * 1000,
           (replaced - collected) * 1000, (undone - replaced) * 1000, (redone - undone) * 1000);
}

int main()
{
    ScanFigures();
    ReplaceAllFigures();
    return 0;
}
