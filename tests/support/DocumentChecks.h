#pragma once
#include <gtest/gtest.h>

#include <string>

class CEditDisplay;
class COpenDocument;
class CTextDocument;

// The document's text as a string.
std::string TextOf(const CTextDocument& doc);

// Builds the text with one plain insertion (nothing recorded); text must not be empty.
void SetText(CTextDocument& doc, const std::string& text);

// Line count, every line width and the widest line against a full re-measure of the text
// (the widest index may be any line of the greatest width).
testing::AssertionResult LineTableIsExact(const CTextDocument& doc);

// A document with views, as an open file shown in several frames: every edit reaches
// the views through the owner's ForEachView.
class CViewedDocument {
public:
    explicit CViewedDocument(int views);
    ~CViewedDocument();

    CTextDocument* Doc() const;
    CEditDisplay* View(int i) const;
    COpenDocument* m_pOwner;

private:
    CViewedDocument(const CViewedDocument&);
    CViewedDocument& operator=(const CViewedDocument&);
};
