#include "app/OpenDocument.h"

#include <stdio.h>
#include <string.h>

#include <new>

#include "app/DocFrame.h"
#include "base/ErrorBox.h"
#include "base/ShellMessages.h"
#include "document/TextDocument.h"

COpenDocument::COpenDocument(HWND mainWindow, HWND mdiClient)
    : m_bClosing(0), m_hMDIClient(mdiClient), m_hMainWindow(mainWindow),
      m_pTextDocument(nullptr), m_pFrames(new (std::nothrow) CPtrList(1))
{
}

COpenDocument::~COpenDocument()
{
    // Frames still listed (a document deleted with its windows open) go as in Close All,
    // so that none reports back to a half-deleted document.
    int tellMainWindow = !m_bClosing;
    m_bClosing = 1;
    DestroyFrames();
    delete m_pTextDocument;
    m_pTextDocument = nullptr;
    if (tellMainWindow && m_hMainWindow)
        SendMessageA(m_hMainWindow, WM_DOCUMENT_GONE, reinterpret_cast<WPARAM>(this), 0);
    delete m_pFrames;
}

void COpenDocument::DestroyFrames()
{
    while (m_pFrames && m_pFrames->GetCount() > 0) {
        CDocFrame* frame = static_cast<CDocFrame*>(m_pFrames->RemoveAt(0));
        if (frame->m_hWnd && m_hMDIClient)
            SendMessageA(m_hMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame->m_hWnd), 0);
        else
            delete frame;
    }
}

int COpenDocument::Create(HANDLE file, const char* path)
{
    m_bClosing = 0;
    m_pTextDocument = m_pFrames ? new (std::nothrow) CTextDocument(this, file, path) : nullptr;
    // Only memory keeps a document from being made: a file it cannot load it refuses.
    if (!m_pTextDocument || !m_pTextDocument->IsReady()) {
        if (!m_pTextDocument && file)
            CloseHandle(file);
        ShowOutOfMemory(m_hMainWindow, "Document creation failed");
        return 0;
    }
    // A file that cannot be edited has been reported by the loader already.
    if (m_pTextDocument->LoadRefused())
        return 0;

    return AddFrame("Frame creation failed");
}

int COpenDocument::AddFrame(const char* failure)
{
    CDocFrame* frame = new (std::nothrow) CDocFrame(this);
    if (!frame) {
        ShowOutOfMemory(m_hMainWindow, failure);
        return 0;
    }
    if (!frame->Create(m_hMDIClient, failure)) {
        delete frame;
        return 0;
    }
    // A frame missing from the list would escape the close questions: it goes again.
    if (!m_pFrames->AddTail(frame)) {
        SendMessageA(m_hMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame->m_hWnd), 0);
        ShowLastError(m_hMainWindow, failure, ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    Retitle();
    return 1;
}

int COpenDocument::IsBusy() const
{
    return m_pTextDocument && m_pTextDocument->IsSorting();
}

int COpenDocument::Close()
{
    if (IsBusy() || !m_pTextDocument->QueryClose())
        return 0;
    m_bClosing = 1;
    DestroyFrames();
    delete this;
    return 1;
}

int COpenDocument::NewWindow()
{
    return AddFrame("New Windo creation failed");
}

void COpenDocument::FrameGone(CDocFrame* frame)
{
    // A frame that never joined the list (its creation failed) leaves the document alone.
    if (m_bClosing || !m_pFrames->Remove(frame))
        return;
    if (m_pFrames->GetCount() > 0)
        Retitle();
    else
        delete this;
}

int COpenDocument::ForEachView(ViewFunction fn, void* user)
{
    for (CPtrNode* node = m_pFrames->m_pFirst; node; node = node->next) {
        CEditDisplay* view = static_cast<CDocFrame*>(node->item)->m_pView;
        if (view && !fn(view, user))
            return 0;
    }
    return 1;
}

void COpenDocument::Retitle()
{
    int count = m_pFrames->GetCount();
    if (count == 0)
        return;
    char base[257];
    if (!m_pTextDocument || !m_pTextDocument->GetTitle(base, sizeof(base))) {
        // An untitled document keeps the first frame's caption, less its " : n" suffix.
        HWND first = static_cast<CDocFrame*>(m_pFrames->m_pFirst->item)->m_hWnd;
        base[0] = 0;
        GetWindowTextA(first, base, sizeof(base));
        char* colon = strchr(base, ':');
        if (colon)
            colon[colon > base ? -1 : 0] = 0;
    }
    if (count == 1) {
        SetWindowTextA(static_cast<CDocFrame*>(m_pFrames->m_pFirst->item)->m_hWnd, base);
        return;
    }
    int index = 0;
    for (CPtrNode* node = m_pFrames->m_pFirst; node; node = node->next) {
        char caption[sizeof(base) + 16];
        snprintf(caption, sizeof(caption), "%s : %d", base, index++);
        SetWindowTextA(static_cast<CDocFrame*>(node->item)->m_hWnd, caption);
    }
}
