#pragma once
#include <windows.h>

class CFontInfo;

// How a line is laid out and drawn, shared by the text, the selection and the caret.

// The magnitude of the line's first character's A width when negative, else 0.
int LineOverhang(const CFontInfo* font, const char* line, int length);
// The advance of every byte of a line as it is drawn (tabs to their stops, kerning with
// the byte after). The caller frees the array; null for an empty line.
int* LineAdvances(const CFontInfo* font, const char* line, int length);
int SumAdvances(const int* advances, int from, int count);
// Draws bytes [from, from + count) of a line laid out by advances whose first byte starts
// at x0, tabs as blanks. Bytes that cannot reach [left, right) are not drawn at all, so a
// very long line costs only the part that shows.
void DrawLineSpan(HDC dc, const CFontInfo* font, const char* line, const int* advances,
                  int from, int count, int x0, int y, int left, int right);
