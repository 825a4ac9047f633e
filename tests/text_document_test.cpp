#include <gtest/gtest.h>

#include "document/TextDocument.h"

TEST(NewDocument, StartsEmptyWithOneLine)
{
    CTextDocument doc(nullptr, nullptr, nullptr);
    EXPECT_EQ(0, doc.GetTextLength());
    EXPECT_EQ(1, doc.GetLineCount());
    EXPECT_EQ(500, doc.m_nTableCapacity);
    EXPECT_EQ(32768u, GlobalSize(doc.m_hBuffer));
}
