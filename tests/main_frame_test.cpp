// The shell's windows in this process: start-up, the main frame, document frames, the status bar.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/MainFrame.h"
#include "app/OpenDocument.h"
#include "app/Startup.h"
#include "app/StatusBar.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"
#include "view/ViewHost.h"
#include "support/AppWindow.h"
#include "support/DialogWatcher.h"
#include "support/Waits.h"

namespace {

int ButtonEnabled(int id)
{
    return SendMessageA(g_app.m_hToolbar, TB_ISBUTTONENABLED, id, 0) != 0;
}

int ItemEnabled(HMENU menu, UINT id)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    GetMenuItemInfoA(menu, id, FALSE, &info);
    return (info.fState & MFS_GRAYED) == 0;
}

HMENU Popup(int position)
{
    return GetSubMenu(GetMenu(g_app.m_hMainWindow), position);
}

std::string StatusSimpleText()
{
    return g_app.m_pStatusBar->m_simple.m_szText;
}

class MainFrame : public ::testing::Test {
protected:
    AppWindow app;
};

} // namespace

TEST_F(MainFrame, StartUpLeavesNewAndOpenTheOnlyEnabledButtons)
{
    ASSERT_TRUE(app.Started());
    EXPECT_EQ("Zendle Editor", WindowText(app.Main()));
    EXPECT_TRUE(IsWindowVisible(app.Main()));
    EXPECT_EQ(16, SendMessageA(g_app.m_hToolbar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_TRUE(ButtonEnabled(ID_FILE_NEW));
    EXPECT_TRUE(ButtonEnabled(ID_FILE_OPEN));
    for (int id : {ID_FILE_SAVE, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_FIND, ID_FILE_PRINT,
                   ID_FILE_PRINTPREVIEW, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_DELETE})
        EXPECT_FALSE(ButtonEnabled(id)) << "button " << id;
    EXPECT_EQ(1, StatusPartCount(g_app.m_pStatusBar->m_hWnd)) << "only the message pane";

    // The MDI client fills the space between toolbar and status bar, less the border.
    RECT client, mdi, toolbar, status;
    GetClientRect(app.Main(), &client);
    GetWindowRect(g_app.m_hMDIClient, &mdi);
    GetWindowRect(g_app.m_hToolbar, &toolbar);
    GetWindowRect(g_app.m_pStatusBar->m_hWnd, &status);
    MapWindowPoints(nullptr, app.Main(), reinterpret_cast<POINT*>(&mdi), 2);
    EXPECT_EQ(2, mdi.left);
    EXPECT_EQ(client.right - 2, mdi.right);
    EXPECT_EQ(toolbar.bottom - toolbar.top + 2, mdi.top);
    EXPECT_EQ(client.bottom - (status.bottom - status.top) - 2, mdi.bottom);
}

TEST_F(MainFrame, NewMakesAnUntitledFrameAndShowsTheEditorPanes)
{
    app.Command(ID_FILE_NEW);
    HWND frame = app.ActiveFrame();
    ASSERT_NE(nullptr, frame);
    char name[16] = "";
    GetClassNameA(frame, name, sizeof(name));
    EXPECT_STREQ("MDI", name);
    EXPECT_EQ("Untitled", WindowText(frame));
    ASSERT_EQ(1u, app.Documents().size());

    // Position pane, message pane, CAP and NUM.
    HWND status = g_app.m_pStatusBar->m_hWnd;
    ASSERT_EQ(4, StatusPartCount(status));
    int edges[4];
    SendMessageA(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ("Row: 0 Col: 0", StatusText(status, 0)) << "the new view shows its caret";
    EXPECT_EQ(edges[3] - edges[2], g_app.m_pStatusBar->PaneAt(3)->m_nFixedWidth);
    EXPECT_GT(edges[3] - edges[2], PANE_MIN_WIDTH) << "room for NUM even when Num Lock is off";

    ShowCaretPosition(3, 7);
    EXPECT_EQ("Row: 3 Col: 7", StatusText(status, 0));

    // A second document adds no second set of panes; closing the last removes them.
    app.Command(ID_FILE_NEW);
    EXPECT_EQ(4, StatusPartCount(status));
    app.Command(ID_WINDOW_CLOSEALL);
    EXPECT_EQ(0u, app.Documents().size());
    EXPECT_EQ(1, StatusPartCount(status));
    EXPECT_FALSE(ButtonEnabled(ID_FILE_SAVE)) << "the toolbar refresh after the last frame";
}

TEST_F(MainFrame, NewWindowNumbersTheCaptionsFromZero)
{
    app.Command(ID_FILE_NEW);
    app.Command(ID_WINDOW_NEWWINDOW);
    app.Command(ID_WINDOW_NEWWINDOW);
    ASSERT_EQ(1u, app.Documents().size());
    COpenDocument* document = app.Documents()[0];
    ASSERT_EQ(3, document->GetFrameCount());
    for (int i = 0; i < 3; i++) {
        CDocFrame* frame = static_cast<CDocFrame*>(document->m_pFrames->GetAt(i));
        EXPECT_EQ("Untitled : " + std::to_string(i), WindowText(frame->m_hWnd));
    }

    // Closing a window of a modified document asks nothing while others remain.
    document->GetTextDocument()->InsertText("x", 1, 0);
    DialogWatcher dialogs(IDCANCEL);
    HWND second = static_cast<CDocFrame*>(document->m_pFrames->GetAt(1))->m_hWnd;
    SendMessageA(second, WM_CLOSE, 0, 0);
    HWND last = static_cast<CDocFrame*>(document->m_pFrames->GetAt(1))->m_hWnd;
    SendMessageA(last, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_EQ(0u, dialogs.Count());
    ASSERT_EQ(1, document->GetFrameCount());
    HWND only = static_cast<CDocFrame*>(document->m_pFrames->GetAt(0))->m_hWnd;
    EXPECT_EQ("Untitled", WindowText(only));

    // The last one asks; Cancel keeps it.
    SendMessageA(only, WM_CLOSE, 0, 0);
    EXPECT_EQ(1u, dialogs.Count());
    EXPECT_EQ(1u, app.Documents().size());
    EXPECT_TRUE(IsWindow(only));
}

TEST_F(MainFrame, ThePositionPaneFollowsTheViewThatTakesTheFocus)
{
    app.Command(ID_FILE_NEW);
    app.Command(ID_WINDOW_NEWWINDOW);
    COpenDocument* document = app.Documents()[0];
    ASSERT_EQ(2, document->GetFrameCount());
    CEditDisplay* first = static_cast<CDocFrame*>(document->m_pFrames->GetAt(0))->m_pView;
    CEditDisplay* second = static_cast<CDocFrame*>(document->m_pFrames->GetAt(1))->m_pView;
    SetFocus(second->m_hWnd);
    document->GetTextDocument()->InsertText("abc\rde", 6, 0);
    PumpMessages();
    HWND status = g_app.m_pStatusBar->m_hWnd;
    EXPECT_EQ("Row: 1 Col: 2", StatusText(status, 0));
    SetFocus(first->m_hWnd);
    EXPECT_EQ("Row: 0 Col: 0", StatusText(status, 0));
    SetFocus(second->m_hWnd);
    EXPECT_EQ("Row: 1 Col: 2", StatusText(status, 0));
    document->GetTextDocument()->m_bModified = 0;
}

TEST_F(MainFrame, CloseAllStopsAtTheFirstCancelledPrompt)
{
    for (int i = 0; i < 3; i++) {
        app.Command(ID_FILE_NEW);
        app.Documents().back()->GetTextDocument()->InsertText("text", 4, 0);
    }
    std::vector<COpenDocument*> before = app.Documents();
    {
        DialogWatcher dialogs(IDCANCEL);
        dialogs.Queue({IDNO, IDCANCEL});
        EXPECT_EQ(0, app.Frame()->CloseAll());
        EXPECT_EQ(2u, dialogs.Count());
    }
    std::vector<COpenDocument*> after = app.Documents();
    ASSERT_EQ(2u, after.size());
    EXPECT_EQ(before[1], after[0]);
    EXPECT_EQ(before[2], after[1]);
    EXPECT_EQ(2u, app.FrameWindows().size());

    // Closing the application asks the same way and stays open when refused.
    {
        DialogWatcher dialogs(IDCANCEL);
        SendMessageA(app.Main(), WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(IsWindow(app.Main()));
    EXPECT_EQ(4, StatusPartCount(g_app.m_pStatusBar->m_hWnd));
}

TEST_F(MainFrame, EndingTheSessionAsksLikeClosingAndKeepsTheDocumentsUntilItEnds)
{
    app.Command(ID_FILE_NEW);
    CTextDocument* doc = app.Documents()[0]->GetTextDocument();
    doc->InsertText("unsaved", 7, 0);
    {
        DialogWatcher cancel(IDCANCEL);
        EXPECT_EQ(FALSE, SendMessageA(app.Main(), WM_QUERYENDSESSION, 0, 0));
        EXPECT_EQ(1u, cancel.Count());
    }
    {
        DialogWatcher no(IDNO);
        EXPECT_EQ(TRUE, SendMessageA(app.Main(), WM_QUERYENDSESSION, 0, 0));
        EXPECT_EQ(1u, no.Count());
    }
    ASSERT_EQ(1u, app.Documents().size()) << "the documents stay open until the session ends";
    EXPECT_TRUE(doc->IsModified());
    SendMessageA(app.Main(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(app.Main())) << "another program refused: the editor goes on";

    DialogWatcher none(IDCANCEL);
    SendMessageA(app.Main(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(app.Main()));
    EXPECT_EQ(0u, none.Count());
}

TEST_F(MainFrame, NothingOfADocumentGoesWhileItsSortRuns)
{
    app.Command(ID_FILE_NEW);
    COpenDocument* document = app.Documents()[0];
    HWND frame = app.ActiveFrame();
    // Any handle stands for the worker here: only its presence is looked at.
    document->GetTextDocument()->m_hSortThread = GetCurrentThread();
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(0, app.Frame()->CloseAll());
    SendMessageA(app.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(app.Main()));
    EXPECT_EQ(FALSE, SendMessageA(app.Main(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(1u, app.Documents().size());

    document->GetTextDocument()->m_hSortThread = nullptr;
    EXPECT_EQ(1, app.Frame()->CloseAll());
    EXPECT_EQ(0u, app.Documents().size());
}

TEST_F(MainFrame, MenuSelectShowsHelpAndEmptyLinesForTheWindowList)
{
    HMENU file = Popup(0);
    SendMessageA(app.Main(), WM_MENUSELECT, MAKEWPARAM(ID_FILE_NEW, MF_STRING),
                 reinterpret_cast<LPARAM>(file));
    EXPECT_TRUE(g_app.m_pStatusBar->IsSimple());
    EXPECT_TRUE(SendMessageA(g_app.m_pStatusBar->m_hWnd, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ("Creates a new document", StatusSimpleText());

    SendMessageA(app.Main(), WM_MENUSELECT, MAKEWPARAM(ID_HELP_ABOUT, MF_STRING),
                 reinterpret_cast<LPARAM>(Popup(4)));
    EXPECT_EQ("Displays information about this application", StatusSimpleText());
    // Commands that have a text in the table but no help line.
    SendMessageA(app.Main(), WM_MENUSELECT, MAKEWPARAM(ID_EDIT_SELECTFONT, MF_STRING),
                 reinterpret_cast<LPARAM>(Popup(1)));
    EXPECT_EQ("", StatusSimpleText());
    // A popup item.
    SendMessageA(app.Main(), WM_MENUSELECT, MAKEWPARAM(9, MF_POPUP),
                 reinterpret_cast<LPARAM>(Popup(1)));
    EXPECT_EQ("", StatusSimpleText());

    // An entry of the window list, as the menu reports it.
    app.Command(ID_FILE_NEW);
    HMENU window = Popup(2);
    int last = GetMenuItemCount(window) - 1;
    UINT id = GetMenuItemID(window, last);
    ASSERT_GE(id, static_cast<UINT>(IDW_FIRST_MDI_CHILD));
    SendMessageA(app.Main(), WM_MENUSELECT, MAKEWPARAM(ID_WINDOW_CASCADE, MF_STRING),
                 reinterpret_cast<LPARAM>(window));
    EXPECT_EQ("Cascades all open windows", StatusSimpleText());
    SendMessageA(app.Main(), WM_MENUSELECT, MAKEWPARAM(id, MF_STRING),
                 reinterpret_cast<LPARAM>(window));
    EXPECT_EQ("", StatusSimpleText());

    // The menu closes: the panes come back.
    SendMessageA(app.Main(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(g_app.m_pStatusBar->IsSimple());
    EXPECT_FALSE(SendMessageA(g_app.m_pStatusBar->m_hWnd, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(4, StatusPartCount(g_app.m_pStatusBar->m_hWnd));
}

TEST_F(MainFrame, MenuStatesFollowTheActiveFrame)
{
    HMENU file = Popup(0);
    SendMessageA(app.Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, 0));
    EXPECT_TRUE(ItemEnabled(file, ID_FILE_NEW));
    EXPECT_TRUE(ItemEnabled(file, ID_FILE_OPEN));
    EXPECT_FALSE(ItemEnabled(file, ID_FILE_SAVE));
    EXPECT_FALSE(ItemEnabled(file, ID_FILE_SAVEAS));
    EXPECT_FALSE(ItemEnabled(file, ID_FILE_PRINT));
    HMENU window = Popup(2);
    SendMessageA(app.Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(window), MAKELPARAM(2, 0));
    EXPECT_FALSE(ItemEnabled(window, ID_WINDOW_NEWWINDOW));
    EXPECT_FALSE(ItemEnabled(window, ID_WINDOW_CLOSEALL));

    app.Command(ID_FILE_NEW);
    SendMessageA(app.Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(window), MAKELPARAM(2, 0));
    EXPECT_TRUE(ItemEnabled(window, ID_WINDOW_NEWWINDOW));
    EXPECT_TRUE(ItemEnabled(window, ID_WINDOW_TILEHORZ));

    // Maximised, the frame's system menu takes position 0 and File moves to 1.
    HWND frame = app.ActiveFrame();
    SendMessageA(g_app.m_hMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame), 0);
    PumpMessages();
    ASSERT_TRUE(IsZoomed(frame));
    ASSERT_EQ(file, GetSubMenu(GetMenu(app.Main()), 1));
    SendMessageA(app.Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(1, 0));
    EXPECT_TRUE(ItemEnabled(file, ID_FILE_SAVE));
    EXPECT_TRUE(ItemEnabled(file, ID_FILE_SAVEAS));
    EXPECT_FALSE(ItemEnabled(file, ID_FILE_PRINT)) << "no visible text";
    EXPECT_FALSE(ItemEnabled(file, ID_FILE_PRINTPREVIEW));

    // Blanks and line breaks are no text to print; a letter is.
    CTextDocument* text = app.Documents()[0]->GetTextDocument();
    text->InsertText(" \t\r ", 4, 0);
    SendMessageA(app.Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(1, 0));
    EXPECT_FALSE(ItemEnabled(file, ID_FILE_PRINT));
    text->InsertText("x", 1, 0);
    SendMessageA(app.Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(1, 0));
    EXPECT_TRUE(ItemEnabled(file, ID_FILE_PRINT));
    EXPECT_FALSE(ItemEnabled(file, ID_FILE_PRINTPREVIEW));
    text->m_bModified = 0;
}

TEST_F(MainFrame, EachFrameHoldsItsViewInTheViewAreaAndCtrlKCyclesTheFocus)
{
    app.Command(ID_FILE_NEW);
    HWND frame = app.ActiveFrame();
    CDocFrame* docFrame = app.FrameOf(frame);
    ASSERT_NE(nullptr, docFrame->GetView());
    ASSERT_NE(nullptr, docFrame->GetScrollBars());
    HWND view = FindWindowExA(frame, nullptr, "Display", nullptr);
    ASSERT_NE(nullptr, view);

    // Restored: a two-pixel margin and room for the scroll bars; maximised: no margin.
    RECT client, placed;
    GetClientRect(frame, &client);
    GetWindowRect(view, &placed);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(2, placed.left);
    EXPECT_EQ(2, placed.top);
    EXPECT_EQ(client.right - GetSystemMetrics(SM_CXVSCROLL) - 2, placed.right);
    EXPECT_EQ(client.bottom - GetSystemMetrics(SM_CYHSCROLL) - 2, placed.bottom);
    SendMessageA(g_app.m_hMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame), 0);
    PumpMessages();
    GetClientRect(frame, &client);
    GetWindowRect(view, &placed);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(0, placed.left);
    EXPECT_EQ(client.right - GetSystemMetrics(SM_CXVSCROLL), placed.right);

    // Scroll bars take the focus only while they have something to scroll.
    std::string lines;
    for (int i = 0; i < 200; i++)
        lines += std::string(300, 'w') + '\r';
    docFrame->m_pDocument->GetTextDocument()->InsertText(lines.data(),
                                                          static_cast<int>(lines.size()), 0);
    docFrame->m_pDocument->GetTextDocument()->m_bModified = 0;
    PumpMessages();

    // The key goes through the accelerator table as a real press would.
    SetFocus(view);

    HWND expected[] = {docFrame->GetScrollBars()->GetHorzBar(),
                       docFrame->GetScrollBars()->GetVertBar(), view};
    for (HWND next : expected) {
        EXPECT_TRUE(PressShortcut('K', true));
        EXPECT_EQ(next, GetFocus());
    }
}

TEST_F(MainFrame, AMaximisedFrameClosesOnTheSecondRequestAndIsRemembered)
{
    app.Command(ID_FILE_NEW);
    HWND frame = app.ActiveFrame();
    SendMessageA(g_app.m_hMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame), 0);
    PumpMessages();
    app.Command(ID_WINDOW_CLOSE);
    EXPECT_TRUE(IsWindow(frame)) << "the first request is swallowed";
    app.Command(ID_WINDOW_CLOSE);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(0u, app.Documents().size());

    // No window is active now, yet the next document opens maximised.
    app.Command(ID_FILE_NEW);
    HWND next = app.ActiveFrame();
    ASSERT_NE(nullptr, next);
    EXPECT_TRUE(IsZoomed(next));
    // Another window on it opens maximised like the active one.
    app.Command(ID_WINDOW_NEWWINDOW);
    EXPECT_TRUE(IsZoomed(app.ActiveFrame()));
}

TEST_F(MainFrame, LockKeysRefreshTheirPanesBeforeDispatch)
{
    app.Command(ID_FILE_NEW);
    HWND status = g_app.m_pStatusBar->m_hWnd;
    BYTE keys[256];
    GetKeyboardState(keys);
    for (BYTE on : {1, 0}) {
        keys[VK_CAPITAL] = on;
        keys[VK_NUMLOCK] = on;
        SetKeyboardState(keys);
        MSG caps = {app.Main(), WM_KEYDOWN, VK_CAPITAL, 0, 0, {0, 0}};
        PreTranslateAppMessage(&caps);
        EXPECT_EQ(on ? "CAP" : "", StatusText(status, 2));
        EXPECT_EQ(on ? "NUM" : "", StatusText(status, 3));
    }
}

TEST_F(MainFrame, ToolbarTipsComeFromTheStringTable)
{
    // Asked the way the toolbar's own tooltip window asks when the pointer rests on a button.
    HWND tips = reinterpret_cast<HWND>(SendMessageA(g_app.m_hToolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(nullptr, tips);
    for (int id : {ID_FILE_NEW, ID_EDIT_REDO}) {
        char text[256] = "";
        TOOLINFOA tool = {};
        tool.cbSize = sizeof(tool);
        tool.hwnd = g_app.m_hToolbar;
        tool.uId = id;
        tool.lpszText = text;
        SendMessageA(tips, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(id == ID_FILE_NEW ? "Creates a new document" : "Redoes the user's last action",
                     text);
    }

    NMTTDISPINFOA other = {};
    other.hdr.code = TTN_NEEDTEXTA;
    other.hdr.idFrom = ID_WINDOW_CLOSE;
    SendMessageA(app.Main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(nullptr, other.lpszText) << "not a toolbar command";
}

TEST(StatusBar, OnlyThePositionPaneShrinksAndNeverBelowTen)
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 100, nullptr,
                                nullptr, nullptr, nullptr);
    CStatusBar bar(parent);
    ASSERT_NE(nullptr, bar.m_hWnd);
    CStatusPane panes[3] = {};
    panes[0].m_nId = PANE_POSITION;
    panes[0].m_wFlags = PANE_SHRINKS | PANE_TOOLTIP;
    lstrcpyA(panes[0].m_szText, "Row: 12345 Col: 67890");
    panes[1].m_nId = PANE_CAPS;
    panes[1].m_wFlags = PANE_RIGHT | PANE_FIXED;
    panes[1].m_nFixedWidth = 40;
    panes[2] = panes[1];
    panes[2].m_nId = PANE_NUM;
    bar.AddPanes(panes, 3);
    EXPECT_EQ(PANE_POSITION, bar.PaneAt(0)->m_nId);
    EXPECT_EQ(PANE_MESSAGE, bar.PaneAt(1)->m_nId);
    EXPECT_EQ(PANE_NUM, bar.PaneAt(3)->m_nId);

    int edges[4];
    SendMessageA(bar.m_hWnd, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    int wide = edges[0];
    EXPECT_GT(wide, 30);

    // The control follows its parent's width.
    SetWindowPos(parent, nullptr, 0, 0, 60, 100, SWP_NOZORDER | SWP_NOMOVE);
    bar.ForwardSize(SIZE_RESTORED, 60, 100);
    bar.ApplyLayout();
    SendMessageA(bar.m_hWnd, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(PANE_MIN_WIDTH, edges[0]);
    EXPECT_EQ(PANE_MIN_WIDTH, edges[1] - edges[0]);
    EXPECT_EQ(40, edges[2] - edges[1]);
    EXPECT_EQ(40, edges[3] - edges[2]);

    // Updates of panes that are not there change nothing; removal leaves the message pane.
    CStatusPane unknown = {};
    unknown.m_nId = 999;
    unknown.m_wMask = PANE_MASK_TEXT;
    EXPECT_EQ(0, bar.UpdatePane(&unknown));
    EXPECT_EQ(1, bar.RemovePane(PANE_CAPS));
    EXPECT_EQ(1, bar.m_nRightCount);
    bar.RemoveAddedPanes();
    EXPECT_EQ(1, bar.m_pPanes->GetCount());
    EXPECT_EQ(PANE_MESSAGE, bar.PaneAt(0)->m_nId);
    DestroyWindow(parent);
}

TEST_F(MainFrame, AWindowListEntryActivatesItsFrame)
{
    app.Command(ID_FILE_NEW);
    HWND first = app.ActiveFrame();
    app.Command(ID_FILE_NEW);
    ASSERT_NE(first, app.ActiveFrame());
    HMENU window = Popup(2);
    UINT id = 0;
    for (int i = 0; i < GetMenuItemCount(window); i++) {
        char text[64] = "";
        GetMenuStringA(window, i, text, sizeof(text), MF_BYPOSITION);
        if (std::string(text).find("Untitled") != std::string::npos) {
            id = GetMenuItemID(window, i);
            break;
        }
    }
    ASSERT_GE(id, static_cast<UINT>(IDW_FIRST_MDI_CHILD));
    // The menu sends the item's whole id.
    SendMessageA(app.Main(), WM_COMMAND, id, 0);
    PumpMessages();
    EXPECT_EQ(first, app.ActiveFrame());
}

TEST_F(MainFrame, MoreWindowsListsEveryFrameAndActivatesTheChosenOne)
{
    app.Command(ID_FILE_NEW);
    HWND first = app.ActiveFrame();
    for (int i = 0; i < 10; i++)
        app.Command(ID_FILE_NEW);
    ASSERT_EQ(11u, app.FrameWindows().size());
    LRESULT listed = -1;
    DialogWatcher watcher([&listed](HWND dialog, const SeenDialog&) {
        HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
        listed = SendMessageA(list, LB_GETCOUNT, 0, 0);
        // The list runs from the active window down: the first document is last.
        SendMessageA(list, LB_SETCURSEL, listed - 1, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_WINDOW_LIST, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
    });
    SendMessageA(app.Main(), WM_COMMAND, IDW_FIRST_MDI_CHILD + 9, 0);
    EXPECT_EQ(11, listed);
    EXPECT_EQ(first, app.ActiveFrame());
    EXPECT_EQ(1u, watcher.Count());
}

TEST_F(MainFrame, CtrlF6ReachesTheMdiClientWhileAViewHasTheFocus)
{
    app.Command(ID_FILE_NEW);
    HWND first = app.ActiveFrame();
    app.Command(ID_FILE_NEW);
    HWND second = app.ActiveFrame();
    ASSERT_NE(first, second);
    SetFocus(FindWindowExA(second, nullptr, "Display", nullptr));
    EXPECT_TRUE(PressShortcut(VK_F6, true));
    EXPECT_EQ(first, app.ActiveFrame());
    EXPECT_EQ(FindWindowExA(first, nullptr, "Display", nullptr), GetFocus())
        << "the activated frame hands the focus to its view";
}

TEST_F(MainFrame, AStatusBarWithoutParentReportsThroughTheAssertionBox)
{
    std::vector<HWND> owners;
    std::vector<SeenDialog> seen;
    {
        DialogWatcher dialogs([&](HWND box, const SeenDialog&) {
            owners.push_back(GetWindow(box, GW_OWNER));
            PressDialogButton(box, IDOK);
        });
        CStatusBar orphan(nullptr);
        if (!orphan.m_hWnd)
            orphan.ApplyLayout();
        seen = dialogs.Seen();
    }
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ("Debug assertion failure", seen[0].caption);
    EXPECT_EQ(0u, seen[0].text.find("A debug assertion failure occured within file \"statusbar\" "
                                    "on line "));
    EXPECT_EQ(app.Main(), owners[0]) << "the box belongs to the main window";
}

TEST_F(MainFrame, SunkenBordersFrameTheMdiClientAndEachRestoredFrame)
{
    app.Command(ID_FILE_NEW);
    HWND frame = app.ActiveFrame();
    RedrawWindow(app.Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    RECT toolbar;
    GetWindowRect(g_app.m_hToolbar, &toolbar);
    MapWindowPoints(nullptr, app.Main(), reinterpret_cast<POINT*>(&toolbar), 2);
    RECT client;
    GetClientRect(app.Main(), &client);
    int t = toolbar.bottom, R = client.right, y = t + 20;
    HDC dc = GetDC(app.Main());
    // The display may draw the frames a moment later than the windows' own painting.
    EXPECT_TRUE(PumpUntil([&] { return GetPixel(dc, 0, y) == GetSysColor(COLOR_BTNSHADOW); }));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 1, y));
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), GetPixel(dc, R - 2, y));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, R - 1, y));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 20, t + 1));
    ReleaseDC(app.Main(), dc);

    GetClientRect(frame, &client);
    dc = GetDC(frame);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(dc, 0, 20));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 1, 20));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, client.right - 2, 20));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, client.right - 1, 20));
    ReleaseDC(frame, dc);
}

namespace {

WNDPROC g_toolbarProc;
int g_imagesAtToolbarDestroy = -1;

LRESULT CALLBACK WatchToolbarDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        HIMAGELIST own = reinterpret_cast<HIMAGELIST>(SendMessageA(window, TB_GETIMAGELIST, 0, 0));
        g_imagesAtToolbarDestroy = ImageList_GetImageCount(own);
    }
    return CallWindowProcA(g_toolbarProc, window, message, wParam, lParam);
}

} // namespace

TEST_F(MainFrame, TheToolbarsOwnImageListIsLeftToTheToolbar)
{
    // The main window goes before its children: the toolbar must still find its own list.
    ASSERT_TRUE(app.Started());
    int images = ImageList_GetImageCount(g_app.m_hToolbarImages[0]);
    ASSERT_GT(images, 0);
    g_toolbarProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        g_app.m_hToolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchToolbarDestroy)));
    DestroyWindow(app.Main());
    EXPECT_EQ(images, g_imagesAtToolbarDestroy);
    for (HIMAGELIST list : g_app.m_hToolbarImages)
        EXPECT_EQ(nullptr, list);
}
