#pragma once
#include <windows.h>

// The two-pixel sunken frame drawn just inside r: shadow and black lines on the top and left,
// white and the inner colour (a system colour index) on the right and bottom.
void PaintSunkenFrame(HDC dc, const RECT& r, int innerColour);
