#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/AppWindow.h"

class CDocFrame;
class CEditDisplay;
class COpenDocument;
class CTextDocument;

// Sends WM_KEYDOWN for a key to a view with the given modifiers held, as the keyboard
// state that GetKeyState reads.
void SendKey(HWND view, UINT key, bool shift = false, bool ctrl = false, bool alt = false);
// Sets the modifier keys that GetKeyState reads, as held (true) or released.
void HoldKeys(bool shift, bool ctrl, bool alt);
void SendChar(HWND view, unsigned char ch, bool ctrl = false, bool alt = false);

// Selects from anchor to extent as Shift and the arrows would, the caret at the extent.
void SelectRange(CEditDisplay* view, int anchor, int extent);
// Sends a menu command to a view, as its frame passes it on.
void SendCommand(CEditDisplay* view, int id);

// Lines "<prefix>0" .. "<prefix>(n-1)" joined by CR.
std::string NumberedLines(int n, const std::string& prefix = "line ");
// The text of a view's top line, up to its line break.
std::string TopLineText(const CEditDisplay* view);

// A document shown in real views, made as the editor makes them: the New command in a
// started main window gives the document and its first frame, New Window each further one.
// Every frame has the size asked for.
class ViewHarness {
public:
    explicit ViewHarness(const std::string& text, int width = 400, int height = 300);
    ~ViewHarness();

    CEditDisplay* AddView(int width = 400, int height = 300);
    CEditDisplay* View(int i = 0) const { return m_views[i]; }
    CDocFrame* Frame(int i = 0) const { return m_frames[i]; }
    std::string Text() const;
    int ToolbarEnabled(int id) const;

    std::shared_ptr<AppWindow> m_app;
    HWND m_hMain;
    HWND m_hToolbar;
    COpenDocument* m_pOwner;
    CTextDocument* m_pDocument;
    std::vector<CDocFrame*> m_frames;
    std::vector<CEditDisplay*> m_views;

private:
    CEditDisplay* TakeNewFrame(int width, int height);
};

// The client area of a view as painted by its own paint routine, in 32-bit pixels.
class ViewPicture {
public:
    explicit ViewPicture(CEditDisplay* view);
    // What paint draws into a 32-bit memory bitmap of that size.
    ViewPicture(int width, int height, const std::function<void(HDC)>& paint);
    COLORREF At(int x, int y) const;
    // The leftmost column of a pixel row band [top, bottom) that is not white; -1 if none.
    int FirstInk(int top, int bottom, int fromX = 0) const;
    int Count(COLORREF colour) const;

    int m_nWidth;
    int m_nHeight;
    std::vector<DWORD> m_pixels;
};
