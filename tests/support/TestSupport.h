#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CDocFrame;
class CEditDisplay;
class CFontInfo;
class COpenDocument;
class CTextDocument;

// A font made the way the editor's font dialog would make it: a character height in pixels
// (negative lfHeight), normal weight, ANSI character set.
HFONT CreateTestFont(const char* face, int height, int italic = 0);

// Sets a new font measured on the display, as a remembered font is set when a file opens.
// Fails the test when the system substituted another face for the one asked for.
void SetTestFont(CFontInfo* info, const char* face, int height, int italic = 0);
// The same for a document's font, and re-measures every line.
void SetTestFont(CTextDocument* doc, const char* face, int height, int italic = 0);

// The document's text as a string (bytes up to its length).
std::string DocumentText(const CTextDocument* doc);

// Inserts a whole string at index; returns InsertText's result.
int InsertString(CTextDocument* doc, const std::string& text, int index);

// Checks every invariant of the line width table against a full re-measure of the text:
// one entry per line, each equal to the width of its line, and the widest line one of the
// lines of greatest width.
testing::AssertionResult LineTableMatchesText(const CTextDocument* doc);

// A document as the application holds it: a COpenDocument without windows that owns the
// text document, with a number of frames each holding one view.
class CTestDocument {
public:
    explicit CTestDocument(int views = 1);
    ~CTestDocument();

    CTextDocument* Doc() const;
    CEditDisplay* View(int i) const;
    // Places view i's top at the start of the line holding index, as scrolling would.
    void ScrollViewTo(int i, int index) const;

    COpenDocument* m_pOpen;
    std::vector<CEditDisplay*> m_views;

private:
    CTestDocument(const CTestDocument&);
    CTestDocument& operator=(const CTestDocument&);
};

// Reserves address space while it lives until no free piece of minFree bytes is left, so
// that any larger allocation fails the way it would in a full 32-bit process.
class CAddressSpaceHog {
public:
    explicit CAddressSpaceHog(size_t minFree);
    ~CAddressSpaceHog();

private:
    CAddressSpaceHog(const CAddressSpaceHog&);
    CAddressSpaceHog& operator=(const CAddressSpaceHog&);
    std::vector<void*> m_held;
};

// Watches for message boxes ("#32770" windows) of this process while it lives, records
// their caption and text and closes each by pressing button (IDOK by default).
class CMessageBoxWatcher {
public:
    struct Box {
        std::string caption;
        std::string text;
    };

    explicit CMessageBoxWatcher(int button = IDOK);
    ~CMessageBoxWatcher();

    std::vector<Box> Seen();
    // Waits until count boxes were seen; false after timeoutMs without them.
    bool WaitFor(size_t count, DWORD timeoutMs = 10000);

private:
    CMessageBoxWatcher(const CMessageBoxWatcher&);
    CMessageBoxWatcher& operator=(const CMessageBoxWatcher&);
    void Run();
    static BOOL CALLBACK FindBox(HWND wnd, LPARAM self);

    int m_nButton;
    volatile bool m_bStop;
    std::mutex m_lock;
    std::vector<Box> m_seen;
    std::vector<HWND> m_handled;
    std::thread m_thread;
};
