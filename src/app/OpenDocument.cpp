#include "app/OpenDocument.h"

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
