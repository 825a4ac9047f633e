// The mouse in real views of the editor's own frames: clicks, selecting, the menus, dragging
// within and between views, and auto-scroll.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/DocFrame.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "support/AppWindow.h"
#include "support/MouseInput.h"
#include "support/ViewHarness.h"
#include "support/Waits.h"
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"

namespace {

std::string Text(const CEditDisplay* view)
{
    return std::string(view->GetDocument()->GetTextAt(0), view->GetDocument()->GetTextLength());
}

std::string Selected(const CEditDisplay* view)
{
    const CSelection* s = view->m_pSelection;
    return s->IsEmpty() ? "" : Text(view).substr(s->Start(), s->End() - s->Start());
}

// The client point of an index, half a line down and dx pixels to its right.
POINT At(CEditDisplay* view, int index, int dx = 1)
{
    POINT p;
    view->PointFromIndex(index, &p);
    p.x += dx - view->GetHorzPos() * view->GetCharWidth();
    p.y += view->GetLineHeight() / 2 - view->GetVertPos() * view->GetLineHeight();
    return p;
}

// A press at from, a move to to and the release there; down is the press message.
void Gesture(CEditDisplay* view, UINT down, POINT from, POINT to)
{
    int left = down != WM_RBUTTONDOWN;
    SendMouse(view->m_hWnd, down, from, left ? MK_LBUTTON : MK_RBUTTON);
    SendMouse(view->m_hWnd, WM_MOUSEMOVE, to, left ? MK_LBUTTON : MK_RBUTTON);
    SendMouse(view->m_hWnd, left ? WM_LBUTTONUP : WM_RBUTTONUP, to);
    PumpMessages();
}

// Puts the pointer on a point of view and lets the view holding the drag see it there.
void HoverTo(CEditDisplay* view, POINT client, CEditDisplay* holder)
{
    ClientToScreen(view->m_hWnd, &client);
    SetCursorPos(client.x, client.y);
    SendMessageA(holder->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, 0);
}

// The view's top line after each auto-scroll tick.
std::vector<int> TopsOfTicks(CEditDisplay* view, size_t count)
{
    std::vector<int> tops;
    WindowTap tap(view->m_hWnd, [&](UINT message, WPARAM id) {
        if (message == WM_TIMER && id == 1 && tops.size() < count)
            tops.push_back(view->GetVertPos());
    });
    EXPECT_TRUE(PumpUntil([&] { return tops.size() == count; }));
    return tops;
}

class Mouse : public ::testing::Test {
protected:
    Mouse()
    {
        SetWindowPos(app.Main(), HWND_TOP, 0, 0, 1000, 700, 0);
        SetForegroundWindow(app.Main());
    }
    ~Mouse() override { ReleaseRealButtons(); }
    // A new document with text, its frames side by side with the others.
    CEditDisplay* Open(const std::string& text)
    {
        app.Command(ID_FILE_NEW);
        CEditDisplay* view = ActiveView();
        view->GetDocument()->InsertText(text.data(), static_cast<int>(text.size()), 0);
        app.Command(ID_WINDOW_TILEVERT);
        return view;
    }
    CEditDisplay* ActiveView() { return app.FrameOf(app.ActiveFrame())->GetView(); }
    // A real button pressed on index of from, then held over to's target.
    void DragOver(CEditDisplay* from, int index, CEditDisplay* to, int target,
                  DWORD down = MOUSEEVENTF_LEFTDOWN)
    {
        HoverTo(from, At(from, index), from);
        RealButton(down);
        unsigned int bit = down == MOUSEEVENTF_LEFTDOWN ? VS_LEFT_DRAG : VS_RIGHT_DRAG;
        ASSERT_TRUE(PumpUntil([&] { return from->TestState(bit); }));
        HoverTo(to, At(to, target), from);
        ASSERT_TRUE(PumpUntil([&] { return to->m_pDrag != nullptr; }));
    }
    AppWindow app;
};

} // namespace

TEST_F(Mouse, ClicksDragsAndDoubleClicksSelect)
{
    CEditDisplay* view = Open("wide mmmm big\rnext");
    int j = 5, left = At(view, j, 0).x, width = At(view, j + 1, 0).x - left;
    ASSERT_EQ(0, width % 2) << "an 'm' of even width has an exact middle";
    Gesture(view, WM_LBUTTONDOWN, At(view, j, width / 2), At(view, j, width / 2));
    EXPECT_EQ(j, view->GetIndex()) << "a middle goes to the left";
    Gesture(view, WM_LBUTTONDOWN, At(view, j, width / 2 + 1), At(view, j, width / 2 + 1));
    EXPECT_EQ(j + 1, view->GetIndex());
    EXPECT_TRUE(view->m_pSelection->IsEmpty());
    EXPECT_EQ(nullptr, GetCapture());

    Gesture(view, WM_LBUTTONDOWN, At(view, 1), At(view, 7));
    EXPECT_EQ("ide mm", Selected(view));
    EXPECT_FALSE(view->TestState(VS_SELECTING));
    Gesture(view, WM_LBUTTONDBLCLK, At(view, 11), At(view, 11));
    EXPECT_EQ("big", Selected(view));
    EXPECT_EQ(13, view->GetIndex());
    Gesture(view, WM_LBUTTONDBLCLK, At(view, 4), At(view, 4));
    EXPECT_EQ(" ", Selected(view));
    Gesture(view, WM_LBUTTONDBLCLK, At(view, 13, 40), At(view, 13, 40));
    EXPECT_EQ("", Selected(view)) << "a line end selects nothing";
}

TEST_F(Mouse, ALeftDragMovesWithinAViewAndADropOnTheDraggedTextChangesNothing)
{
    CEditDisplay* view = Open("one two three");
    SelectRange(view, 0, 4);
    SendMouse(view->m_hWnd, WM_LBUTTONDOWN, At(view, 1), MK_LBUTTON);
    EXPECT_TRUE(view->TestState(VS_LEFT_DRAG));
    EXPECT_FALSE(view->m_bCaretExists) << "no caret over the dragged text";
    Gesture(view, WM_MOUSEMOVE, At(view, 8), At(view, 8));
    EXPECT_EQ("two one three", Text(view)) << "landed at the drop index minus its length";
    EXPECT_EQ(4, view->m_pSelection->Start());
    EXPECT_EQ("one ", Selected(view));
    view->GetDocument()->Undo();
    EXPECT_EQ("one two three", Text(view));
    EXPECT_FALSE(view->GetDocument()->CanUndo()) << "the move is one history step";

    for (int end : {4, 7}) {
        SelectRange(view, 4, 7);
        Gesture(view, WM_LBUTTONDOWN, At(view, 5), At(view, end));
        EXPECT_EQ("two", Selected(view)) << "released at an end, the selection stays";
    }
    Gesture(view, WM_LBUTTONDOWN, At(view, 5), At(view, 6));
    EXPECT_EQ("", Selected(view)) << "released inside, it is a click";
    EXPECT_EQ(6, view->GetIndex());
    EXPECT_EQ("one two three", Text(view));
    EXPECT_FALSE(view->GetDocument()->CanUndo());
}

TEST_F(Mouse, ARightClickShowsTheContextMenuOfTheActiveFrameWithTheEditMenusStates)
{
    CEditDisplay* other = Open("elsewhere");
    CEditDisplay* view = Open("one two");
    std::vector<std::string> menus;
    auto watch = [&](UINT message, WPARAM wParam) {
        if (message != WM_INITMENUPOPUP)
            return;
        menus.push_back(MenuItems(reinterpret_cast<HMENU>(wParam)));
        // "Cu&t" from the first menu; the others are closed.
        if (menus.size() == 1)
            PostMessageA(view->m_hWnd, WM_CHAR, 't', 0);
        else
            PostMessageA(view->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    {
        WindowTap tap(view->m_hWnd, watch);
        SelectRange(view, 0, 3);
        Gesture(view, WM_RBUTTONDOWN, At(view, 1), At(view, 1, 3));
        ASSERT_EQ(1u, menus.size()) << "a release within 2 pixels is a click";
        EXPECT_EQ("Cu&t|&Copy|~&Paste|&Delete", menus[0]);
        EXPECT_EQ(" two", Text(view)) << "the menu's command reaches the view";

        // Outside the selection it goes; Delete follows the caret as in the Edit menu.
        SelectRange(view, 0, 2);
        Gesture(view, WM_RBUTTONDOWN, At(view, 3), At(view, 3));
        Gesture(view, WM_RBUTTONDOWN, At(view, 4, 30), At(view, 4, 30));
        ASSERT_EQ(3u, menus.size());
        EXPECT_EQ("~Cu&t|~&Copy|&Paste|&Delete", menus[1]);
        EXPECT_EQ("~Cu&t|~&Copy|&Paste|~&Delete", menus[2]) << "the caret is at the end";
        EXPECT_TRUE(view->m_pSelection->IsEmpty());
    }
    WindowTap tap(other->m_hWnd, watch);
    Gesture(other, WM_RBUTTONDOWN, At(other, 2), At(other, 2));
    EXPECT_EQ(3u, menus.size()) << "a frame that is not the active one shows no menu";
}

TEST_F(Mouse, ARightDragOpensTheDropMenuWhoseCommandsDoWhatTheySay)
{
    CEditDisplay* view = Open("one two three");
    char reply = 0;
    std::string items;
    WindowTap tap(view->m_hWnd, [&](UINT message, WPARAM wParam) {
        if (message == WM_INITMENUPOPUP) {
            items = MenuItems(reinterpret_cast<HMENU>(wParam));
            PostMessageA(view->m_hWnd, WM_CHAR, reply, 0);
        }
    });
    const struct { char reply; int end; int to; const char* text; const char* selected; } drops[] = {
        {'c', 3, 8, "one two onethree", "one"},
        {'m', 4, 8, "two one onethree", "one "},
        {'a', 4, 12, "two one onethree", ""},
    };
    for (const auto& drop : drops) {
        reply = drop.reply;
        SelectRange(view, 0, drop.end);
        Gesture(view, WM_RBUTTONDOWN, At(view, 1), At(view, drop.to));
        EXPECT_EQ("&Move Here|&Copy Here|-|C&ancel", items);
        EXPECT_EQ(drop.text, Text(view));
        EXPECT_EQ(drop.selected, Selected(view));
        EXPECT_EQ(nullptr, view->m_pDrag);
    }

    // On the left half of its first character the caret is at the selection's start, not
    // inside it: the drop menu opens, and Move is one step that changes nothing.
    while (view->GetDocument()->CanUndo())
        view->GetDocument()->Undo();
    SelectRange(view, 4, 7);
    items.clear();
    reply = 'm';
    Gesture(view, WM_RBUTTONDOWN, At(view, 4), At(view, 4));
    EXPECT_FALSE(items.empty());
    EXPECT_EQ("one two three", Text(view));
    view->GetDocument()->Undo();
    EXPECT_FALSE(view->GetDocument()->CanUndo());
}

TEST_F(Mouse, ADragHeldOverAnotherDocumentMovesThereAndItsReleaseMovesTheText)
{
    CEditDisplay* a = Open("alpha beta gamma");
    CEditDisplay* b = Open("one two");
    SelectRange(a, 6, 10);
    DragOver(a, 7, b, 3);
    EXPECT_EQ(nullptr, a->m_pDrag) << "the record went with the drag";
    EXPECT_EQ(b->m_hWnd, GetCapture());
    EXPECT_EQ(b, ActiveView());
    RealButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !b->TestState(VS_LEFT_DRAG); }));
    EXPECT_EQ("alpha  gamma", Text(a));
    EXPECT_EQ("onebeta two", Text(b));
    EXPECT_EQ("beta", Selected(b));
    for (CEditDisplay* view : {a, b}) {
        view->GetDocument()->Undo();
        EXPECT_FALSE(view->GetDocument()->CanUndo()) << "one history step in each document";
    }
    EXPECT_EQ("alpha beta gamma", Text(a));
    EXPECT_EQ("one two", Text(b));
}

TEST_F(Mouse, InAnotherViewOfTheDocumentComingBackCancelsAndTheDraggedRangeIsNoTarget)
{
    CEditDisplay* a = Open("one two three");
    app.Command(ID_WINDOW_NEWWINDOW);
    CEditDisplay* b = ActiveView();
    app.Command(ID_WINDOW_TILEVERT);
    SelectRange(a, 4, 7);
    HoverTo(a, At(a, 5), a);
    RealButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return a->TestState(VS_LEFT_DRAG); }));
    HoverTo(b, At(b, 1), a);
    EXPECT_TRUE(a->TestState(VS_OVER_VIEW));
    EXPECT_EQ(b->m_hWnd, a->m_hWndDropTarget);
    HoverTo(a, At(a, 1), a);
    EXPECT_FALSE(a->TestState(VS_OVER_VIEW)) << "back before the hand-over";
    EXPECT_EQ(nullptr, a->m_hWndDropTarget);

    // Handed over after all, and released strictly inside the dragged range.
    HoverTo(b, At(b, 5), a);
    ASSERT_TRUE(PumpUntil([&] { return b->m_pDrag != nullptr; }));
    RealButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !b->m_pDrag; }));
    EXPECT_EQ("one two three", Text(a));
    EXPECT_FALSE(a->GetDocument()->CanUndo());
    EXPECT_EQ("two", Selected(a)) << "the source keeps its selection";
    EXPECT_TRUE(b->m_pSelection->IsEmpty());

    // The same with the right button and "&Move Here" from the drop menu.
    std::string items;
    WindowTap tap(b->m_hWnd, [&](UINT message, WPARAM wParam) {
        if (message == WM_INITMENUPOPUP) {
            items = MenuItems(reinterpret_cast<HMENU>(wParam));
            PostMessageA(b->m_hWnd, WM_CHAR, 'm', 0);
        }
    });
    DragOver(a, 5, b, 5, MOUSEEVENTF_RIGHTDOWN);
    RealButton(MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return !b->m_pDrag; }));
    EXPECT_FALSE(items.empty());
    EXPECT_EQ("one two three", Text(a));
    EXPECT_FALSE(a->GetDocument()->CanUndo());
    EXPECT_EQ("two", Selected(a));
}

TEST_F(Mouse, ClosingTheSourceOrTheHolderOfADragEndsItWithoutAnEdit)
{
    CEditDisplay* a = Open("alpha beta");
    CEditDisplay* b = Open("one two");
    CEditDisplay* c = Open("three");
    auto close = [&](CEditDisplay* view) {
        view->GetDocument()->m_bModified = 0;
        SendMessageA(GetParent(view->m_hWnd), WM_CLOSE, 0, 0);
    };
    SelectRange(a, 6, 10);
    DragOver(a, 7, b, 1);
    close(a);
    EXPECT_EQ(nullptr, b->m_pDrag);
    EXPECT_FALSE(b->TestState(VS_LEFT_DRAG));
    EXPECT_NE(b->m_hWnd, GetCapture());
    RealButton(MOUSEEVENTF_LEFTUP);
    PumpMessages();
    EXPECT_EQ("one two", Text(b));

    // The holder goes: its record goes with it, and its source may go later.
    SelectRange(b, 4, 7);
    DragOver(b, 5, c, 1);
    close(c);
    EXPECT_EQ(nullptr, GetCapture());
    RealButton(MOUSEEVENTF_LEFTUP);
    PumpMessages();
    EXPECT_EQ("one two", Text(b));
    EXPECT_FALSE(b->GetDocument()->CanUndo());
    close(b);
    EXPECT_EQ(0u, app.Documents().size());
}

TEST_F(Mouse, SelectingAboveTheViewScrollsUpByTheDistanceToTheScreensTop)
{
    CEditDisplay* view = Open(NumberedLines(300));
    view->m_pScrollBars->SetVertPos(150, 1);
    int top = view->GetVertPos();
    RECT window;
    GetWindowRect(view->m_hWnd, &window);
    ASSERT_GE(window.top, 100) << "the view lies far enough below the screen's top";
    SendMouse(view->m_hWnd, WM_LBUTTONDOWN, {30, 100}, MK_LBUTTON);
    SendMouse(view->m_hWnd, WM_MOUSEMOVE, {3, -20}, MK_LBUTTON);
    EXPECT_TRUE(view->TestState(VS_AUTO_SCROLL | VS_FAST_SCROLL));
    EXPECT_EQ(top - 100 * 20 / window.top, TopsOfTicks(view, 1)[0]);
    EXPECT_EQ(view->m_nTopIndex, view->m_pSelection->Start()) << "the selection follows up";
    SendMouse(view->m_hWnd, WM_LBUTTONUP, {3, -20});
    EXPECT_FALSE(view->TestState(VS_AUTO_SCROLL));

    // A view reaching past the screen's top (the pointer on a monitor above): the most, not
    // a step the wrong way.
    SetWindowPos(app.Main(), nullptr, 0, -window.top - 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(view->m_hWnd, &window);
    EXPECT_EQ(100, view->ScrollStep({window.left, window.top - 5}));
}

TEST_F(Mouse, DraggingAtTheBottomGainsALineEverySecondTickUpToAHundred)
{
    CEditDisplay* view = Open(NumberedLines(2000));
    SelectRange(view, 0, 4);
    SendMouse(view->m_hWnd, WM_LBUTTONDOWN, At(view, 1), MK_LBUTTON);
    RECT client;
    GetClientRect(view->m_hWnd, &client);
    DWORD start = GetTickCount();
    SendMouse(view->m_hWnd, WM_MOUSEMOVE, {30, client.bottom - 3}, MK_LBUTTON);
    EXPECT_TRUE(view->TestState(VS_AUTO_SCROLL | VS_FAST_SCROLL));
    std::vector<int> tops = TopsOfTicks(view, 10), steps;
    // Timers never come early: ten ticks this soon cannot be those of a 200 ms timer.
    EXPECT_LT(GetTickCount() - start, 1900u) << "a tick every 75 ms";
    for (size_t i = 1; i < tops.size(); i++)
        steps.push_back(tops[i] - tops[i - 1]);
    EXPECT_EQ((std::vector<int>{2, 2, 3, 3, 4, 4, 5, 5, 6}), steps);
    view->m_nScrollSpeed = 99;
    view->m_nSpeedTicks = 1;
    tops = TopsOfTicks(view, 3);
    EXPECT_EQ(100, tops[1] - tops[0]);
    EXPECT_EQ(100, tops[2] - tops[1]);

    // A right press cancels the drag: the selection collapses, nothing moves.
    SendMouse(view->m_hWnd, WM_RBUTTONDOWN, {30, 20}, MK_LBUTTON | MK_RBUTTON);
    EXPECT_FALSE(view->TestState(VS_LEFT_DRAG));
    EXPECT_FALSE(view->TestState(VS_AUTO_SCROLL));
    EXPECT_EQ(NumberedLines(2000), Text(view));
    EXPECT_TRUE(view->m_pSelection->IsEmpty());
    SendMouse(view->m_hWnd, WM_LBUTTONUP, {30, 20});
}

TEST_F(Mouse, TheRightButtonsMenusOpenWithoutAutoScrollAndCloseWithTheCaretBack)
{
    CEditDisplay* view = Open(NumberedLines(200));
    int menus = 0;
    bool scrolling = true;
    WindowTap tap(view->m_hWnd, [&](UINT message, WPARAM) {
        if (message == WM_INITMENUPOPUP) {
            menus++;
            scrolling = view->TestState(VS_AUTO_SCROLL);
            PostMessageA(view->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        }
    });
    // The press on the selection hid the caret.
    SelectRange(view, 0, 4);
    Gesture(view, WM_RBUTTONDOWN, At(view, 1), At(view, 1));
    ASSERT_EQ(1, menus);
    EXPECT_TRUE(view->m_bCaretExists) << "the context menu closed without a choice";

    RECT client;
    GetClientRect(view->m_hWnd, &client);
    SendMouse(view->m_hWnd, WM_RBUTTONDOWN, At(view, 1), MK_RBUTTON);
    SendMouse(view->m_hWnd, WM_MOUSEMOVE, {30, client.bottom - 3}, MK_RBUTTON);
    ASSERT_TRUE(view->TestState(VS_AUTO_SCROLL));
    SendMouse(view->m_hWnd, WM_RBUTTONUP, {30, client.bottom - 3});
    ASSERT_EQ(2, menus);
    EXPECT_FALSE(scrolling) << "auto-scroll stops before the drop menu opens";
}

TEST_F(Mouse, LosingTheMouseOrDroppingBeforeTheHandOverLeavesNoDragBehind)
{
    CEditDisplay* a = Open("alpha beta gamma");
    CEditDisplay* b = Open("one two");
    // Another window takes the mouse, as another program or a change of foreground does.
    auto loseMouse = [&] {
        SetCapture(app.Main());
        ReleaseCapture();
    };
    SelectRange(b, 0, 3);
    SendMouse(b->m_hWnd, WM_RBUTTONDOWN, At(b, 1), MK_RBUTTON);
    loseMouse();
    EXPECT_EQ(nullptr, b->m_pDrag);
    EXPECT_TRUE(b->m_bCaretExists);
    Gesture(b, WM_LBUTTONDOWN, At(b, 5), At(b, 5));
    EXPECT_EQ(5, b->GetIndex()) << "the next left click is no cancel of the right drag";

    // The source while it hovers over another view, then the view it handed the drag to.
    SelectRange(a, 6, 10);
    SendMouse(a->m_hWnd, WM_LBUTTONDOWN, At(a, 7), MK_LBUTTON);
    HoverTo(b, At(b, 3), a);
    loseMouse();
    EXPECT_FALSE(a->TestState(VS_OVER_VIEW)) << "no hand-over follows";
    EXPECT_EQ(nullptr, a->m_pDrag);
    DragOver(a, 7, b, 3);
    loseMouse();
    EXPECT_EQ(nullptr, b->m_pDrag);
    RealButton(MOUSEEVENTF_LEFTUP);
    PumpMessages();
    Gesture(b, WM_LBUTTONDOWN, At(b, 1), At(b, 1));
    EXPECT_EQ("one two", Text(b)) << "a later click drops nothing";

    // Released over another view before the hover handed the drag over.
    SendMouse(a->m_hWnd, WM_LBUTTONDOWN, At(a, 7), MK_LBUTTON);
    HoverTo(b, At(b, 3), a);
    SendMessageA(a->m_hWnd, WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(a->TestState(VS_OVER_VIEW));
    EXPECT_EQ("alpha beta gamma", Text(a));
}
