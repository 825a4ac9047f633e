#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "app/DocFrame.h"
#include "app/FileFontStore.h"
#include "app/OpenDocument.h"
#include "document/LineEnds.h"
#include "document/TextDocument.h"
#include "support/DialogWatcher.h"
#include "support/TestFiles.h"
#include "view/FontInfo.h"

namespace {

const char CHANGED_TEXT[] =
    "The contents of this document have changed.\nWould you like to save changes before closing?";
const char CHANGED_UNTITLED_TEXT[] = "The contents of this untitled document have changed.\n"
                                     "Would you like to save changes before closing?";

std::string Text(const CTextDocument& doc)
{
    return std::string(doc.GetTextAt(0), doc.GetTextLength());
}

class DocumentFile : public ::testing::Test {
protected:
    StoreSandbox sandbox;
    std::string Path(const char* name) { return sandbox.Folder().File(name); }

    // Writes the bytes and opens the file as the Open command does.
    std::unique_ptr<CTextDocument> Open(const std::string& path, const std::string& bytes,
                                        COpenDocument* owner = nullptr)
    {
        WriteBytes(path, bytes);
        HANDLE file = OpenForEditing(path);
        EXPECT_NE(nullptr, file);
        return std::unique_ptr<CTextDocument>(new CTextDocument(owner, file, path.c_str()));
    }
};

TEST_F(DocumentFile, EveryLineBreakLoadsAsOneCrAndSavesAsCrLf)
{
    struct Case {
        const char* file;
        const char* text;
        int lines;
        const char* saved;
    } cases[] = {
        {"a\r\nb", "a\rb", 2, "a\r\nb"},
        {"a\nb", "a\rb", 2, "a\r\nb"},
        {"a\rb", "a\rb", 2, "a\r\nb"},
        {"one\ntwo\nthree", "one\rtwo\rthree", 3, "one\r\ntwo\r\nthree"},
        {"last\r\n", "last\r", 2, "last\r\n"},
        {"", "", 1, ""},
        {"a\r\n\nb", "a\r\rb", 3, "a\r\n\r\nb"},
        {"a\n\rb", "a\r\rb", 3, "a\r\n\r\nb"},
    };
    DialogWatcher boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.file)));
        std::string path = Path("breaks.txt");
        std::unique_ptr<CTextDocument> doc = Open(path, c.file);
        EXPECT_EQ(0, doc->LoadRefused());
        EXPECT_EQ(c.text, Text(*doc));
        EXPECT_EQ(c.lines, doc->GetLineCount());
        EXPECT_EQ(0, doc->IsModified());
        EXPECT_EQ(1, doc->SaveDocument(1));
        doc.reset();
        EXPECT_EQ(c.saved, ReadBytes(path));
    }
    EXPECT_EQ(0u, boxes.Count());
}

// The file is read a piece at a time: a line end or a NUL across the seam of two pieces reads
// as it would within one.
TEST_F(DocumentFile, LineEndsAcrossTheSeamOfTwoReadsLoadAsWithinOne)
{
    const std::string head(READ_PIECE - 1, 'x');
    struct Case {
        std::string tail;
        std::string text;
        int lines;
    } cases[] = {
        {"\r\ny", "\ry", 2},
        {"y\nz", "y\rz", 2},
        {"\n\nz", "\r\rz", 3},
        {"\r\r\nz", "\r\rz", 3},
        {std::string("y\0", 2), "", 1},
    };
    DialogWatcher boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.tail));
        std::unique_ptr<CTextDocument> doc = Open(Path("seam.txt"), head + c.tail);
        if (c.text.empty()) {
            EXPECT_EQ(1, doc->LoadRefused());
            continue;
        }
        EXPECT_EQ(0, doc->LoadRefused());
        EXPECT_EQ(head + c.text, Text(*doc));
        EXPECT_EQ(c.lines, doc->GetLineCount());
        EXPECT_EQ(0, doc->GetTextAt(doc->GetTextLength())[1]) << "the slack reads as zeros";
    }
    EXPECT_EQ(1u, boxes.Count()) << "only the NUL is refused";
}

TEST_F(DocumentFile, LoadsNamesAndMeasuresEveryLine)
{
    std::string path = Path("measure.txt");
    std::unique_ptr<CTextDocument> doc = Open(path, "ab\r\nabcdef\r\n\r\nabc");
    EXPECT_STREQ(path.c_str(), doc->m_szPath);
    EXPECT_STREQ("measure.txt", doc->m_szTitle);
    EXPECT_EQ(4, doc->GetLineCount());
    EXPECT_EQ(0, doc->GetLineWidth(2));
    EXPECT_GT(doc->GetLineWidth(1), doc->GetLineWidth(3));
    EXPECT_GT(doc->GetLineWidth(3), doc->GetLineWidth(0));
    EXPECT_EQ(1, doc->GetWidestIndex());
    EXPECT_EQ(doc->GetLineWidth(1), doc->GetWidestWidth());
    EXPECT_EQ(2 * TEXT_BLOCK_STEP, GlobalSize(doc->m_hBuffer));
}

TEST_F(DocumentFile, SavingAShorterTextLeavesNoStaleTail)
{
    std::string path = Path("shorter.txt");
    std::unique_ptr<CTextDocument> doc = Open(path, "a long first line\r\nand a second one");
    ASSERT_EQ(1, doc->RemoveText(1, doc->GetTextLength() - 1));
    EXPECT_EQ(1, doc->SaveDocument(0));
    EXPECT_EQ(0, doc->IsModified());
    EXPECT_EQ("a", ReadBytes(path));
}

TEST_F(DocumentFile, BytesAbove127RoundTripUnchanged)
{
    std::string bytes;
    for (int b = 1; b < 256; b++) {
        if (b != '\r' && b != '\n')
            bytes += static_cast<char>(b);
    }
    std::string path = Path("high.txt");
    std::unique_ptr<CTextDocument> doc = Open(path, bytes);
    EXPECT_EQ(bytes, Text(*doc));
    EXPECT_EQ(1, doc->SaveDocument(1));
    doc.reset();
    EXPECT_EQ(bytes, ReadBytes(path));
}

// A file that cannot be a document is refused with a message that says why, loads nothing
// and is let go.
TEST_F(DocumentFile, AFileThatCannotBeADocumentIsRefused)
{
    struct Case {
        std::string bytes;
        const char* reason;
    } cases[] = {
        {std::string("ab\0cd", 5), "contains NUL bytes"},
        // One line break more than the line table takes.
        {std::string(268435455, '\n'), "more than 268,435,455 lines"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        DialogWatcher boxes;
        std::string path = Path("refused.txt");
        WriteBytes(path, c.bytes);
        HANDLE file = OpenForEditing(path);
        ASSERT_NE(nullptr, file);
        std::unique_ptr<CTextDocument> doc(new CTextDocument(nullptr, file, path.c_str()));
        EXPECT_EQ(1, doc->LoadRefused());
        EXPECT_EQ(nullptr, doc->m_hFile);
        EXPECT_EQ(0, doc->GetTextLength());
        EXPECT_EQ(1, doc->GetLineCount());
        std::vector<SeenDialog> seen = boxes.Seen();
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ("Zendle Editor", seen[0].caption);
        EXPECT_NE(std::string::npos, seen[0].text.find(c.reason)) << seen[0].text;
        EXPECT_NE(std::string::npos, seen[0].text.find(path));

        // The handle was let go: nobody else holds the file now.
        HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, exclusive);
        CloseHandle(exclusive);
        EXPECT_EQ(c.bytes.size(), ReadBytes(path).size());
    }
}

TEST_F(DocumentFile, ADeviceNameIsRefusedAndNoDocumentIsMade)
{
    std::string path = Path("nul.txt");
    HANDLE device = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, device);
    DialogWatcher boxes;
    CTextDocument doc(nullptr, device, path.c_str());
    EXPECT_TRUE(doc.LoadRefused());
    std::vector<SeenDialog> seen = boxes.Seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_NE(std::string::npos, seen[0].text.find("device"));
}

// The copies a save writes beside its file before touching it.
static std::vector<std::string> SafetyCopies(const std::string& file)
{
    std::string folder = file.substr(0, file.find_last_of('\\') + 1);
    std::vector<std::string> found;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "zen*.tmp").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do
        found.push_back(folder + data.cFileName);
    while (FindNextFileA(search, &data));
    FindClose(search);
    return found;
}

TEST_F(DocumentFile, AFailedWriteLeavesTheFileAsItWas)
{
    std::string path = Path("kept.txt");
    WriteBytes(path, "first\r\nsecond");
    // A handle that may change the file's length but not write to it.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CTextDocument doc(nullptr, file, path.c_str());
    ASSERT_EQ(1, doc.InsertText("x", 1, 0));

    DialogWatcher boxes;
    EXPECT_EQ(0, doc.SaveDocument(1));
    EXPECT_EQ(1, doc.IsModified());
    std::vector<SeenDialog> seen = boxes.Seen();
    ASSERT_EQ(1u, seen.size()) << "one failure, one box";
    EXPECT_EQ("Failure occurred when writing to a file", seen[0].caption);
    EXPECT_EQ("first\r\nsecond", ReadBytes(path));

    // The complete new text was written beside it first, and is kept and named.
    std::vector<std::string> copies = SafetyCopies(path);
    ASSERT_EQ(1u, copies.size());
    EXPECT_NE(std::string::npos, seen[0].text.find(copies[0]));
    EXPECT_EQ("xfirst\r\nsecond", ReadBytes(copies[0]));
    DeleteFileA(copies[0].c_str());
}

TEST_F(DocumentFile, ATwentyMegabyteFileLoadsAndSavesWhole)
{
    std::string bytes;
    bytes.reserve(21 << 20);
    char line[64];
    int lines = 0;
    while (bytes.size() < (20u << 20)) {
        snprintf(line, sizeof(line), "line %d of a rather large file\r\n", lines++);
        bytes += line;
    }
    std::string path = Path("large.txt");
    std::unique_ptr<CTextDocument> doc = Open(path, bytes);
    EXPECT_EQ(static_cast<int>(bytes.size()) - lines, doc->GetTextLength());
    EXPECT_EQ(lines + 1, doc->GetLineCount());
    EXPECT_EQ(0, memcmp(doc->GetTextAt(0), "line 0 of a rather large file\rline 1", 36));
    EXPECT_EQ(1, doc->SaveDocument(1));
    doc.reset();
    EXPECT_TRUE(bytes == ReadBytes(path));
}

TEST_F(DocumentFile, TheFontComesBackFromTheStore)
{
    std::string path = Path("styled.txt");
    CTextDocument plain(nullptr, nullptr, nullptr);
    {
        std::unique_ptr<CTextDocument> doc = Open(path, "styled text");
        HFONT font = CreateFontA(-20, 0, 0, 0, FW_BOLD, TRUE, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                                 "Courier New");
        HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        doc->GetFontInfo()->SetFont(font, dc, RGB(200, 10, 20));
        DeleteDC(dc);
        EXPECT_EQ(1, doc->SaveDocument(1));
    }
    EXPECT_EQ(8u + 328, ReadBytes(sandbox.StorePath()).size());

    std::unique_ptr<CTextDocument> again = Open(path, ReadBytes(path));
    const CFontInfo* info = again->GetFontInfo();
    EXPECT_EQ(-20, info->m_lf.lfHeight);
    EXPECT_EQ(FW_BOLD, info->m_lf.lfWeight);
    EXPECT_EQ(TRUE, info->m_lf.lfItalic);
    EXPECT_STREQ("Courier New", info->m_lf.lfFaceName);
    EXPECT_EQ(RGB(200, 10, 20), info->GetColour());

    // A file of its own name only: the record of styled.txt must not answer for styled.t.
    std::unique_ptr<CTextDocument> other = Open(Path("styled.t"), "other");
    EXPECT_EQ(0, memcmp(&plain.GetFontInfo()->m_lf, &other->GetFontInfo()->m_lf,
                        sizeof(LOGFONTA)));
    EXPECT_EQ(0u, other->GetFontInfo()->GetColour());
}

TEST_F(DocumentFile, QueryCloseAsksOnlyAboutChanges)
{
    std::string path = Path("ask.txt");
    std::unique_ptr<CTextDocument> doc = Open(path, "text");
    DialogWatcher boxes(IDCANCEL);
    EXPECT_EQ(1, doc->QueryClose());
    EXPECT_EQ(0u, boxes.Count()) << "an unchanged document closes without a question";

    doc->InsertText("more ", 5, 0);
    EXPECT_EQ(0, doc->QueryClose()) << "Cancel keeps the document open";
    boxes.Queue({IDNO});
    EXPECT_EQ(1, doc->QueryClose());
    EXPECT_EQ("text", ReadBytes(path)) << "No closes without saving";
    boxes.Queue({IDYES});
    EXPECT_EQ(1, doc->QueryClose());
    EXPECT_EQ(0, doc->IsModified());
    EXPECT_EQ("more text", ReadBytes(path));

    std::vector<SeenDialog> seen = boxes.Seen();
    ASSERT_EQ(3u, seen.size());
    for (const SeenDialog& box : seen) {
        EXPECT_EQ("ask.txt", box.caption);
        EXPECT_EQ(CHANGED_TEXT, box.text);
    }
}

TEST_F(DocumentFile, ClosingAChangedUntitledDocumentOffersSaveAs)
{
    CTextDocument doc(nullptr, nullptr, nullptr);
    doc.InsertText("draft", 5, 0);
    DialogWatcher boxes([](HWND dialog, const SeenDialog& seen) {
        PressDialogButton(dialog, seen.fileDialog ? IDCANCEL : IDYES);
    });
    EXPECT_EQ(0, doc.QueryClose()) << "cancelling Save As keeps the document open";
    EXPECT_EQ(1, doc.IsModified());
    std::vector<SeenDialog> seen = boxes.Seen();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("Untitled", seen[0].caption);
    EXPECT_EQ(CHANGED_UNTITLED_TEXT, seen[0].text);
    EXPECT_TRUE(seen[1].fileDialog);
}

TEST_F(DocumentFile, SaveAsWritesANewFileAndRetitlesTheFrames)
{
    COpenDocument owner(nullptr, nullptr);
    CTextDocument* doc = new CTextDocument(&owner, nullptr, nullptr);
    owner.m_pTextDocument = doc;
    HWND windows[2];
    for (HWND& window : windows) {
        CDocFrame* frame = new CDocFrame(&owner);
        window = frame->m_hWnd = CreateWindowA("STATIC", "Untitled", 0, 0, 0, 10, 10, nullptr,
                                               nullptr, nullptr, nullptr);
        owner.m_pFrames->AddTail(frame);
    }
    doc->InsertText("hello\rworld", 11, 0);

    std::string path = Path("new.txt");
    {
        DialogWatcher dialogs(SaveAsHandler(path));
        EXPECT_EQ(1, doc->SaveDocumentAs()) << "a name that does not exist yet is accepted";
    }
    EXPECT_EQ("hello\r\nworld", ReadBytes(path));
    EXPECT_STREQ(path.c_str(), doc->m_szPath);
    EXPECT_STREQ("new.txt", doc->m_szTitle);
    EXPECT_EQ(1, doc->IsModified()) << "Save As alone leaves the flag as it was";
    char caption[64];
    GetWindowTextA(windows[0], caption, sizeof(caption));
    EXPECT_STREQ("new.txt : 0", caption);
    GetWindowTextA(windows[1], caption, sizeof(caption));
    EXPECT_STREQ("new.txt : 1", caption);

    // Saving under its own name again replaces the file the document holds open.
    doc->InsertText("!", 1, 11);
    {
        DialogWatcher dialogs(SaveAsHandler(path));
        EXPECT_EQ(1, doc->SaveDocumentAs());
        EXPECT_EQ(2u, dialogs.Count()) << "the dialog and the question to replace";
    }
    EXPECT_EQ("hello\r\nworld!", ReadBytes(path));
    for (HWND window : windows)
        DestroyWindow(window);
}

TEST_F(DocumentFile, SavingUntitledGoesThroughSaveAsAndClearsTheFlag)
{
    CTextDocument doc(nullptr, nullptr, nullptr);
    doc.InsertText("x", 1, 0);
    std::string path = Path("first.txt");
    DialogWatcher dialogs(SaveAsHandler(path));
    EXPECT_EQ(1, doc.SaveDocument(0));
    EXPECT_EQ(0, doc.IsModified());
    EXPECT_NE(nullptr, doc.m_hFile);
    EXPECT_EQ("x", ReadBytes(path));
}

TEST_F(DocumentFile, SaveAsOverAFileInUseFails)
{
    std::string locked = Path("locked.txt");
    WriteBytes(locked, "old");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string path = Path("mine.txt");
    std::unique_ptr<CTextDocument> doc = Open(path, "mine");
    std::vector<SeenDialog> seen;
    {
        DialogWatcher dialogs(SaveAsHandler(locked));
        EXPECT_EQ(0, doc->SaveDocumentAs());
        seen = dialogs.Seen();
    }
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ("File creation failed", seen.back().caption);
    EXPECT_EQ(nullptr, doc->m_hFile);
    EXPECT_STREQ(path.c_str(), doc->m_szPath) << "the names stay";
    CloseHandle(holder);
    EXPECT_EQ("old", ReadBytes(locked));
}

TEST(FileText, EveryCrBecomesCrLf)
{
    int length = 0;
    HGLOBAL block = CTextDocument::ToFileText("a\rb\r", &length);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(6, length) << "length 0 means up to the NUL";
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    EXPECT_EQ(std::string("a\r\nb\r\n", 7), std::string(bytes, 7));
    GlobalUnlock(block);
    GlobalFree(block);

    length = 2;
    block = CTextDocument::ToFileText("a\rb\r", &length);
    EXPECT_EQ(3, length);
    GlobalFree(block);
    length = -1;
    EXPECT_EQ(nullptr, CTextDocument::ToFileText("a", &length));
}

// The 16-byte conversions must give what byte-by-byte ones give, wherever the pieces of a
// text are cut and however its bytes lie in memory.
TEST(FileText, PiecesConvertAsOneText)
{
    std::mt19937 rng(99);
    static const char bytes[] = "ab\r\n\n\r\t\xE9";
    for (int round = 0; round < 3000; round++) {
        std::string in(1 + rng() % 300, ' ');
        for (char& c : in)
            c = rng() % 500 ? bytes[rng() % (sizeof(bytes) - 1)] : 0;
        std::string expected;
        char previous = 0;
        for (char c : in) {
            if (c != '\n')
                expected += c;
            else if (previous != '\r')
                expected += '\r';
            previous = c;
        }
        int shift = static_cast<int>(rng() % 16);
        const std::string from = std::string(shift, ' ') + in;
        std::vector<char> out(in.size() + 16);
        LineEndState state = {};
        int length = 0;
        for (size_t at = 0; at < in.size();) {
            size_t count = std::min(in.size() - at, static_cast<size_t>(1 + rng() % 120));
            length += ConvertLineEnds(from.data() + shift + at, static_cast<int>(count),
                                      out.data() + (15 - shift) + length, &state);
            at += count;
        }
        ASSERT_EQ(expected, std::string(out.data() + 15 - shift, length)) << "round " << round;
        ASSERT_EQ(std::count(expected.begin(), expected.end(), '\r'), state.breaks);
        ASSERT_EQ(in.find('\0') != std::string::npos, state.nul != 0);

        // And back, as a save writes it: every CR followed by an LF.
        std::string file;
        for (char c : expected)
            file += c == '\r' ? std::string("\r\n") : std::string(1, c);
        const std::string text = std::string(shift, ' ') + expected;
        std::vector<char> back(file.size() + 1, '#');
        ASSERT_EQ(static_cast<int>(file.size()),
                  ExpandLineEnds(text.data() + shift, static_cast<int>(expected.size()), back.data()));
        ASSERT_EQ(file + "#", std::string(back.data(), back.size())) << "nothing written past it";
    }
}

} // namespace

// Run by its own CTest entry under a file-size limit: writes past it fail part-way.
TEST(SizeLimit, ASaveThatCannotBeWrittenWholeLeavesTheFileAndNoCopy)
{
    const char* limit = getenv("ZENDLE_FILE_LIMIT_KB");
    if (!limit)
        GTEST_SKIP() << "needs the file-size limit of its own test entry";
    StoreSandbox sandbox;
    std::string path = sandbox.Folder().File("big.txt");
    WriteBytes(path, "old text");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CTextDocument doc(nullptr, file, path.c_str());
    std::string big((atoi(limit) + 64) << 10, 'w');
    ASSERT_EQ(1, doc.InsertText(big.data(), static_cast<int>(big.size()), 0));
    doc.m_bModified = 0;

    DialogWatcher boxes;
    EXPECT_EQ(0, doc.SaveDocument(1));
    EXPECT_EQ(1u, boxes.Count());
    EXPECT_EQ("old text", ReadBytes(path));
    EXPECT_TRUE(SafetyCopies(path).empty());
    EXPECT_EQ(1, doc.IsModified()) << "closing must still ask";
}
