#include "support/DocumentChecks.h"

#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "view/FontInfo.h"

std::string TextOf(const CTextDocument& doc)
{
    return std::string(doc.GetTextAt(0), doc.GetTextLength());
}

void SetText(CTextDocument& doc, const std::string& text)
{
    ASSERT_EQ(1, doc.InsertText(text.data(), static_cast<int>(text.size()), 0));
}

testing::AssertionResult LineTableIsExact(const CTextDocument& doc)
{
    int lines = CountLines(doc.GetTextAt(0), doc.GetTextLength());
    if (doc.GetLineCount() != lines)
        return testing::AssertionFailure()
               << "line count " << doc.GetLineCount() << ", text has " << lines;
    const char* p = doc.GetTextAt(0);
    int widest = 0, widestIndex = 0;
    for (int i = 0; i < lines; i++) {
        int length = LineLength(p);
        int width = length ? doc.GetFontInfo()->LineWidth(p, length) : 0;
        if (doc.GetLineWidth(i) != width)
            return testing::AssertionFailure()
                   << "line " << i << " width " << doc.GetLineWidth(i) << ", measured " << width;
        if (width > widest) {
            widest = width;
            widestIndex = i;
        }
        p += length + 1;
    }
    // Incremental updates may settle a tie on a later line than a full rescan would.
    int index = doc.GetWidestIndex();
    if (doc.GetWidestWidth() != widest || index < 0 || index >= lines ||
        doc.GetLineWidth(index) != widest)
        return testing::AssertionFailure()
               << "widest line " << index << " (" << doc.GetWidestWidth() << "), measured "
               << widestIndex << " (" << widest << ")";
    return testing::AssertionSuccess();
}
