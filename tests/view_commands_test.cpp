#include <gtest/gtest.h>

#include "app/DocFrame.h"
#include "base/ShellMessages.h"
#include "document/TextDocument.h"
#include "support/AppWindow.h"
#include "support/EditMenu.h"
#include "support/ViewHarness.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"

TEST(MenuState, AnEmptyDocumentGraysWhatNeedsText)
{
    ViewHarness h("");
    CEditDisplay* v = h.View();
    EditMenu m;
    InitPopup(v, m.edit, 1);
    InitPopup(v, m.textOps, 9);
    for (UINT id : {40007u, 40008u, 40010u, 40011u, 40012u, 40033u, 40041u, 40042u, 40043u})
        EXPECT_EQ(0, EditMenu::Enabled(m.edit, id)) << id;
    EXPECT_EQ(0, EditMenu::Enabled(m.textOps, 4, MF_BYPOSITION)) << "Sort";
    EXPECT_EQ(1, EditMenu::Enabled(m.edit, 9, MF_BYPOSITION)) << "Text Operations";
    EXPECT_EQ(1, EditMenu::Enabled(m.edit, 40025));
    EXPECT_EQ(IsClipboardFormatAvailable(CF_TEXT) ? 1 : 0, EditMenu::Enabled(m.edit, 40009));
    EXPECT_EQ(0, SendMessageA(v->m_hWnd, WM_HAS_VISIBLE_TEXT, 0, 0));

    EXPECT_EQ(1, h.ToolbarEnabled(40004));
    EXPECT_EQ(1, h.ToolbarEnabled(40005));
    for (int id : {40006, 40007, 40008, 40010, 40011})
        EXPECT_EQ(0, h.ToolbarEnabled(id)) << id;
}

TEST(MenuState, ASelectionEnablesTheEditCommands)
{
    ViewHarness h("Some text");
    CEditDisplay* v = h.View();
    EditMenu m;
    InitPopup(v, m.edit, 1);
    EXPECT_EQ(1, EditMenu::Enabled(m.edit, 40033));
    EXPECT_EQ(1, EditMenu::Enabled(m.edit, 40011));
    EXPECT_EQ(0, EditMenu::Enabled(m.edit, 40008)) << "no selection yet";
    EXPECT_EQ(1, h.ToolbarEnabled(40011));
    EXPECT_EQ(0, h.ToolbarEnabled(40007));

    SendMessageA(v->m_hWnd, WM_COMMAND, 40033, 0);
    EXPECT_EQ(0, v->m_pSelection->Start());
    EXPECT_EQ(9, v->m_pSelection->End());
    InitPopup(v, m.edit, 1);
    InitPopup(v, m.textOps, 9);
    for (UINT id : {40007u, 40008u, 40010u, 40041u, 40042u, 40043u})
        EXPECT_EQ(1, EditMenu::Enabled(m.edit, id)) << id;
    EXPECT_EQ(1, EditMenu::Enabled(m.textOps, 4, MF_BYPOSITION));
    for (int id : {40007, 40008, 40010})
        EXPECT_EQ(1, h.ToolbarEnabled(id)) << id;
    EXPECT_EQ(1, SendMessageA(v->m_hWnd, WM_HAS_VISIBLE_TEXT, 0, 0));
}

TEST(MenuState, AMaximisedFrameStillReachesTheTextOperations)
{
    ViewHarness h("abc");
    CEditDisplay* v = h.View();
    SendMessageA(v->m_hWnd, WM_COMMAND, 40033, 0);
    ShowWindow(h.Frame()->m_hWnd, SW_MAXIMIZE);
    PumpMessages();
    ASSERT_TRUE(IsZoomed(h.Frame()->m_hWnd));
    EditMenu m;
    EnableMenuItem(m.textOps, 40041, MF_GRAYED);
    // The main frame has already taken one off the index.
    InitPopup(v, m.textOps, 8);
    EXPECT_EQ(1, EditMenu::Enabled(m.textOps, 40041));
}

TEST(MenuState, BlanksAloneAreNoVisibleText)
{
    ViewHarness h(" \t\r ");
    EXPECT_EQ(0, SendMessageA(h.View()->m_hWnd, WM_HAS_VISIBLE_TEXT, 0, 0));
    h.m_pDocument->InsertText(".", 1, 2);
    EXPECT_EQ(1, SendMessageA(h.View()->m_hWnd, WM_HAS_VISIBLE_TEXT, 0, 0));
}

TEST(Selection, ExtendsFromItsAnchorAndCopiesWithCrLf)
{
    ViewHarness h("xa\rby");
    CEditDisplay* v = h.View();
    CSelection* s = v->m_pSelection;
    s->Extend(4);
    EXPECT_TRUE(s->IsEmpty()) << "the first extension only sets the anchor";
    s->Extend(1);
    EXPECT_EQ(1, s->Start());
    EXPECT_EQ(4, s->End());
    EXPECT_FALSE(s->Contains(1)) << "the ends are not inside";
    EXPECT_TRUE(s->Contains(2));
    ViewPicture painted(v);
    s->Extend(1);
    EXPECT_EQ(0, v->m_bDirty) << "extending to the extent changes nothing";

    int length = 0;
    HGLOBAL block = s->ClipboardText(&length);
    ASSERT_TRUE(block);
    EXPECT_EQ(4, length);
    const char* text = static_cast<const char*>(GlobalLock(block));
    EXPECT_EQ(std::string("a\r\nb", 5), std::string(text, 5));
    GlobalUnlock(block);
    GlobalFree(block);
}
