#include "view/LineDrawing.h"
#include "base/FailureSeam.h"

#include <stdlib.h>
#include <string.h>

#include "document/LineSteps.h"
#include "view/FontInfo.h"

int LineOverhang(const CFontInfo* font, const char* line, int length)
{
    return length > 0 ? font->LeftOverhang(static_cast<unsigned char>(line[0])) : 0;
}

void DrawLineSpan(HDC dc, const CFontInfo* font, CLineSteps* steps, const char* line,
                  int length, int from, int count, int x0, int y, int left, int right)
{
    if (count <= 0)
        return;
    // A glyph may reach past its advance cell; keep the neighbours of the visible part.
    int slack = font->TextMetrics().tmMaxCharWidth + font->TabUnit();
    int end = from + count;
    int before;
    int first = steps->FirstReaching(line, length, from, left - slack - x0, &before);
    if (first >= end)
        return;
    // From first on, up to the first byte that starts at or past the right edge.
    int last = first, sum = before;
    while (last < end && x0 + sum < right + slack)
        sum += font->AdvanceAt(line, length, last++, sum);
    int n = last - first;
    int x = x0 + before;
    if (n <= 0)
        return;
    char* copy = static_cast<char*>(SeamMalloc(n));
    int* advances = static_cast<int*>(SeamMalloc(n * sizeof(int)));
    if (copy && advances) {
        memcpy(copy, line + first, n);
        BlankTabs(copy, n);
        steps->Fill(line, length, first, n, before, advances);
        ExtTextOutA(dc, x, y, 0, nullptr, copy, n, advances);
    }
    free(copy);
    free(advances);
}
