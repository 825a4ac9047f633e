// One undo and one redo of a replace of a whole 20 MB text, as the line sort makes it;
// and a replace all of one word on every line, which goes through the primitives once
// per occurrence.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/TextDocument.h"
#include "support/BenchSupport.h"

static void ReplaceAllFigures(unsigned int bytes)
{
    std::string text = SampleText(bytes, "\r");
    std::vector<int> at;
    for (size_t i = text.find("fox"); i != std::string::npos; i = text.find("fox", i + 3))
        at.push_back(static_cast<int>(i));
    CTextDocument doc(nullptr, nullptr, nullptr);
    doc.InsertText(text.data(), static_cast<int>(text.size()), 0);
    double start = Seconds();
    doc.ReplaceAllWithUndo(at.data(), static_cast<int>(at.size()), 3, "wolf", 4, 1);
    double replaced = Seconds();
    doc.Undo();
    double undone = Seconds();
    doc.Redo();
    double redone = Seconds();
    printf("replace all, %.1f MB, %d occurrences: replace %.0f ms, undo %.0f ms, redo %.0f ms\n",
           text.size() / 1048576.0, static_cast<int>(at.size()), (replaced - start) * 1000,
           (undone - replaced) * 1000, (redone - undone) * 1000);
}

int main()
{
    std::string text = SampleText(20u << 20, "\r");
    // The replacement differs on every line and is as long, as a case conversion would be.
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    int length = static_cast<int>(text.size());

    double bestReplace = 1e9, bestUndo = 1e9, bestRedo = 1e9;
    int lines = 0;
    for (int run = 0; run < 3; run++) {
        CTextDocument doc(nullptr, nullptr, nullptr);
        doc.InsertText(text.data(), length, 0);
        lines = doc.GetLineCount();
        double start = Seconds();
        int replaced = doc.ReplaceWithUndo(0, length, upper.data(), length);
        double afterReplace = Seconds();
        doc.Undo();
        double afterUndo = Seconds();
        doc.Redo();
        double afterRedo = Seconds();
        if (!replaced || doc.GetTextLength() != length ||
            memcmp(doc.GetTextAt(0), upper.data(), length)) {
            printf("replace, undo or redo went wrong\n");
            return 1;
        }
        bestReplace = std::min(bestReplace, afterReplace - start);
        bestUndo = std::min(bestUndo, afterUndo - afterReplace);
        bestRedo = std::min(bestRedo, afterRedo - afterUndo);
    }
    printf("edit history, replace of the whole text, %.1f MB, %d lines, best of 3\n",
           length / 1048576.0, lines);
    printf("  replace: %.0f ms\n", bestReplace * 1000);
    printf("  undo:    %.0f ms\n", bestUndo * 1000);
    printf("  redo:    %.0f ms\n", bestRedo * 1000);
    // Each occurrence moves the rest of the text twice: the cost grows with the square.
    ReplaceAllFigures(1u << 19);
    ReplaceAllFigures(1u << 20);
    return 0;
}
