#pragma once
#include <windows.h>

class CEditDisplay;

#include "base/PtrList.h"

class COpenDocument;

// The behaviour of the "Main" window: the open documents, command routing, menu states,
// menu help and tips, and the layout of toolbar, MDI client and status bar.
class CMainFrame {
public:
    CMainFrame();
    virtual ~CMainFrame();

    void OnDestroy(HWND window);
    void OnClose(HWND window);
    BOOL OnQueryEndSession();
    void OnEndSession(HWND window, BOOL ending);
    void OnCommand(HWND window, WPARAM wParam, LPARAM lParam);
    void OnInitMenuPopup(HMENU menu, int position, int systemMenu);
    void OnMenuSelect(HMENU menu, UINT item, HMENU popup, UINT flags);
    LRESULT OnNotify(int id, NMHDR* header);
    void OnSize(HWND window, WPARAM type, int width, int height);
    void OnPaint(HWND window);
    void OnDocumentGone(COpenDocument* document);
    void OnFindMessage(FINDREPLACEA* record);
    // Another program, or this one, changed the clipboard: the Paste button follows.
    void OnClipboardUpdate();
    // Open: the chosen files, each opened for reading and writing, become new documents.
    void OnOpen(HWND window);
    // One chosen path, as Open takes it; the new document, or null when it was not opened.
    COpenDocument* OpenPath(HWND window, const char* path);

    // Closes every document in opening order; stops at the first that refuses.
    int CloseAll();
    // New (no file) or Open (file and path): the document joins the list when it was made.
    COpenDocument* AddDocument(HANDLE file, const char* path);

    CPtrList* m_pDocuments;

private:
    CMainFrame(const CMainFrame&);
    CMainFrame& operator=(const CMainFrame&);
};

// The main frame of a "Main" window (its "tmpltProp" property).
CMainFrame* GetMainFrame(HWND window);
// Makes the frame object when the "Main" window is created.
int OnMainCreate(HWND window);
// Places the MDI client between toolbar and status bar.
void LayoutMainWindow(HWND window);
// With no active document frame only New and Open stay enabled on the toolbar.
void RefreshToolbar();
// The active document frame's window, or null; maximised receives its zoomed state.
HWND GetActiveFrame(int* maximised);
// The view of the active document frame; null without one.
CEditDisplay* GetActiveView();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
