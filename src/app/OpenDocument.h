#pragma once
#include <windows.h>

#include "base/PtrList.h"

class CDocFrame;
class CEditDisplay;
class CTextDocument;

typedef int (*ViewFunction)(CEditDisplay* view, void* user);

// One open document: its text and the frames that show it. It lives until its last
// frame closes, or until Close All closes it.
class COpenDocument : public CObject {
public:
    COpenDocument(HWND mainWindow, HWND mdiClient);
    virtual ~COpenDocument();

    // Makes the text (read from file when there is one) and the first frame.
    int Create(HANDLE file, const char* path);
    // Close All's road: one save prompt, then every frame goes. 0 when the user kept it.
    int Close();
    int NewWindow();
    // Captions every frame after the file's name: "name" alone, or "name : i" for several.
    void Retitle();
    int ForEachView(ViewFunction fn, void* user);
    void FrameGone(CDocFrame* frame);
    // A sort worker reads and rewrites the text: neither the document nor a view may go.
    int IsBusy() const;

    CTextDocument* GetTextDocument() const { return m_pTextDocument; }
    HWND GetMainWindow() const { return m_hMainWindow; }
    HWND GetMDIClient() const { return m_hMDIClient; }
    int GetFrameCount() const { return m_pFrames->GetCount(); }

    int m_bClosing;
    HWND m_hMDIClient;
    HWND m_hMainWindow;
    CTextDocument* m_pTextDocument;
    CPtrList* m_pFrames;

private:
    COpenDocument(const COpenDocument&);
    COpenDocument& operator=(const COpenDocument&);
    void DestroyFrames();
    int AddFrame(const char* failure);
};
