// The Find and Replace dialogs in a real main window: opened by their commands, filled and
// pressed as a user would, following the active view.
#include <gtest/gtest.h>

#include <malloc.h>
#include <string.h>
#include <windows.h>

#include <functional>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/OpenDocument.h"
#include "document/FindInfo.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"
#include "support/AppWindow.h"
#include "support/DialogWatcher.h"
#include "support/TestSupport.h"
#include "support/Waits.h"

// Freed memory is spoilt and never handed out again: a search that used the state of a
// closed document after its message box then fails at once instead of reading whatever
// took its place. The few objects a test frees stay with the process until it ends.
void operator delete(void* p) noexcept
{
    if (p)
        memset(p, 0xdd, _msize(p));
}

void operator delete(void* p, size_t) noexcept
{
    operator delete(p);
}

namespace {

// Answers the message boxes the hooks show and leaves the modeless dialogs alone.
DialogWatcher::Handler BoxesOnly()
{
    return [](HWND dialog, const SeenDialog&) {
        if (dialog != g_app.m_hFindDialog && dialog != g_app.m_hReplaceDialog)
            PressDialogButton(dialog, IDOK);
    };
}

// The message boxes among the dialogs the watcher saw.
std::vector<SeenDialog> Boxes(DialogWatcher& watcher)
{
    std::vector<SeenDialog> boxes;
    for (const SeenDialog& seen : watcher.Seen()) {
        if (!seen.text.empty())
            boxes.push_back(seen);
    }
    return boxes;
}

// Sends the button's click to the dialog as the button itself would, and waits for the hook.
void Press(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    PumpMessages();
}

// Searches for text with the button, and returns the one message box that this showed.
SeenDialog BoxOfSearch(HWND dialog, int button, const char* text)
{
    DialogWatcher watcher(BoxesOnly());
    SetDlgItemTextA(dialog, IDC_FIND_TEXT, text);
    Press(dialog, button);
    EXPECT_TRUE(PumpUntil([&] { return Boxes(watcher).size() == 1; }));
    std::vector<SeenDialog> boxes = Boxes(watcher);
    return boxes.empty() ? SeenDialog() : boxes[0];
}

std::string Item(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

class FindDialogs : public ::testing::Test {
protected:
    // A new document holding text, its view focused.
    CEditDisplay* NewDocument(const std::string& text)
    {
        app.Command(ID_FILE_NEW);
        CEditDisplay* view = app.FrameOf(app.ActiveFrame())->m_pView;
        InsertString(view->GetDocument(), text, 0);
        view->GetDocument()->m_bModified = 0;
        SetFocus(view->m_hWnd);
        PumpMessages();
        return view;
    }

    void TearDown() override
    {
        for (COpenDocument* document : app.Documents())
            document->GetTextDocument()->m_bModified = 0;
    }

    AppWindow app;
};

} // namespace

TEST_F(FindDialogs, WithoutADocumentFindOpensOnceAndAnswersThatThereIsNoFindState)
{
    app.Command(ID_EDIT_FIND);
    HWND dialog = g_app.m_hFindDialog;
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("Find", WindowText(dialog));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_FIND_HELP)));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_FIND_DOWN));
    app.Command(ID_EDIT_FIND);
    EXPECT_EQ(dialog, g_app.m_hFindDialog) << "a second Find leaves the open dialog";

    SeenDialog box = BoxOfSearch(dialog, IDOK, "x");
    EXPECT_EQ("Error", box.caption);
    EXPECT_EQ("pFind pointer invalid", box.text);

    // Cancel closes it in the system's way; the closing notice clears the handle.
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(PumpUntil([] { return g_app.m_hFindDialog == nullptr; }));
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(FindDialogs, FindNextSelectsTheMatchWarnsOnEmptyTextAndFollowsTheActiveView)
{
    CEditDisplay* first = NewDocument("one two one");
    app.Command(ID_EDIT_FIND);
    HWND dialog = g_app.m_hFindDialog;
    ASSERT_NE(nullptr, dialog);

    SeenDialog box = BoxOfSearch(dialog, IDOK, "");
    EXPECT_EQ("Zendle Editor", box.caption);
    EXPECT_EQ("Please enter a string to search for.", box.text);
    EXPECT_TRUE(first->m_pSelection->IsEmpty()) << "nothing was searched";

    SetDlgItemTextA(dialog, IDC_FIND_TEXT, "ONE");
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_FIND_UP)) << "a fresh find state";
    CheckRadioButton(dialog, IDC_FIND_UP, IDC_FIND_DOWN, IDC_FIND_DOWN);
    Press(dialog, IDOK);
    Press(dialog, IDOK);
    EXPECT_EQ(8, first->m_pSelection->Start());
    EXPECT_EQ(11, first->m_pSelection->End());

    // Another window brings its own last search into the dialog, and back again.
    CEditDisplay* second = NewDocument("two");
    EXPECT_EQ("", Item(dialog, IDC_FIND_TEXT));
    SetDlgItemTextA(dialog, IDC_FIND_TEXT, "two");
    CheckDlgButton(dialog, IDC_FIND_MATCH_CASE, BST_CHECKED);
    CheckRadioButton(dialog, IDC_FIND_UP, IDC_FIND_DOWN, IDC_FIND_UP);
    Press(dialog, IDOK);
    EXPECT_EQ(3, second->m_pSelection->End());
    SetFocus(first->m_hWnd);
    EXPECT_EQ("ONE", Item(dialog, IDC_FIND_TEXT));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_FIND_MATCH_CASE));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_FIND_DOWN));
    SetFocus(second->m_hWnd);
    EXPECT_EQ("two", Item(dialog, IDC_FIND_TEXT));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_FIND_MATCH_CASE));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_FIND_UP));
}

TEST_F(FindDialogs, ReplaceAllTakesAnEmptyReplacementAsOneUndoStep)
{
    CEditDisplay* view = NewDocument("one two one");
    app.Command(ID_EDIT_REPLACE);
    HWND dialog = g_app.m_hReplaceDialog;
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("Replace", WindowText(dialog));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_FIND_UP)) << "a fresh find state";

    SetDlgItemTextA(dialog, IDC_FIND_TEXT, "one");
    SetDlgItemTextA(dialog, IDC_REPLACE_TEXT, "");
    // While a sort's worker reads the text, the dialog stays open but changes nothing.
    CTextDocument* document = view->GetDocument();
    document->m_hSortThread = GetCurrentThread();
    Press(dialog, IDC_REPLACE_ALL);
    document->m_hSortThread = nullptr;
    EXPECT_EQ("one two one", DocumentText(document));

    Press(dialog, IDC_REPLACE_ALL);
    EXPECT_EQ(" two ", DocumentText(document));
    document->Undo();
    PumpMessages();
    EXPECT_EQ("one two one", DocumentText(document));
}

TEST_F(FindDialogs, ADialogLetsGoOfTheStateOfAViewThatCloses)
{
    CEditDisplay* first = NewDocument("abc");
    CEditDisplay* second = NewDocument("abc");
    app.Command(ID_EDIT_FIND);
    app.Command(ID_EDIT_REPLACE);
    HWND find = g_app.m_hFindDialog;
    HWND replace = g_app.m_hReplaceDialog;

    // Closing the window in use activates the other first: the dialogs keep its state. A
    // box here would be a fault; the watcher answers it so that the test fails, not hangs.
    {
        DialogWatcher unexpected(BoxesOnly());
        SetForegroundWindow(app.Main());
        SetFocus(second->m_hWnd);
        app.Command(ID_WINDOW_CLOSE);
        ASSERT_EQ(1u, app.Documents().size());
        SetDlgItemTextA(find, IDC_FIND_TEXT, "b");
        Press(find, IDOK);
        EXPECT_EQ(2, first->m_pSelection->End());
        EXPECT_TRUE(Boxes(unexpected).empty());
    }

    // The last view takes its state with it: a search then says so instead of using it.
    app.Command(ID_WINDOW_CLOSE);
    ASSERT_EQ(0u, app.Documents().size());
    EXPECT_EQ("", Item(find, IDC_FIND_TEXT)) << "refilled without a state";
    EXPECT_EQ("pFind pointer invalid", BoxOfSearch(find, IDOK, "b").text);
    EXPECT_EQ("pFind pointer invalid", BoxOfSearch(replace, IDC_REPLACE_ALL, "b").text);
}

// The notice box disables only the dialog: meanwhile the user may edit or close the document.
TEST_F(FindDialogs, AnEditOrACloseWhileASearchNoticeIsOpenIsTakenIntoAccount)
{
    const struct {
        int command, button;
    } buttons[] = {{ID_EDIT_FIND, IDOK}, {ID_EDIT_REPLACE, IDOK}, {ID_EDIT_REPLACE, IDC_REPLACE_ONE}};
    // Both dialogs open before the watcher starts: it must take no dialog for a box.
    app.Command(ID_EDIT_FIND);
    app.Command(ID_EDIT_REPLACE);
    std::function<void()> whileOpen = [] {};
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        if (dialog == g_app.m_hFindDialog || dialog == g_app.m_hReplaceDialog)
            return;
        whileOpen();
        PressDialogButton(dialog, IDOK);
    });
    for (const auto& b : buttons) {
        SCOPED_TRACE(std::to_string(b.command) + " button " + std::to_string(b.button));
        CEditDisplay* view = NewDocument("abc");
        HWND dialog = b.command == ID_EDIT_FIND ? g_app.m_hFindDialog : g_app.m_hReplaceDialog;
        size_t boxes = Boxes(watcher).size();

        whileOpen = [&] {
            for (char c : std::string("zzz"))
                SendMessageA(view->m_hWnd, WM_CHAR, static_cast<unsigned char>(c), 0);
        };
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, "zzz");
        Press(dialog, b.button);
        Press(dialog, b.button);
        EXPECT_EQ(boxes + 1, Boxes(watcher).size()) << "the new text is searched";
        CSelection* s = view->m_pSelection;
        std::string text = DocumentText(view->GetDocument());
        EXPECT_EQ("zzz", s->IsEmpty() ? "" : text.substr(s->Start(), s->End() - s->Start()));

        view->GetDocument()->m_bModified = 0;
        whileOpen = [] { SendMessageA(g_app.m_hMainWindow, WM_COMMAND, ID_WINDOW_CLOSE, 0); };
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, "qqq");
        Press(dialog, b.button);
        EXPECT_EQ(0u, app.Documents().size());
        whileOpen = [] {};
        Press(dialog, b.button);
        EXPECT_EQ("pFind pointer invalid", Boxes(watcher).back().text);
    }
}

TEST_F(FindDialogs, ReplaceDialogButtonsMatchCaseAndTheRefillFromTheActiveView)
{
    CEditDisplay* first = NewDocument("one two one two one");
    CTextDocument* document = first->GetDocument();
    first->MoveCaret(0);
    app.Command(ID_EDIT_REPLACE);
    HWND dialog = g_app.m_hReplaceDialog;
    ASSERT_NE(nullptr, dialog);
    SetDlgItemTextA(dialog, IDC_FIND_TEXT, "one");
    SetDlgItemTextA(dialog, IDC_REPLACE_TEXT, "1");
    CheckRadioButton(dialog, IDC_FIND_UP, IDC_FIND_DOWN, IDC_FIND_DOWN);
    {
        // A box here would be a fault; answered, so that the test fails instead of hanging.
        DialogWatcher unexpected(BoxesOnly());
        Press(dialog, IDOK);
        Press(dialog, IDOK);
        EXPECT_EQ("one two one two one", DocumentText(document)) << "Find Next only selects";
        EXPECT_EQ(8, first->m_pSelection->Start());
        Press(dialog, IDC_REPLACE_ONE);
        EXPECT_EQ("one two 1 two one", DocumentText(document)) << "Replace takes the selected";
        EXPECT_EQ(14, first->m_pSelection->Start());
        EXPECT_TRUE(Boxes(unexpected).empty());
    }
    CheckDlgButton(dialog, IDC_FIND_MATCH_CASE, BST_CHECKED);
    EXPECT_EQ(FIND_NOT_FOUND_TEXT, BoxOfSearch(dialog, IDOK, "ONE").text);

    // Another window brings its own replace state, empty, and back again.
    NewDocument("two");
    EXPECT_EQ("", Item(dialog, IDC_FIND_TEXT));
    EXPECT_EQ("", Item(dialog, IDC_REPLACE_TEXT));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_FIND_MATCH_CASE));
    SetFocus(first->m_hWnd);
    EXPECT_EQ("ONE", Item(dialog, IDC_FIND_TEXT));
    EXPECT_EQ("1", Item(dialog, IDC_REPLACE_TEXT));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_FIND_MATCH_CASE));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_FIND_DOWN));
}
