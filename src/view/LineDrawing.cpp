#include "view/LineDrawing.h"

#include <stdlib.h>
#include <string.h>

#include "view/FontInfo.h"

int LineOverhang(const CFontInfo* font, const char* line, int length)
{
    const ABC* abc = font->GetABCTable();
    if (!abc || length <= 0)
        return 0;
    int a = abc[static_cast<unsigned char>(line[0])].abcA;
    return a < 0 ? -a : 0;
}

int* LineAdvances(const CFontInfo* font, const char* line, int length)
{
    if (length <= 0)
        return nullptr;
    int* advances = static_cast<int*>(malloc(length * sizeof(int)));
    if (advances && !font->Advances(line, length, advances)) {
        free(advances);
        return nullptr;
    }
    return advances;
}

int SumAdvances(const int* advances, int from, int count)
{
    int sum = 0;
    for (int i = from; i < from + count; i++)
        sum += advances[i];
    return sum;
}

void DrawLineSpan(HDC dc, const CFontInfo* font, const char* line, const int* advances,
                  int from, int count, int x0, int y, int left, int right)
{
    if (count <= 0 || !advances)
        return;
    // A glyph may reach past its advance cell; keep the neighbours of the visible part.
    int slack = font->TextMetrics().tmMaxCharWidth + font->TabUnit();
    int x = x0 + SumAdvances(advances, 0, from);
    int end = from + count;
    int first = from;
    while (first < end && x + advances[first] < left - slack)
        x += advances[first++];
    int last = first;
    int limit = x;
    while (last < end && limit < right + slack)
        limit += advances[last++];
    int n = last - first;
    if (n <= 0)
        return;
    char* copy = static_cast<char*>(malloc(n));
    if (!copy)
        return;
    memcpy(copy, line + first, n);
    BlankTabs(copy, n);
    ExtTextOutA(dc, x, y, 0, nullptr, copy, n, const_cast<int*>(advances + first));
    free(copy);
}
