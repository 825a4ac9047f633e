// The Open and Save As dialogs with their name checks, and the About box, driven from the
// test as a user would answer them.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <atomic>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/MainFrame.h"
#include "app/OpenDocument.h"
#include "dialogs/AboutBox.h"
#include "dialogs/FileDialogs.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "support/AppWindow.h"
#include "support/DialogWatcher.h"
#include "support/Waits.h"

namespace {

const char NOT_TEXT_WARNING[] = "The selected file cannot be opened with this application.\n"
                                "Please choose text files only.";
const char NON_TEXT_QUESTION[] =
    "Saving this file in a non-text format can lead to undesired\n"
    "results when loading or locating the file in the future.\n"
    "Do you wish to proceed?";

std::string SystemText(DWORD error)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_ALLOCATE_BUFFER,
                   nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = text ? text : "";
    LocalFree(text);
    return result;
}

// Waits until a message box has gone and the window that owned it has taken its messages
// again (the code that showed the box has returned), and tells whether that window is still up.
bool OwnerStaysAfterBox(HWND box)
{
    HWND owner = GetWindow(box, GW_OWNER);
    return owner && WaitUntilClosed(box) && WaitUntilIdle(owner) && IsWindowVisible(owner);
}

class Dialogs : public ::testing::Test {
protected:
    AppWindow app;

    std::string Path(const char* name) { return app.Folder().File(name); }
    void MakeFile(const char* name, const char* text) { WriteBytes(Path(name), text); }
    std::vector<std::string> Captions()
    {
        std::vector<std::string> captions;
        for (COpenDocument* document : app.Documents()) {
            CDocFrame* frame = static_cast<CDocFrame*>(document->m_pFrames->GetAt(0));
            captions.push_back(WindowText(frame->m_hWnd));
        }
        return captions;
    }
};

} // namespace

TEST(TextExtensions, TheFirstDotDecidesAndOnlyFourCharactersCount)
{
    for (const char* name : {"a.txt", "A.TXT", "b.cpp", "c.h", "d.hpp", "e.htm", "f.TxtX"})
        EXPECT_TRUE(IsTextExtension(FirstDotExtension(name))) << name;
    for (const char* name : {"a.cxx", "readme.md", "noext", "my.notes.txt", "x.c", "y.tx"})
        EXPECT_FALSE(IsTextExtension(FirstDotExtension(name))) << name;
}

TEST(ChosenPaths, DirectoryAndNameJoinWithOneBackslashAndAreNeverCut)
{
    char path[MAX_PATH];
    const char single[] = "C:\\work\\a.txt";
    ASSERT_EQ(1, ComposeChosenPath(single, 8, single + 8, path, sizeof(path)));
    EXPECT_STREQ("C:\\work\\a.txt", path);
    const char several[] = "C:\\work\0a.txt\0b.txt\0";
    ASSERT_EQ(1, ComposeChosenPath(several, 8, several + 14, path, sizeof(path)));
    EXPECT_STREQ("C:\\work\\b.txt", path);
    const char root[] = "C:\\\0a.txt\0b.txt\0";
    ASSERT_EQ(1, ComposeChosenPath(root, 4, root + 4, path, sizeof(path)));
    EXPECT_STREQ("C:\\a.txt", path);

    // 259 characters fit; one more is refused whole.
    std::string directory = "C:\\" + std::string(250, 'd');
    std::string name(259 - directory.size() - 1, 'n');
    std::string buffer = directory + '\0' + name + '\0';
    int offset = static_cast<int>(directory.size()) + 1;
    ASSERT_EQ(1, ComposeChosenPath(buffer.data(), offset, name.c_str(), path, sizeof(path)));
    EXPECT_EQ(259u, strlen(path));
    name += 'n';
    buffer = directory + '\0' + name + '\0';
    strcpy(path, "untouched");
    EXPECT_EQ(0, ComposeChosenPath(buffer.data(), offset, name.c_str(), path, sizeof(path)));
    EXPECT_STREQ("untouched", path);
}

TEST_F(Dialogs, OpenRefusesANonTextNameAndKeepsTheDialogOpen)
{
    MakeFile("notes.txt", "notes");
    MakeFile("readme.md", "readme");
    for (const char* names : {"\"notes.txt\" \"readme.md\"", "\"readme.md\" \"notes.txt\""}) {
        std::atomic<bool> stayedOpen(false);
        {
            DialogWatcher dialogs([&](HWND dialog, const SeenDialog& seen) {
                if (seen.fileDialog) {
                    ChooseFileName(dialog, names);
                    return;
                }
                HWND fileDialog = GetWindow(dialog, GW_OWNER);
                PressDialogButton(dialog, IDOK);
                stayedOpen = OwnerStaysAfterBox(dialog);
                PressDialogButton(fileDialog, IDCANCEL);
            });
            app.Command(ID_FILE_OPEN);
            std::vector<SeenDialog> seen = dialogs.Seen();
            ASSERT_EQ(2u, seen.size()) << names;
            EXPECT_EQ("Zendle Editor", seen[1].caption);
            EXPECT_EQ(NOT_TEXT_WARNING, seen[1].text);
        }
        EXPECT_TRUE(stayedOpen) << names;
        EXPECT_EQ(0u, app.Documents().size()) << names;
    }
}

TEST_F(Dialogs, SeveralFilesOpenAsDocumentsInTheDialogsOrder)
{
    MakeFile("a.txt", "first");
    MakeFile("b.cpp", "int b;");
    MakeFile("c.h", "#pragma once");
    {
        DialogWatcher dialogs([](HWND dialog, const SeenDialog& seen) {
            if (seen.fileDialog)
                ChooseFileName(dialog, "\"a.txt\" \"b.cpp\" \"c.h\"");
            else
                PressDialogButton(dialog, IDOK);
        });
        app.Command(ID_FILE_OPEN);
        EXPECT_EQ(1u, dialogs.Count()) << "nothing but the Open dialog";
    }
    EXPECT_EQ((std::vector<std::string>{"a.txt", "b.cpp", "c.h"}), Captions());
    ASSERT_EQ(3u, app.Documents().size());
    CTextDocument* first = app.Documents()[0]->GetTextDocument();
    EXPECT_STREQ("first", first->GetTextAt(0));
    EXPECT_EQ(Path("a.txt"), first->m_szPath);
    EXPECT_EQ(4, StatusPartCount(GetDlgItem(app.Main(), IDW_STATUSBAR)));
}

TEST_F(Dialogs, AFileAlreadyOpenIsRefusedWithTheSharingViolationText)
{
    MakeFile("a.txt", "text");
    MakeFile("b.txt", "more");
    {
        DialogWatcher dialogs(SaveAsHandler("a.txt"));
        app.Command(ID_FILE_OPEN);
    }
    ASSERT_EQ(1u, app.Documents().size());
    {
        // The second attempt names it again, with a file that opens fine after it.
        DialogWatcher dialogs([](HWND dialog, const SeenDialog& seen) {
            if (seen.fileDialog)
                ChooseFileName(dialog, "\"a.txt\" \"b.txt\"");
            else
                PressDialogButton(dialog, IDOK);
        });
        app.Command(ID_FILE_OPEN);
        std::vector<SeenDialog> seen = dialogs.Seen();
        ASSERT_EQ(2u, seen.size());
        EXPECT_EQ("File creation failed", seen[1].caption);
        EXPECT_EQ(SystemText(ERROR_SHARING_VIOLATION), seen[1].text);
    }
    EXPECT_EQ((std::vector<std::string>{"a.txt", "b.txt"}), Captions());
}

TEST_F(Dialogs, SaveAsCreatesAFileUnderANewName)
{
    app.Command(ID_FILE_NEW);
    CTextDocument* document = app.Documents()[0]->GetTextDocument();
    document->InsertText("one\rtwo", 7, 0);
    {
        DialogWatcher dialogs(SaveAsHandler("fresh.txt"));
        EXPECT_EQ(1, document->SaveDocumentAs());
        EXPECT_EQ(1u, dialogs.Count()) << "a text name asks nothing more";
    }
    EXPECT_EQ("one\r\ntwo", ReadBytes(Path("fresh.txt")));
    EXPECT_EQ((std::vector<std::string>{"fresh.txt"}), Captions());
}

TEST_F(Dialogs, SavingUnderANonTextNameAsksFirst)
{
    app.Command(ID_FILE_NEW);
    CTextDocument* document = app.Documents()[0]->GetTextDocument();
    document->InsertText("report", 6, 0);
    std::atomic<int> questions(0);
    std::atomic<bool> stayedOpen(false);
    {
        DialogWatcher dialogs([&](HWND dialog, const SeenDialog& seen) {
            if (seen.fileDialog) {
                ChooseFileName(dialog, "report.doc");
                return;
            }
            // No returns to the dialog; the same name again, then Yes saves.
            HWND fileDialog = GetWindow(dialog, GW_OWNER);
            if (++questions == 1) {
                PressDialogButton(dialog, IDNO);
                stayedOpen = OwnerStaysAfterBox(dialog);
                ChooseFileName(fileDialog, "report.doc");
            } else {
                PressDialogButton(dialog, IDYES);
            }
        });
        EXPECT_EQ(1, document->SaveDocumentAs());
        std::vector<SeenDialog> seen = dialogs.Seen();
        ASSERT_EQ(3u, seen.size());
        EXPECT_EQ("Zendle Editor", seen[1].caption);
        EXPECT_EQ(NON_TEXT_QUESTION, seen[1].text);
        EXPECT_EQ(NON_TEXT_QUESTION, seen[2].text);
    }
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ("report", ReadBytes(Path("report.doc")));
    EXPECT_EQ((std::vector<std::string>{"report.doc"}), Captions());
}

TEST_F(Dialogs, TheAboutBoxClosesOnlyWithOk)
{
    std::string build, title;
    std::atomic<bool> stayed(false);
    {
        DialogWatcher dialogs([&](HWND dialog, const SeenDialog&) {
            char text[256] = "";
            GetDlgItemTextA(dialog, IDC_ABOUT_BUILD, text, sizeof(text));
            build = text;
            GetDlgItemTextA(dialog, IDC_ABOUT_TITLE, text, sizeof(text));
            title = text;
            // Sent, not posted, so that both are handled when the calls return.
            DWORD_PTR result;
            SendMessageTimeoutA(dialog, WM_COMMAND, IDCANCEL, 0, SMTO_NORMAL, WAIT_LIMIT_MS,
                                &result);
            SendMessageTimeoutA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, WAIT_LIMIT_MS,
                                &result);
            stayed = IsWindow(dialog) && IsWindowVisible(dialog);
            PressDialogButton(dialog, IDOK);
        });
        app.Command(ID_HELP_ABOUT);
        std::vector<SeenDialog> seen = dialogs.Seen();
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ("About Zendle Editor", seen[0].caption);
    }
    EXPECT_TRUE(stayed) << "Escape and the close button leave it open";
    EXPECT_EQ("Zendle Editor 1.1", title);
    ASSERT_FALSE(build.empty());
    EXPECT_EQ('\n', build[0]) << "the build information starts with an empty line";
    // The date the about box was compiled on, as the compiler writes it ("Dec  8 2026"); it
    // may be a day before this file's when a build passes midnight.
    const size_t date = build.find("\nDate Compiled: ");
    ASSERT_NE(std::string::npos, date);
    char month[4] = "";
    int day = 0, year = 0;
    EXPECT_EQ(3, sscanf(build.c_str() + date + 16, "%3s %2d %4d", month, &day, &year));
    EXPECT_NE(nullptr, strstr("JanFebMarAprMayJunJulAugSepOctNovDec", month)) << month;
    EXPECT_TRUE(day >= 1 && day <= 31 && year >= 2024) << day << " " << year;
    EXPECT_EQ('\n', build[date + 16 + 11]);
    EXPECT_EQ(1u, build.find("Author: "));
    EXPECT_EQ('\xA9', build[build.size() - 2]) << build;
}
