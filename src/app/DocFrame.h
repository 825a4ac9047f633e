#pragma once
#include <windows.h>

#include "base/PtrList.h"

class CEditDisplay;
class COpenDocument;
class CScrollBars;

// One "MDI" window of a document, holding one view with its scroll bars.
class CDocFrame : public CObject {
public:
    explicit CDocFrame(COpenDocument* document);
    virtual ~CDocFrame();

    // Makes the window in the MDI client (maximised like the active frame) and its view.
    // On failure the object holds no window and the caller deletes it.
    // Makes the window, its view and scroll bars; 0 once a failure was told (failure
    // names a window that could not be made).
    int Create(HWND mdiClient, const char* failure);
    // The part of the client area that the view and its scroll bars share.
    void GetViewArea(int* left, int* top, int* right, int* bottom) const;

    HWND GetWindow() const { return m_hWnd; }
    CScrollBars* GetScrollBars() const { return m_pScrollBars; }
    CEditDisplay* GetView() const { return m_pView; }

    void OnClose();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnSetFocus();
    void OnSize();
    void OnScroll(int vertical, int code);
    void OnPaint();
    LRESULT OnNcHitTest(int x, int y);
    LRESULT ForwardToView(UINT message, WPARAM wParam, LPARAM lParam);
    void CycleFocus();
    // Closes this window; the document's last window asks to save first. 0 when kept.
    int CloseFrame();

    HWND m_hWnd;
    CScrollBars* m_pScrollBars;
    COpenDocument* m_pDocument;
    CEditDisplay* m_pView;

private:
    CDocFrame(const CDocFrame&);
    CDocFrame& operator=(const CDocFrame&);
    HWND ViewWindow() const;
    int Abandon(HWND mdiClient, const char* caption);
};

const char FRAME_PROPERTY[] = "frmProp";

LRESULT CALLBACK DocFrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
