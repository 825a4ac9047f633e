#include "app/DocFrame.h"

CDocFrame::CDocFrame(COpenDocument* document)
    : m_hWnd(nullptr), m_pScrollBars(nullptr), m_pDocument(document), m_pView(nullptr)
{
}

CDocFrame::~CDocFrame()
{
}
