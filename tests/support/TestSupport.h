#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

class CFontInfo;
class CTextDocument;

// A font made the way the editor's font dialog would make it: a character height in pixels
// (negative lfHeight), normal weight, ANSI character set.
HFONT CreateTestFont(const char* face, int height, int italic = 0);

// Sets a new font measured on the display, as a remembered font is set when a file opens.
// Fails the test when the system substituted another face for the one asked for.
void SetTestFont(CFontInfo* info, const char* face, int height, int italic = 0);
// The same for a document's font, and re-measures every line.
void SetTestFont(CTextDocument* doc, const char* face, int height, int italic = 0);

// The document's text as a string (bytes up to its length).
std::string DocumentText(const CTextDocument* doc);

// Inserts a whole string at index; returns InsertText's result.
int InsertString(CTextDocument* doc, const std::string& text, int index);
// Builds the text of an empty document with one plain insertion (nothing recorded).
void SetText(CTextDocument& doc, const std::string& text);

// Checks every invariant of the line width table against a full re-measure of the text:
// one entry per line, each equal to the width of its line, and the widest line one of the
// lines of greatest width.
testing::AssertionResult LineTableMatchesText(const CTextDocument* doc);

