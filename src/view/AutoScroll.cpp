// Scrolling by itself while the mouse selects or drags at or past the view's top or
// bottom edge: timer 1 steps, slowly or fast, vertically only.
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"

static const UINT SLOW_PERIOD_MS = 200;
static const UINT FAST_PERIOD_MS = 75;
static const int MAX_STEP = 100;

int CEditDisplay::ScrollZone(POINT q) const
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    int B = client.bottom, E = EdgeBand();
    int T = GetVertPos(), M = m_pScrollBars ? m_pScrollBars->GetVertMax() : 0;
    if (IsDragging()) {
        if (!InVisibleArea(q))
            return SCROLL_NONE;
        if ((0 <= q.y && q.y < E && T != 0) || (B - E < q.y && q.y < B && T != M))
            return SCROLL_FAST;
        return SCROLL_NONE;
    }
    if (!TestState(VS_SELECTING))
        return SCROLL_NONE;
    if ((q.y < E && T == 0) || (q.y > B - E && T == M))
        return SCROLL_NONE;
    if (q.y < 0 || q.y > B)
        return SCROLL_FAST;
    if (q.y < E || q.y > B - E)
        return SCROLL_SLOW;
    return SCROLL_NONE;
}

void CEditDisplay::CheckAutoScroll(POINT q)
{
    if (TestState(VS_AUTO_SCROLL))
        return;
    int zone = ScrollZone(q);
    if (zone == SCROLL_NONE)
        return;
    if (zone == SCROLL_SLOW && !IsDragging()) {
        SetState(VS_AUTO_SCROLL);
        SetTimer(m_hWnd, 1, SLOW_PERIOD_MS, nullptr);
    } else {
        SetState(VS_AUTO_SCROLL | VS_FAST_SCROLL);
        SetTimer(m_hWnd, 1, FAST_PERIOD_MS, nullptr);
    }
}

// Lines per step. A drag speeds up with time; a selection with the pointer's distance from
// the view, reaching the most at the screen's edge.
int CEditDisplay::ScrollStep(POINT screen) const
{
    if (IsDragging()) {
        int speed = m_nScrollSpeed;
        return speed < 1 ? 1 : speed > MAX_STEP ? MAX_STEP : speed;
    }
    RECT window, desktop;
    GetWindowRect(m_hWnd, &window);
    GetWindowRect(GetDesktopWindow(), &desktop);
    int r, d;
    if (screen.y < window.top) {
        r = window.top - desktop.top;
        d = window.top - screen.y;
    } else if (screen.y >= window.bottom) {
        r = desktop.bottom - window.bottom;
        d = screen.y - window.bottom;
    } else {
        return 1;
    }
    // A view at or past the screen's edge (another monitor beyond it) scrolls the most.
    if (r <= 0)
        return MAX_STEP;
    double step = r >= 100 ? d / (r / 100.0) : d * (100.0 / r);
    return step > MAX_STEP ? MAX_STEP : static_cast<int>(step);
}

void CEditDisplay::OnAutoScrollTimer()
{
    POINT screen;
    GetCursorPos(&screen);
    POINT q = screen;
    ScreenToClient(m_hWnd, &q);
    if (!HasFocus() || ScrollZone(q) == SCROLL_NONE || !m_pScrollBars) {
        ClearState(VS_AUTO_SCROLL);
        return;
    }
    if (IsDragging() && m_nScrollSpeed != MAX_STEP) {
        if (m_nSpeedTicks == 1) {
            m_nSpeedTicks = 0;
            m_nScrollSpeed++;
        } else {
            m_nSpeedTicks++;
        }
    }
    RECT client;
    GetClientRect(m_hWnd, &client);
    int E = EdgeBand(), T = GetVertPos(), step = ScrollStep(screen);
    int moved = 0;
    if (q.y >= E && q.y > client.bottom - E && T != m_pScrollBars->GetVertMax()) {
        m_pScrollBars->SetVertPos(T + step, 1);
        moved = 1;
    } else if (q.y < E && T != 0) {
        m_pScrollBars->SetVertPos(T - step, 1);
        moved = 1;
    }
    // The selection or the drop caret follows the text that came into view.
    if (moved)
        SendMessageA(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, 0);
    if (IsDragging())
        return;
    int zone = ScrollZone(q);
    if (zone == SCROLL_NONE) {
        ClearState(VS_AUTO_SCROLL);
    } else if (zone == SCROLL_SLOW && TestState(VS_FAST_SCROLL)) {
        ClearState(VS_AUTO_SCROLL);
        SetState(VS_AUTO_SCROLL);
        SetTimer(m_hWnd, 1, SLOW_PERIOD_MS, nullptr);
    } else if (zone == SCROLL_FAST && !TestState(VS_FAST_SCROLL)) {
        SetState(VS_AUTO_SCROLL | VS_FAST_SCROLL);
        SetTimer(m_hWnd, 1, FAST_PERIOD_MS, nullptr);
    }
}
