#include "dialogs/SortProgress.h"

#include "dialogs/SortDialog.h"
#include "document/LineSort.h"
#include "resources/resource.h"

void CSortProgress::Start()
{
    SetRange(0, 100);
    step = 1;
}

void CSortProgress::SetRange(int newLow, int newHigh)
{
    low = newLow;
    high = newHigh;
    position = newLow;
    perPosition = 100.0 / (newHigh - newLow + 1);
    shown = 0;
}

void CSortProgress::Step()
{
    position += step;
    if (position < high)
        shown += step * perPosition;
    else
        shown = 100.0;
}

void CSortProgress::SetPos(int newPosition)
{
    position = newPosition;
    shown = position < high ? position * perPosition : 100.0;
}

CProgressPoster::CProgressPoster(HWND dialog)
    : m_hDialog(dialog), m_nBarWidth(0), m_nHeld(0), m_nPercent(0), m_nPixel(0)
{
    RECT bar = {0, 0, 0, 0};
    GetClientRect(GetDlgItem(dialog, IDC_SORT_PROGRESS), &bar);
    m_nBarWidth = bar.right;
    m_shown.Start();
}

// The filled part of the bar, measured in the control's whole width: the bar itself draws
// inside its border, so it never moves by a pixel without this moving too.
int CProgressPoster::BarPixel() const
{
    int range = m_shown.high - m_shown.low;
    return range > 0 ? MulDiv(m_shown.BarPosition() - m_shown.low, m_nBarWidth, range) : 0;
}

void CProgressPoster::Flush()
{
    if (m_nHeld)
        PostMessageA(m_hDialog, WM_SORTSTEP, m_nHeld, 0);
    m_nHeld = 0;
}

void CProgressPoster::Notify(int notice, int value, int high)
{
    if (notice == SORT_STEP) {
        m_shown.Step();
        m_nHeld++;
        if (m_shown.Percent() == m_nPercent && BarPixel() == m_nPixel)
            return;
        Flush();
    } else {
        Flush();
        switch (notice) {
        case SORT_SET_RANGE:
            m_shown.SetRange(value, high);
            PostMessageA(m_hDialog, WM_SORTSETRANGE, value, high);
            // The range leaves the text as it was.
            m_nPixel = BarPixel();
            return;
        case SORT_SET_STEP:
            m_shown.SetStep(value);
            PostMessageA(m_hDialog, WM_SORTSETSTEP, value, 0);
            return;
        case SORT_SET_POS:
            m_shown.SetPos(value);
            PostMessageA(m_hDialog, WM_SORTSETPOS, value, 0);
            break;
        default:
            return;
        }
    }
    m_nPercent = m_shown.Percent();
    m_nPixel = BarPixel();
}
