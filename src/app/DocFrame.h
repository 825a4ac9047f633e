#pragma once
#include <windows.h>

#include "document/PtrList.h"

class CEditDisplay;
class COpenDocument;
class CScrollBars;

// One "MDI" window of a document, holding one view with its scroll bars.
class CDocFrame : public CObject {
public:
    explicit CDocFrame(COpenDocument* document);
    virtual ~CDocFrame();

    HWND m_hWnd;
    CScrollBars* m_pScrollBars;
    COpenDocument* m_pDocument;
    CEditDisplay* m_pView;

private:
    CDocFrame(const CDocFrame&);
    CDocFrame& operator=(const CDocFrame&);
};
