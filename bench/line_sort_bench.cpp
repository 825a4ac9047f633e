// The line sort's three phases on shuffled lines of words and numbers, in the four orders:
// 100,000 lines should sort in well under 2 s, and 1,000,000 lines must stay in reach.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "document/LineSort.h"
#include "support/BenchSupport.h"

struct StepCount {
    int steps[3];
    int phase;
};

static void CountSteps(void* context, int notice, int, int)
{
    StepCount* count = static_cast<StepCount*>(context);
    if (notice == SORT_STEP)
        count->steps[count->phase]++;
    else if (notice == SORT_SET_POS)
        count->phase++;
}

static int Figures(const std::string& text, int lines, int order, const char* name)
{
    volatile int cancel = 0;
    StepCount count = {{0, 0, 0}, 0};
    double start = Seconds();
    CLineSort sort(text.c_str(), static_cast<int>(text.size()), order, &cancel, CountSteps,
                   &count);
    int made = sort.MakeRecords();
    double recorded = Seconds();
    int sorted = made && sort.SortRecords();
    double ordered = Seconds();
    int joined = sorted && sort.JoinRecords();
    double end = Seconds();
    if (!joined || strlen(sort.GetResult()) != text.size()) {
        printf("%s: the sort of %d lines went wrong\n", name, lines);
        return 0;
    }
    printf("%8d lines %-18s total %7.0f ms: records %5.0f, sort %7.0f, join %4.0f ms;"
           " steps %d/%d/%d\n",
           lines, name, (end - start) * 1000, (recorded - start) * 1000,
           (ordered - recorded) * 1000, (end - ordered) * 1000, count.steps[0], count.steps[1],
           count.steps[2]);
    return 1;
}

int main()
{
    static const struct {
        int order;
        const char* name;
    } orders[] = {{SORT_ASCENDING, "alphabetic"},
                  {SORT_DESCENDING, "reverse alphabetic"},
                  {SORT_ASCENDING | SORT_NUMERIC, "numeric"},
                  {SORT_DESCENDING | SORT_NUMERIC, "reverse numeric"}};
    for (int lines : {100000, 1000000}) {
        std::string text = SortableLines(lines);
        for (const auto& order : orders) {
            if (!Figures(text, lines, order.order, order.name))
                return 1;
        }
    }
    return 0;
}
