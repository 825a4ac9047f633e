#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/OpenDocument.h"
#include "document/EditHistory.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "support/AppWindow.h"
#include "support/ClipboardBytes.h"
#include "support/DialogWatcher.h"
#include "support/EditMenu.h"
#include "support/TestFiles.h"
#include "support/ViewHarness.h"
#include "support/Waits.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"

static std::string Clipboard()
{
    std::string text = "<none>";
    ReadClipboardBytes(&text);
    return text;
}

static int Steps(const ViewHarness& h)
{
    return h.m_pDocument->m_pHistory->m_nPosition;
}

static void PasteAtEnd(ViewHarness& h)
{
    h.View()->m_pSelection->Clear();
    h.View()->MoveCaret(h.m_pDocument->GetTextLength());
    SendCommand(h.View(), ID_EDIT_PASTE);
}

// Another program holding the clipboard for a while, here a thread of our own.
struct ClipboardHolder {
    explicit ClipboardHolder(DWORD holdMs) : m_hold(holdMs)
    {
        m_opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, Hold, this, 0, nullptr);
        WaitForSingleObject(m_opened, 10000);
    }
    ~ClipboardHolder()
    {
        WaitForSingleObject(m_thread, 30000);
        CloseHandle(m_thread);
        CloseHandle(m_opened);
    }
    static DWORD WINAPI Hold(void* self)
    {
        ClipboardHolder* h = static_cast<ClipboardHolder*>(self);
        BOOL open = OpenClipboard(nullptr);
        SetEvent(h->m_opened);
        Sleep(h->m_hold);
        if (open)
            CloseClipboard();
        return 0;
    }
    DWORD m_hold;
    HANDLE m_opened;
    HANDLE m_thread;
};

TEST(Clipboard, CommandsWaitBrieflyForAClipboardHeldElsewhereAndCutKeepsTheTextOnFailure)
{
    ViewHarness h("keep this");
    CEditDisplay* v = h.View();
    SelectRange(v, 0, 4);
    {
        ClipboardHolder brief(40);
        SendCommand(v, ID_EDIT_COPY);
    }
    EXPECT_EQ("keep", Clipboard());
    {
        ClipboardHolder long_(1500);
        SendCommand(v, ID_EDIT_CUT);
        EXPECT_EQ("keep this", h.Text()) << "nothing is cut when the clipboard stays closed";
    }
    SendCommand(v, ID_EDIT_CUT);
    EXPECT_EQ(" this", h.Text());
}

TEST(Clipboard, CopyPutsCrLfTextThatPastesBackAsTheSameBytes)
{
    ViewHarness h("xa\rby");
    CEditDisplay* v = h.View();
    SelectRange(v, 1, 4);
    SendCommand(v, ID_EDIT_COPY);
    EXPECT_EQ("a\r\nb", Clipboard());
    EXPECT_EQ(1, v->m_pSelection->Start()) << "Copy keeps the selection";
    EXPECT_EQ(4, v->m_pSelection->End());
    EXPECT_EQ(4, v->GetIndex());
    EXPECT_EQ(0, Steps(h)) << "Copy is no edit";

    PasteAtEnd(h);
    EXPECT_EQ("xa\rbya\rb", h.Text());
    EXPECT_EQ(8, v->GetIndex()) << "the caret follows the pasted text";
    EXPECT_EQ(3, h.m_pDocument->GetLineCount());
    SendCommand(v, ID_EDIT_UNDO);
    EXPECT_EQ("xa\rby", h.Text()) << "one paste, one undo step";
}

TEST(Clipboard, PasteMakesEveryLineEndOneCrAndReadsNoFurtherThanTheText)
{
    ViewHarness h("");
    struct {
        std::string block, inserted;
    } cases[] = {
        {std::string("x\r\ny\nz", 7) + '\0', "x\ry\rz"},
        {std::string("\nlead\r\r\n", 8) + '\0', "\rlead\r\r"},
        {std::string("ab\0cd\0", 6), "ab"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(PutClipboardBytes(c.block));
        std::string before = h.Text();
        PasteAtEnd(h);
        EXPECT_EQ(before + c.inserted, h.Text()) << "pasting " << c.inserted;
    }
    EXPECT_EQ(3, Steps(h));
}

// The clipboard under test ends every text block with a NUL itself; another program's
// block need not have one.
TEST(Clipboard, ABlockWithoutANulGivesExactlyItsBytes)
{
    // Shrunk in place, the block is followed by bytes that are no NUL either.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 256);
    ASSERT_TRUE(block);
    memset(GlobalLock(block), 'z', 256);
    memcpy(GlobalLock(block), "a\r\nb\nc", 7);
    GlobalUnlock(block);
    GlobalUnlock(block);
    HGLOBAL shrunk = GlobalReAlloc(block, 7, 0);
    ASSERT_TRUE(shrunk);
    ASSERT_EQ(7u, GlobalSize(shrunk));
    int count = -1;
    char* text = ClipboardBlockText(shrunk, &count);
    ASSERT_TRUE(text);
    EXPECT_EQ("a\rb\rc", std::string(text, count));
    EXPECT_EQ(0, text[count]);
    delete[] text;
    GlobalFree(shrunk);
}

TEST(Clipboard, AnEmptyTextReplacesASelectionAndInsertsNothingElse)
{
    ViewHarness h("keep this");
    CEditDisplay* v = h.View();
    ASSERT_TRUE(PutClipboardBytes(std::string(1, '\0')));
    PasteAtEnd(h);
    EXPECT_EQ("keep this", h.Text());
    EXPECT_EQ(0, Steps(h)) << "nothing pasted, nothing to undo";

    SelectRange(v, 9, 4);
    SendCommand(v, ID_EDIT_PASTE);
    EXPECT_EQ("keep", h.Text());
    EXPECT_TRUE(v->m_pSelection->IsEmpty());
    SendCommand(v, ID_EDIT_UNDO);
    EXPECT_EQ("keep this", h.Text());
}

TEST(EditCommands, CutLeavesTheCaretAtTheStartAndUndoesInOneStep)
{
    ViewHarness h("one two three");
    CEditDisplay* v = h.View();
    SelectRange(v, 8, 4);
    SendCommand(v, ID_EDIT_CUT);
    EXPECT_EQ("one three", h.Text());
    EXPECT_EQ("two ", Clipboard());
    EXPECT_EQ(4, v->GetIndex());
    EXPECT_TRUE(v->m_pSelection->IsEmpty());
    SendCommand(v, ID_EDIT_UNDO);
    EXPECT_EQ("one two three", h.Text());
    SendCommand(v, ID_EDIT_REDO);
    EXPECT_EQ("one three", h.Text());

    // Without a selection the clipboard commands leave the clipboard and the text alone.
    ASSERT_TRUE(PutClipboardBytes(std::string("kept", 5)));
    SendCommand(v, ID_EDIT_CUT);
    SendCommand(v, ID_EDIT_COPY);
    EXPECT_EQ("kept", Clipboard());
    EXPECT_EQ("one three", h.Text());
}

TEST(EditCommands, DeleteTakesTheSelectionOrTheByteAfterTheCaret)
{
    ViewHarness h("ab\rcd");
    CEditDisplay* v = h.View();
    v->MoveCaret(5);
    SendCommand(v, ID_EDIT_DELETE);
    EXPECT_EQ("ab\rcd", h.Text());
    EXPECT_EQ(0, Steps(h)) << "Delete at the end records nothing";

    v->MoveCaret(2);
    SendCommand(v, ID_EDIT_DELETE);
    EXPECT_EQ("abcd", h.Text());
    EXPECT_EQ(1, h.m_pDocument->GetLineCount()) << "the lines are joined";
    EXPECT_EQ(2, v->GetIndex());

    SelectRange(v, 0, 3);
    SendCommand(v, ID_EDIT_DELETE);
    EXPECT_EQ("d", h.Text());
    EXPECT_EQ(0, v->GetIndex());
    SendCommand(v, ID_EDIT_UNDO);
    SendCommand(v, ID_EDIT_UNDO);
    EXPECT_EQ("ab\rcd", h.Text());
}

TEST(EditCommands, CaseConversionsAreOneReplacementEachEvenWhenNothingChanges)
{
    ViewHarness h("aB1\rxY");
    CEditDisplay* v = h.View();
    SelectRange(v, 0, 3);
    SendCommand(v, ID_CASE_INVERT);
    EXPECT_EQ("Ab1\rxY", h.Text());
    EXPECT_TRUE(v->m_pSelection->IsEmpty());
    EXPECT_EQ(3, v->GetIndex()) << "the caret ends after the converted text";
    SendCommand(v, ID_EDIT_UNDO);
    EXPECT_EQ("aB1\rxY", h.Text());
    EXPECT_EQ(0, Steps(h));

    SendCommand(v, ID_EDIT_SELECTALL);
    SendCommand(v, ID_CASE_UPPER);
    EXPECT_EQ("AB1\rXY", h.Text());
    SendCommand(v, ID_EDIT_SELECTALL);
    SendCommand(v, ID_CASE_LOWER);
    EXPECT_EQ("ab1\rxy", h.Text());
    SendCommand(v, ID_EDIT_SELECTALL);
    SendCommand(v, ID_CASE_LOWER);
    EXPECT_EQ("ab1\rxy", h.Text());
    EXPECT_EQ(3, Steps(h)) << "lowering lower case text still adds a step";

    // Letters beyond ASCII follow the code page.
    if (GetACP() == 1252) {
        ViewHarness latin("\xE4\xC9");
        SendCommand(latin.View(), ID_EDIT_SELECTALL);
        SendCommand(latin.View(), ID_CASE_INVERT);
        EXPECT_EQ("\xC4\xE9", latin.Text());
    }
}

TEST(CommandState, PasteFollowsTheClipboardAndUndoRedoTheHistory)
{
    ViewHarness h("text");
    CEditDisplay* v = h.View();
    EditMenu m;
    auto menu = [&m, v](UINT id) {
        InitPopup(v, m.edit, 1);
        return EditMenu::Enabled(m.edit, id);
    };
    ASSERT_TRUE(EmptyTheClipboard());
    v->UpdateCommandState();
    EXPECT_EQ(0, h.ToolbarEnabled(ID_EDIT_PASTE));
    EXPECT_EQ(0, menu(ID_EDIT_PASTE));
    EXPECT_EQ(0, h.ToolbarEnabled(ID_EDIT_UNDO));
    EXPECT_EQ(0, menu(ID_EDIT_UNDO));

    SendCommand(v, ID_EDIT_SELECTALL);
    SendCommand(v, ID_EDIT_CUT);
    EXPECT_EQ(1, h.ToolbarEnabled(ID_EDIT_PASTE));
    EXPECT_EQ(1, menu(ID_EDIT_PASTE));
    EXPECT_EQ(1, h.ToolbarEnabled(ID_EDIT_UNDO));
    EXPECT_EQ(1, menu(ID_EDIT_UNDO));
    EXPECT_EQ(0, h.ToolbarEnabled(ID_EDIT_REDO));
    EXPECT_EQ(0, menu(ID_EDIT_REDO));

    SendCommand(v, ID_EDIT_UNDO);
    EXPECT_EQ(0, h.ToolbarEnabled(ID_EDIT_UNDO));
    EXPECT_EQ(0, menu(ID_EDIT_UNDO));
    EXPECT_EQ(1, h.ToolbarEnabled(ID_EDIT_REDO));
    EXPECT_EQ(1, menu(ID_EDIT_REDO));
    SendCommand(v, ID_EDIT_REDO);
    EXPECT_EQ(1, h.ToolbarEnabled(ID_EDIT_UNDO));
    EXPECT_EQ(0, h.ToolbarEnabled(ID_EDIT_REDO));

    // The first keystroke of a document already offers its undo.
    ViewHarness typed("");
    SendChar(typed.View()->m_hWnd, 'q');
    EXPECT_EQ("q", typed.Text());
    EXPECT_EQ(1, typed.ToolbarEnabled(ID_EDIT_UNDO));
}

TEST(Clipboard, TextCrossesToAndFromAnotherProgram)
{
    TempFolder folder;
    std::string file = folder.File("clip.bin");
    ViewHarness h("one\rtwo");
    CEditDisplay* v = h.View();
    SendCommand(v, ID_EDIT_SELECTALL);
    SendCommand(v, ID_EDIT_COPY);
    ASSERT_EQ(0, RunClipboardPeer("get", file));
    EXPECT_EQ("one\r\ntwo", ReadBytes(file));

    WriteBytes(file, std::string("from\r\nthere\nend") + '\0');
    ASSERT_EQ(0, RunClipboardPeer("put", file));
    PasteAtEnd(h);
    EXPECT_EQ("one\rtwofrom\rthere\rend", h.Text());
}

// The editor with one new document holding text, its view focused.
struct FocusedDocument {
    explicit FocusedDocument(const char* text)
    {
        app.Command(ID_FILE_NEW);
        frame = app.FrameOf(app.ActiveFrame());
        doc = frame ? frame->m_pDocument->GetTextDocument() : nullptr;
        if (!frame || !frame->m_pView)
            return;
        doc->InsertText(text, lstrlenA(text), 0);
        SetFocus(frame->m_pView->m_hWnd);
        PumpMessages();
    }
    std::string Text() const { return std::string(doc->GetTextAt(0), doc->GetTextLength()); }

    AppWindow app;
    CDocFrame* frame;
    CTextDocument* doc;
};

// The editor itself: the menu bar, the toolbar and the accelerators reach the focused view.
TEST(Shortcuts, EditKeysAndToolbarCommandsReachTheFocusedView)
{
    DialogWatcher watcher(IDCANCEL);
    FocusedDocument editor("hello");
    ASSERT_TRUE(editor.frame && editor.frame->m_pView);
    AppWindow& app = editor.app;
    CDocFrame* frame = editor.frame;
    CTextDocument* doc = editor.doc;
    auto text = [&editor] { return editor.Text(); };

    PressShortcut('A', true);
    EXPECT_EQ(5, frame->m_pView->m_pSelection->End());
    PressShortcut('C', true);
    EXPECT_EQ("hello", Clipboard());
    PressShortcut(VK_DELETE, false);
    EXPECT_EQ("", text());
    PressShortcut('V', true);
    PressShortcut('V', true);
    EXPECT_EQ("hellohello", text());
    PressShortcut('Z', true);
    EXPECT_EQ("hello", text());
    app.Command(ID_EDIT_UNDO); // as the toolbar sends it
    EXPECT_EQ("", text());
    app.Command(ID_EDIT_REDO);
    PressShortcut('Y', true);
    EXPECT_EQ("hellohello", text());
    PressShortcut('A', true);
    app.Command(ID_CASE_UPPER);
    EXPECT_EQ("HELLOHELLO", text());
    PressShortcut('A', true);
    PressShortcut('X', true);
    EXPECT_EQ("", text());
    EXPECT_EQ("HELLOHELLO", Clipboard());
    doc->m_bModified = 0;
    for (const SeenDialog& d : watcher.Seen())
        ADD_FAILURE() << "box " << d.caption << ": " << d.text;
}

// The Delete key arrives as an accelerator, which the loop drops while the menu item is
// grayed: with no selection it must still remove the character after the caret.
TEST(Shortcuts, DeleteWithoutASelectionRemovesTheNextCharacterAndJoinsLines)
{
    DialogWatcher watcher(IDCANCEL);
    FocusedDocument editor("ab\rcd");
    ASSERT_TRUE(editor.frame && editor.frame->m_pView);
    CTextDocument* doc = editor.doc;
    auto text = [&editor] { return editor.Text(); };

    PressShortcut(VK_UP, false);
    PressShortcut(VK_HOME, false);
    PressShortcut(VK_RIGHT, false);
    PressShortcut(VK_DELETE, false);
    EXPECT_EQ("a\rcd", text());
    PressShortcut(VK_DELETE, false);
    EXPECT_EQ("acd", text());
    PressShortcut(VK_END, false);
    PressShortcut(VK_DELETE, false);
    EXPECT_EQ("acd", text());
    PressShortcut('Z', true);
    EXPECT_EQ("a\rcd", text());
    doc->m_bModified = 0;
    EXPECT_EQ(0u, watcher.Count());
}

TEST(Shortcuts, ThePasteButtonFollowsTextThatAnotherProgramPuts)
{
    TempFolder folder;
    std::string file = folder.File("clip.bin");
    DialogWatcher watcher(IDCANCEL);
    AppWindow app;
    ASSERT_TRUE(app.Started());
    app.Command(ID_FILE_NEW);
    auto pasteEnabled = [] {
        return SendMessageA(g_app.m_hToolbar, TB_ISBUTTONENABLED, ID_EDIT_PASTE, 0) != 0;
    };
    ASSERT_TRUE(EmptyTheClipboard());
    EXPECT_TRUE(PumpUntil([&] { return !pasteEnabled(); }));

    WriteBytes(file, std::string("news", 5));
    ASSERT_EQ(0, RunClipboardPeer("put", file));
    EXPECT_TRUE(PumpUntil(pasteEnabled)) << "the clipboard's notice of the change arrives";
    EXPECT_EQ(0u, watcher.Count());
}
