#pragma once
#include <windows.h>

#include "document/PtrList.h"

class CEditDisplay;
class CTextDocument;

typedef int (*ViewFunction)(CEditDisplay* view, void* user);

// One open document: its text and the frames that show it.
class COpenDocument : public CObject {
public:
    COpenDocument(HWND mainWindow, HWND mdiClient);
    virtual ~COpenDocument();

    int ForEachView(ViewFunction fn, void* user);
    // Captions every frame after the file's name: "name" alone, or "name : i" for several.
    void Retitle();

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
};
