#include "support/TestSupport.h"

#include <algorithm>

#include "document/TextDocument.h"
#include "view/FontInfo.h"

HFONT CreateTestFont(const char* face, int height, int italic)
{
    return CreateFontA(-height, 0, 0, 0, FW_NORMAL, italic, 0, 0, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

void SetTestFont(CFontInfo* info, const char* face, int height, int italic)
{
    HFONT font = CreateTestFont(face, height, italic);
    ASSERT_NE(nullptr, font);
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, dc);
    HGDIOBJ old = SelectObject(dc, font);
    char actual[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof(actual), actual);
    SelectObject(dc, old);
    info->SetFont(font, dc, 0);
    DeleteDC(dc);
    ASSERT_STREQ(face, actual) << "the font is not installed";
}

void SetTestFont(CTextDocument* doc, const char* face, int height, int italic)
{
    SetTestFont(doc->GetFontInfo(), face, height, italic);
    doc->RemeasureAllLines();
}

std::string DocumentText(const CTextDocument* doc)
{
    return std::string(doc->GetTextAt(0), doc->GetTextLength());
}

int InsertString(CTextDocument* doc, const std::string& text, int index)
{
    return doc->InsertText(text.data(), static_cast<int>(text.size()), index);
}

void SetText(CTextDocument& doc, const std::string& text)
{
    ASSERT_EQ(1, InsertString(&doc, text, 0));
}

testing::AssertionResult LineTableMatchesText(const CTextDocument* doc)
{
    const std::string text = DocumentText(doc);
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\r'));
    if (doc->GetLineCount() != lines)
        return testing::AssertionFailure()
               << "line count " << doc->GetLineCount() << ", text has " << lines;
    if (doc->m_nTableCapacity < lines || doc->m_nTableCapacity % 500 != 0)
        return testing::AssertionFailure() << "table capacity " << doc->m_nTableCapacity;

    const CFontInfo* font = doc->GetFontInfo();
    int widest = 0;
    size_t start = 0;
    for (int line = 0; line < lines; line++) {
        size_t end = text.find('\r', start);
        if (end == std::string::npos)
            end = text.size();
        SIZE size = {0, 0};
        font->Measure(text.data() + start, static_cast<int>(end - start), &size, 0);
        if (doc->GetLineWidth(line) != size.cx)
            return testing::AssertionFailure() << "line " << line << " is " << size.cx
                                               << " wide, the table says "
                                               << doc->GetLineWidth(line);
        widest = std::max(widest, static_cast<int>(size.cx));
        start = end + 1;
    }
    if (doc->GetWidestWidth() != widest)
        return testing::AssertionFailure()
               << "widest width " << doc->GetWidestWidth() << ", measured " << widest;
    int index = doc->GetWidestIndex();
    if (index < 0 || index >= lines || doc->GetLineWidth(index) != widest)
        return testing::AssertionFailure() << "widest index " << index << " is not a line "
                                           << widest << " wide";
    return testing::AssertionSuccess();
}
