#pragma once
#include <windows.h>

// What the "Sorting Document" dialog shows of a sort: the bar's position in its range and the
// percentage of its text. The dialog keeps one; the worker keeps a copy so that it can tell,
// before it posts, whether a step would change anything on the screen.
struct CSortProgress {
    int low;
    int high;
    int position;
    int step;
    double perPosition;
    double shown;

    // As the dialog opens: the bar at 0 of 0..100, one per step, "0% Complete".
    void Start();
    void SetRange(int newLow, int newHigh);
    void SetStep(int size) { step = size; }
    void Step();
    void SetPos(int newPosition);
    // The bar stops at the end of its range; the text at 100%.
    int BarPosition() const { return position < high ? position : high; }
    int Percent() const { return static_cast<int>(shown); }
};

// The worker's side of the progress: it posts the sort's notices to the dialog, holding back
// steps that would move neither the percentage nor the bar by a pixel and handing them on in
// one message with the next step that does. The dialog thus ends every message in the state
// that one message per step would have left it in.
class CProgressPoster {
public:
    explicit CProgressPoster(HWND dialog);
    // One notice of the sort (see document/LineSort.h's SortNotice).
    void Notify(int notice, int value, int high);
    // Posts the steps held back.
    void Flush();

private:
    int BarPixel() const;

    HWND m_hDialog;
    int m_nBarWidth;
    CSortProgress m_shown; // as the dialog has it once the held steps arrive
    int m_nHeld;
    int m_nPercent; // the percentage and bar pixel the dialog shows
    int m_nPixel;
};
