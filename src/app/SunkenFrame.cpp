#include "app/SunkenFrame.h"

#include "base/GdiScope.h"

static void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void PaintSunkenFrame(HDC dc, const RECT& r, int innerColour)
{
    POINT position;
    MoveToEx(dc, r.left, r.top, &position);
    CGdiObject shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    CGdiObject inner(CreatePen(PS_SOLID, 1, GetSysColor(innerColour)));
    CGdiSelection pen(dc, shadow.Get());
    Line(dc, r.left, r.top, r.left, r.bottom - 1);
    Line(dc, r.left, r.top, r.right - 1, r.top);
    pen.Select(GetStockObject(BLACK_PEN));
    Line(dc, r.left + 1, r.top + 1, r.left + 1, r.bottom - 2);
    Line(dc, r.left + 1, r.top + 1, r.right - 2, r.top + 1);
    pen.Select(inner.Get());
    Line(dc, r.right - 2, r.top + 1, r.right - 2, r.bottom - 2);
    Line(dc, r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 2);
    pen.Select(GetStockObject(WHITE_PEN));
    Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1);
    MoveToEx(dc, position.x, position.y, nullptr);
}
