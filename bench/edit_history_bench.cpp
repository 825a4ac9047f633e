// One undo and one redo of a replace of a whole 20 MB text, as the line sort makes it.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "document/TextDocument.h"
#include "support/BenchSupport.h"

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
    return 0;
}
