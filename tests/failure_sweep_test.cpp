// Every allocation and file call of an operation fails in turn, once, from then on, and (for
// reads and writes) as a short count; after each run the editor must hold exactly the state
// before or after the operation, in memory, in its history and on disk, and have said so.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string.h>
#include <vector>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/FileFontStore.h"
#include "app/MainFrame.h"
#include "app/OpenDocument.h"
#include "base/FailureSeam.h"
#include "document/DocumentOwner.h"
#include "document/FindInfo.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "support/AppWindow.h"
#include "support/ClipboardBytes.h"
#include "support/DialogWatcher.h"
#include "support/TestSupport.h"
#include "support/Waits.h"
#include "support/ViewHarness.h"
#include "view/DragInfo.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"

namespace {

const char DOC[] = "doc.txt";
const char OTHER[] = "other.txt";
const char STORE[] = "ZendleEditorFileFont.fff";

std::map<std::string, std::string> Files(const TempFolder& folder)
{
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.File("*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // The font store names files by their paths, which hold the folder of the run.
        std::string bytes = ReadBytes(folder.File(found.cFileName));
        // Bytes past the records that the store's header counts are no part of it.
        if (found.cFileName == std::string(STORE) && bytes.size() >= FONT_STORE_HEADER_SIZE) {
            size_t counted = FONT_STORE_HEADER_SIZE +
                             *reinterpret_cast<const DWORD*>(&bytes[4]) * 1ull * FONT_RECORD_SIZE;
            bytes.resize(std::min(bytes.size(), counted));
        }
        for (size_t at; (at = bytes.find(folder.Path())) != std::string::npos;)
            bytes.replace(at, folder.Path().size(), "<folder>");
        files[found.cFileName] = bytes;
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return files;
}

// One document in one view, or two, in an editor made afresh for each run: no other document,
// no files, no stored settings, and the once-a-run notices due again. The main window
// itself serves every run of an operation; nothing is painted in it, so that a line that
// could not be drawn (it is drawn at the next paint) is no failure point of the operation.
struct Editor {
    Editor(AppWindow& editor, const std::string& text, bool fromFile, int count)
        : app(editor)
    {
        g_app.m_bNoStoreReported = 0;
        g_app.m_bRememberMaximised = 0;
        g_app.m_nCloseCounter = 0;
        for (const auto& file : Files(app.Folder()))
            DeleteFileA(app.Folder().File(file.first).c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "ZendleEditor");
        if (fromFile) {
            WriteBytes(app.Folder().File(DOC), text);
            WriteBytes(app.Folder().File(OTHER), "other file\r\n");
            app.Frame()->OpenPath(app.Main(), app.Folder().File(DOC).c_str());
        } else {
            app.Command(ID_FILE_NEW);
            SetText(*Doc(), text);
        }
        views[0] = View(app.ActiveFrame());
        if (count > 1) {
            app.Command(ID_WINDOW_NEWWINDOW);
            views[1] = View(app.ActiveFrame());
        }
    }
    ~Editor()
    {
        for (COpenDocument* document : app.Documents())
            delete document;
        PumpMessages();
    }
    CEditDisplay* View(HWND frame) const { return app.FrameOf(frame)->GetView(); }
    CTextDocument* Doc() const { return app.Documents().front()->GetTextDocument(); }
    void Command(int view, int id) { SendCommand(views[view], id); }

    AppWindow& app;
    CEditDisplay* views[2] = {};
};

// What must be as before or as after an operation.
struct State {
    std::vector<std::string> texts;             // each document's
    std::map<std::string, std::string> files;   // the folder's, by name, and the store's path
    std::vector<std::vector<std::string>> histories; // undo all, then redo all
};

std::vector<std::string> History(CTextDocument* doc)
{
    std::vector<std::string> texts{DocumentText(doc)};
    for (int i = 0; i < 30 && doc->CanUndo() && doc->Undo() >= 0; i++)
        texts.push_back(DocumentText(doc));
    for (int i = 0; i < 30 && doc->CanRedo() && doc->Redo() >= 0; i++)
        texts.push_back(DocumentText(doc));
    return texts;
}

// Takes the state, the histories last: walking them edits.
State Take(Editor& e)
{
    State s;
    std::vector<CTextDocument*> docs;
    for (COpenDocument* d : e.app.Documents())
        docs.push_back(d->GetTextDocument());
    for (CTextDocument* doc : docs)
        s.texts.push_back(DocumentText(doc));
    s.files = Files(e.app.Folder());
    char value[FONT_STORE_PATH_SIZE + 1] = "";
    DWORD size = FONT_STORE_PATH_SIZE;
    RegGetValueA(HKEY_CURRENT_USER, "ZendleEditor", "FileFont", RRF_RT_REG_SZ, nullptr, value,
                 &size);
    // The value names the run's folder: what follows it is what can differ.
    s.files["<registry>"] = value + std::min(strlen(value), e.app.Folder().Path().size());
    for (CTextDocument* doc : docs)
        s.histories.push_back(History(doc));
    return s;
}

struct Operation {
    std::string name;
    std::string text;
    bool fromFile;
    std::function<void(Editor&)> prepare; // unarmed
    std::function<void(Editor&)> act;     // armed
    FailThread thread = FAIL_THIS_THREAD;
    bool moves = false; // reads or writes files: short counts are swept too
    int views = 1;
};

std::string PastedText()
{
    std::string s;
    while (s.size() < 65536)
        s += "pasted line " + std::to_string(s.size()) + "\r\n";
    return s;
}

void Select(Editor& e, int anchor, int extent)
{
    SelectRange(e.views[0], anchor, extent);
}

// What the Replace dialog's Replace All button does with what it read from its fields.
void ReplaceAll(Editor& e)
{
    e.views[0]->m_pFind->ReplaceAll(nullptr, "ab", "abcdef", FR_DOWN);
}

void Sort(Editor& e)
{
    SendMessageA(e.app.Main(), WM_COMMAND, ID_SORT_ALPHABETIC, 0);
    ASSERT_TRUE(PumpUntil([] { return g_app.m_hSortDialog == nullptr; }));
}

// The edits, each also swept as its Undo and its Redo.
std::vector<Operation> Edits()
{
    const std::string lines = NumberedLines(2000);
    return {
        {"typing into a full block", std::string(TEXT_BLOCK_STEP - 2, 'a'), false,
         [](Editor& e) { e.views[0]->MoveCaret(TEXT_BLOCK_STEP - 2); },
         [](Editor& e) { SendChar(e.views[0]->m_hWnd, 'x'); }},
        {"paste of 64 KB over a selection", lines, false,
         [](Editor& e) {
             ASSERT_TRUE(PutClipboardBytes(PastedText() + '\0'));
             Select(e, 10, 200);
         },
         [](Editor& e) { e.Command(0, ID_EDIT_PASTE); }},
        {"cut", lines, false, [](Editor& e) { Select(e, 5, 500); },
         [](Editor& e) { e.Command(0, ID_EDIT_CUT); }},
        {"drag-move between views", lines, false,
         [](Editor& e) {
             Select(e, 0, 300);
             e.views[1]->MoveCaret(2000);
             e.views[1]->m_pDrag = new CDragInfo(e.views[0], CDragInfo::DRAG_MENU);
             e.views[1]->m_pDrag->m_pHolder = e.views[1];
         },
         [](Editor& e) { e.Command(1, ID_DROP_MOVE); }, FAIL_THIS_THREAD, false, 2},
        {"case conversion", lines, false, [](Editor& e) { Select(e, 0, 3000); },
         [](Editor& e) { e.Command(0, ID_CASE_UPPER); }},
        // About 30 KB that grows past the text block's 32 KB.
        {"replace all", NumberedLines(1000, "ab padding to thirty bytes "), false,
         [](Editor&) {}, ReplaceAll},
    };
}

std::vector<Operation> Operations()
{
    std::vector<Operation> all;
    for (const Operation& edit : Edits()) {
        all.push_back(edit);
        Operation undo = edit, redo = edit;
        undo.name = "undo of " + edit.name, redo.name = "redo of " + edit.name;
        undo.prepare = [edit](Editor& e) {
            edit.prepare(e);
            edit.act(e);
        };
        redo.prepare = [undo](Editor& e) {
            undo.prepare(e);
            e.Command(0, ID_EDIT_UNDO);
        };
        undo.act = [](Editor& e) { e.Command(0, ID_EDIT_UNDO); };
        redo.act = [](Editor& e) { e.Command(0, ID_EDIT_REDO); };
        all.push_back(undo);
        all.push_back(redo);
    }
    const std::string reversed = NumberedLines(2000, "x");
    const std::string mb = NumberedLines(75000, "a line of the file, number ") + "\r\n";
    auto open = [](Editor& e) {
        e.app.Frame()->OpenPath(e.app.Main(), e.app.Folder().File(OTHER).c_str());
    };
    auto edit = [](Editor& e) { e.Doc()->InsertText("new ", 4, 0); };
    all.insert(all.end(), {
        {"sort on the worker", reversed, false, [](Editor&) {}, Sort, FAIL_SORT_WORKER},
        {"sort", reversed, false, [](Editor&) {}, Sort},
        {"open", "", true, [mb](Editor& e) { WriteBytes(e.app.Folder().File(OTHER), mb); },
         open, FAIL_THIS_THREAD, true},
        {"save", "old text\r\n", true, edit, [](Editor& e) { e.Command(0, ID_FILE_SAVE); },
         FAIL_THIS_THREAD, true},
        {"save as onto a file", "old text\r\n", true, edit,
         [](Editor& e) { e.Command(0, ID_FILE_SAVEAS); }, FAIL_THIS_THREAD, true},
        {"store a font", "", true, [](Editor& e) {
             LOGFONTA lf = {};
             lstrcpyA(lf.lfFaceName, "Arial");
             StorePathFont(e.app.Documents().front(), "C:\\first.txt", &lf, 1);
         },
         [](Editor& e) {
             LOGFONTA lf = {};
             lstrcpyA(lf.lfFaceName, "Courier New");
             StorePathFont(e.app.Documents().front(), "C:\\second.txt", &lf, 2);
         },
         FAIL_THIS_THREAD, true},
    });
    return all;
}

const char SORT_CAPTION[] = "Sorting Document";

// Saves as OTHER, answering its question to replace; leaves the sort's progress alone.
DialogWatcher::Handler Answers()
{
    DialogWatcher::Handler save = SaveAsHandler(OTHER);
    return [save](HWND dialog, const SeenDialog& seen) {
        if (seen.caption != SORT_CAPTION && !seen.caption.empty())
            save(dialog, seen);
    };
}

// The boxes that tell of a failure: not the Save As dialog, nor its question to replace,
// nor the sort's progress, nor a window gone before it could be read (a box stays until
// it is answered).
std::vector<SeenDialog> Reports(DialogWatcher& watcher, size_t from)
{
    std::vector<SeenDialog> reports;
    const std::vector<SeenDialog> all = watcher.Seen();
    for (auto seen = all.begin() + from; seen != all.end(); ++seen) {
        if (!seen->fileDialog && seen->text.find("already exists") == std::string::npos &&
            seen->caption != SORT_CAPTION && !(seen->caption.empty() && seen->text.empty()))
            reports.push_back(*seen);
    }
    return reports;
}

// What one run showed.
enum Outcome { NOT_REACHED, HELD, BROKE };

// One run: the operation with the k-th call failing. Every broken promise is a failure of
// the test, named with what was seen; the texts themselves are too long to print.
Outcome Sweep(AppWindow& app, DialogWatcher& watcher, const Operation& op, FailMode mode, int k,
              const State& before, const State& after)
{
    Editor e(app, op.text, op.fromFile, op.views);
    op.prepare(e);
    const size_t seen = watcher.Count();
    FailNthCall(op.thread, k, mode);
    op.act(e);
    PumpMessages();
    const bool reached = FailNthCall(op.thread, 0) == 0;
    bool held = true;
    auto check = [&](bool kept, const std::string& promise) {
        if (!kept)
            ADD_FAILURE() << promise;
        held = held && kept;
    };
    check(IsWindow(e.app.Main()), "the editor lives");
    std::vector<SeenDialog> reports = Reports(watcher, seen);
    std::string told;
    for (const SeenDialog& seen : reports)
        told += "[" + seen.caption + ": " + seen.text + "]";
    for (CEditDisplay* view : e.views) {
        if (!view)
            continue;
        int length = view->GetDocument()->GetTextLength();
        check(view->GetIndex() <= length && view->m_pSelection->End() <= length,
              "caret and selection lie in the text");
        check(LineTableMatchesText(view->GetDocument()), "the line table fits the text");
    }
    State now = Take(e);
    // A safety copy may stay only when the message names it, and then holds the new text;
    // the file written in place may then hold anything.
    for (auto it = now.files.begin(); it != now.files.end();) {
        if (!before.files.count(it->first) && !after.files.count(it->first) &&
            told.find(it->first) != std::string::npos) {
            const std::string& target = after.files.at(DOC) == before.files.at(DOC) ? OTHER : DOC;
            check(it->second == after.files.at(target), "the named copy holds the new text");
            now.files[target] = after.files.at(target);
            it = now.files.erase(it);
        } else {
            ++it;
        }
    }
    const bool done = now.texts == after.texts;
    check(done || now.texts == before.texts, "the text is as before or as after");
    check(now.histories == (done ? after : before).histories,
          "undo and redo give the texts they give without the failure");
    for (const auto& file : now.files) {
        auto was = [&](const State& s) {
            return s.files.count(file.first) && s.files.at(file.first) == file.second;
        };
        check(was(before) || was(after), file.first + " holds its old or its new bytes");
    }
    const bool complete = done && now.files == after.files;
    // A failure that was got round need not be told; one that changed the outcome must be,
    // once. When every call fails from then on, each thing that failed may be told once.
    std::set<std::string> distinct;
    for (const SeenDialog& seen : reports)
        distinct.insert(seen.caption + seen.text);
    const size_t most = mode == FAIL_FROM_THEN_ON ? distinct.size() : 1;
    check(distinct.size() == reports.size() && (complete || !reports.empty()) &&
              reports.size() <= most,
          "told " + std::to_string(reports.size()) + " times: " + told);
    return !held ? BROKE : reached ? HELD : NOT_REACHED;
}

// The points to try, in order, for an operation of calls seam calls: every one, but for an
// operation that repeats one call per line, the first and last ones and an even spread of
// those between. Then on one by one until a run no longer reaches its point.
int NextPoint(int k, int calls)
{
    const int ends = 8;
    if (calls <= 200 || k < ends || k >= calls - ends)
        return k + 1;
    const int stride = (calls - 2 * ends) / ends;
    return k + stride < calls - ends ? k + stride : calls - ends;
}

} // namespace

TEST(FailureSweep, EveryFailurePointLeavesTheStateBeforeOrAfterAndIsToldOnce)
{
    const int never = 1 << 28;
    for (const Operation& op : Operations()) {
        AppWindow app(SW_HIDE);
        DialogWatcher watcher(Answers());
        State before, after;
        {
            Editor e(app, op.text, op.fromFile, op.views);
            op.prepare(e);
            before = Take(e);
        }
        int calls;
        {
            Editor e(app, op.text, op.fromFile, op.views);
            op.prepare(e);
            const size_t seen = watcher.Count();
            FailNthCall(op.thread, never);
            op.act(e);
            PumpMessages();
            calls = never - FailNthCall(op.thread, 0);
            for (const SeenDialog& box : Reports(watcher, seen))
                FAIL() << op.name << " told without a failure: " << box.caption << ": " << box.text;
            after = Take(e);
        }
        const std::vector<FailMode> modes = op.moves
            ? std::vector<FailMode>{FAIL_ONCE, FAIL_FROM_THEN_ON, FAIL_SHORT}
            : std::vector<FailMode>{FAIL_ONCE, FAIL_FROM_THEN_ON};
        for (FailMode mode : modes) {
            const DWORD start = GetTickCount();
            int runs = 0;
            Outcome run = HELD;
            for (int k = 1; run == HELD; k = NextPoint(k, calls), runs++) {
                SCOPED_TRACE(op.name + ", mode " + std::to_string(mode) + ", k " +
                             std::to_string(k));
                run = Sweep(app, watcher, op, mode, k, before, after);
            }
            printf("%s, mode %d: %d calls, %d runs, %lu ms\n", op.name.c_str(), mode, calls, runs,
                   GetTickCount() - start);
        }
    }
}
