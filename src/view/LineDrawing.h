#pragma once
#include <windows.h>

class CFontInfo;
class CLineSteps;

// How a line is laid out and drawn, shared by the text, the selection and the caret.

// How far right of column 0 the line's first glyph starts: its left overhang.
int LineOverhang(const CFontInfo* font, const char* line, int length);
// Draws bytes [from, from + count) of a line of length bytes whose first byte starts at x0,
// tabs as blanks, with the advances the whole line gives them. Bytes that cannot reach
// [left, right) are neither measured nor drawn, so a very long line costs only what shows.
void DrawLineSpan(HDC dc, const CFontInfo* font, CLineSteps* steps, const char* line,
                  int length, int from, int count, int x0, int y, int left, int right);
