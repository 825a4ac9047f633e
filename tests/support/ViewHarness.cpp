#include "support/ViewHarness.h"

#include "support/AppWindow.h"

#include <commctrl.h>
#include <string.h>

#include <memory>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/OpenDocument.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"

void HoldKeys(bool shift, bool ctrl, bool alt)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(keys);
}

void SendKey(HWND view, UINT key, bool shift, bool ctrl, bool alt)
{
    HoldKeys(shift, ctrl, alt);
    SendMessageA(view, WM_KEYDOWN, key, 1);
    HoldKeys(false, false, false);
}

void SendChar(HWND view, unsigned char ch, bool ctrl, bool alt)
{
    HoldKeys(false, ctrl, alt);
    SendMessageA(view, WM_CHAR, ch, 1);
    HoldKeys(false, false, false);
}

void SelectRange(CEditDisplay* view, int anchor, int extent)
{
    view->m_pSelection->Clear();
    view->MoveCaret(anchor);
    view->m_pSelection->Extend(anchor);
    view->MoveCaret(extent);
    view->m_pSelection->Extend(extent);
}

void SendCommand(CEditDisplay* view, int id)
{
    SendMessageA(view->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::string NumberedLines(int n, const std::string& prefix)
{
    std::string s;
    for (int i = 0; i < n; i++) {
        if (i)
            s += '\r';
        s += prefix + std::to_string(i);
    }
    return s;
}

std::string TopLineText(const CEditDisplay* view)
{
    const char* p = view->m_pTopLine;
    return std::string(p, strcspn(p, "\r"));
}

// Harnesses alive at once share one started main window, each with a document of its own.
static std::shared_ptr<AppWindow> SharedAppWindow()
{
    static std::weak_ptr<AppWindow> running;
    std::shared_ptr<AppWindow> app = running.lock();
    if (!app) {
        app = std::make_shared<AppWindow>();
        running = app;
    }
    return app;
}

ViewHarness::ViewHarness(const std::string& text, int width, int height)
    : m_app(SharedAppWindow()), m_hMain(m_app->Main()), m_hToolbar(g_app.m_hToolbar),
      m_pOwner(nullptr), m_pDocument(nullptr)
{
    // A document made as New makes it, its text then put in as a paste would.
    m_app->Command(ID_FILE_NEW);
    m_pOwner = m_app->Documents().back();
    m_pDocument = m_pOwner->GetTextDocument();
    if (!text.empty())
        m_pDocument->InsertText(text.data(), static_cast<int>(text.size()), 0);
    // The insertion took the focused view's caret and picture to the end; the tests start
    // at the top left, as with a file just opened.
    CEditDisplay* view = TakeNewFrame(width, height);
    view->MoveCaret(0);
    view->m_pScrollBars->SetHorzPos(0, 1);
    view->m_pScrollBars->SetVertPos(0, 1);
    PumpMessages();
}

CEditDisplay* ViewHarness::AddView(int width, int height)
{
    m_app->Command(ID_WINDOW_NEWWINDOW);
    return TakeNewFrame(width, height);
}

ViewHarness::~ViewHarness()
{
    // The last harness takes the main window down, which closes every document unasked.
    if (m_app.use_count() > 1) {
        delete m_pOwner;
        PumpMessages();
    }
}

// The frame just made is the active one; it gets the size asked for, cascaded below the others.
CEditDisplay* ViewHarness::TakeNewFrame(int width, int height)
{
    int n = static_cast<int>(m_frames.size());
    CDocFrame* frame = m_app->FrameOf(m_app->ActiveFrame());
    MoveWindow(frame->GetWindow(), 20 + 30 * n, 20 + 30 * n, width, height, TRUE);
    m_frames.push_back(frame);
    m_views.push_back(frame->GetView());
    PumpMessages();
    return frame->GetView();
}

std::string ViewHarness::Text() const
{
    return std::string(m_pDocument->GetTextAt(0), m_pDocument->GetTextLength());
}

int ViewHarness::ToolbarEnabled(int id) const
{
    return SendMessageA(m_hToolbar, TB_ISBUTTONENABLED, id, 0) ? 1 : 0;
}

static RECT ClientOf(CEditDisplay* view)
{
    RECT client;
    GetClientRect(view->m_hWnd, &client);
    return client;
}

ViewPicture::ViewPicture(CEditDisplay* view)
    : ViewPicture(ClientOf(view).right, ClientOf(view).bottom,
                  [view](HDC dc) { view->PaintInto(dc); })
{
}

ViewPicture::ViewPicture(int width, int height, const std::function<void(HDC)>& paint)
{
    m_nWidth = width;
    m_nHeight = height;
    m_pixels.assign(static_cast<size_t>(m_nWidth) * m_nHeight, 0);
    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_nWidth;
    info.bmiHeader.biHeight = -m_nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    paint(dc);
    GdiFlush();
    memcpy(m_pixels.data(), bits, m_pixels.size() * sizeof(DWORD));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

COLORREF ViewPicture::At(int x, int y) const
{
    DWORD p = m_pixels[static_cast<size_t>(y) * m_nWidth + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int ViewPicture::FirstInk(int top, int bottom, int fromX) const
{
    for (int x = fromX; x < m_nWidth; x++) {
        for (int y = top; y < bottom && y < m_nHeight; y++) {
            if (At(x, y) != RGB(255, 255, 255))
                return x;
        }
    }
    return -1;
}

int ViewPicture::Count(COLORREF colour) const
{
    int n = 0;
    for (int y = 0; y < m_nHeight; y++) {
        for (int x = 0; x < m_nWidth; x++)
            n += At(x, y) == colour;
    }
    return n;
}
