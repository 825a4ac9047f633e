#include "app/OpenDocument.h"

#include <stdio.h>
#include <string.h>

#include "app/DocFrame.h"
#include "document/TextDocument.h"

COpenDocument::COpenDocument(HWND mainWindow, HWND mdiClient)
    : m_bClosing(0), m_hMDIClient(mdiClient), m_hMainWindow(mainWindow),
      m_pTextDocument(nullptr), m_pFrames(new CPtrList(1))
{
}

COpenDocument::~COpenDocument()
{
    delete m_pTextDocument;
    delete m_pFrames;
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
