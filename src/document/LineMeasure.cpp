// The measuring pass of loading and of a new font: every line's width and the widest line.
#include "document/TextDocument.h"

#include "document/LineSteps.h"
#include "document/TextHelpers.h"

// The lines from p, numbered from first, up to the one that ends at stop (a CR, or the NUL
// after the text). Long lines keep measuring points, which only one thread may build: the
// helper's run measures the short lines alone, and a second run the long ones.
struct CTextDocument::LineRun {
    enum Which { ALL, SHORT, LONG };
    CTextDocument* document;
    const char* p;
    int first;
    const char* stop;
    Which which;
    // Out: the first of the greatest width among the lines measured (width 0, line -1 when
    // none is wider than 0), and the number of lines left out.
    int widest;
    int widestLine;
    int skipped;

    // Of this run's and another's widest line over the same lines: the wider, on a tie the
    // earlier.
    void TakeWidest(const LineRun& other)
    {
        if (other.widest > widest || (other.widest == widest && other.widestLine >= 0 &&
                                      (widestLine < 0 || other.widestLine < widestLine))) {
            widest = other.widest;
            widestLine = other.widestLine;
        }
    }
};

void CTextDocument::MeasureRun(LineRun* run)
{
    CBreakScanner breaks(run->p);
    const char* p = run->p;
    run->widest = 0;
    run->widestLine = -1;
    run->skipped = 0;
    for (int line = run->first;; line++) {
        const char* end = breaks.Next();
        int length = static_cast<int>(end - p);
        bool isLong = length >= LONG_LINE;
        if (run->which == LineRun::ALL || (run->which == LineRun::LONG) == isLong) {
            int width = m_pSteps->Width(p, length);
            m_pLineWidths[line] = width;
            if (width > run->widest) {
                run->widest = width;
                run->widestLine = line;
            }
        } else {
            run->skipped++;
        }
        if (end == run->stop)
            return;
        p = end + 1;
    }
}

DWORD WINAPI CTextDocument::MeasureSecondHalf(void* parameter)
{
    LineRun* run = static_cast<LineRun*>(parameter);
    run->document->MeasureRun(run);
    return 0;
}

void CTextDocument::MeasureAllLines(const TextMark* middle)
{
    const char* end = m_pText + m_nLength;
    LineRun first = {this, m_pText, 0, end, LineRun::ALL, 0, -1, 0};
    LineRun second = first;
    HANDLE thread = nullptr;
    if (middle && m_nLength >= HELPER_MEASURE_MIN && middle->offset <= m_nLength) {
        // The second half starts after the first line break from the mark on.
        const char* split = CBreakScanner(m_pText + middle->offset).Next();
        if (split != end) {
            first.stop = split;
            second.p = split + 1;
            second.first = middle->breaks + 1;
            second.which = LineRun::SHORT;
            thread = CreateThread(nullptr, 0, MeasureSecondHalf, &second, 0, nullptr);
            if (!thread)
                first.stop = end;
        }
    }
    MeasureRun(&first);
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        if (second.skipped) {
            // The points of the second half's long lines are made after the first half's,
            // as one thread would have made them.
            LineRun longLines = second;
            longLines.which = LineRun::LONG;
            MeasureRun(&longLines);
            second.TakeWidest(longLines);
        }
        if (second.widest > first.widest) {
            first.widest = second.widest;
            first.widestLine = second.widestLine;
        }
    }
    m_nWidestWidth = first.widest;
    m_nWidestIndex = first.widestLine < 0 ? 0 : first.widestLine;
}
