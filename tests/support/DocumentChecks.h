#pragma once
#include <gtest/gtest.h>

#include <string>

class CTextDocument;

// The document's text as a string.
std::string TextOf(const CTextDocument& doc);

// Builds the text with one plain insertion (nothing recorded); text must not be empty.
void SetText(CTextDocument& doc, const std::string& text);

// Line count, every line width and the widest line against a full re-measure of the text
// (the widest index may be any line of the greatest width).
testing::AssertionResult LineTableIsExact(const CTextDocument& doc);
