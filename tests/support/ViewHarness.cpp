#include "support/ViewHarness.h"

#include "support/AppWindow.h"

#include <commctrl.h>
#include <string.h>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/OpenDocument.h"
#include "document/TextDocument.h"
#include "view/DisplayWindow.h"
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"

void RegisterDisplayClassForTests()
{
    WNDCLASSA wc;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoA(instance, DISPLAY_CLASS, &wc))
        return;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DisplayWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.lpszClassName = DISPLAY_CLASS;
    RegisterClassA(&wc);
}

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

// A document frame stand-in: passes the scroll bars' notifications and its size on to
// the view, as the editor's own frames do.
static LRESULT CALLBACK TestFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDocFrame* frame = reinterpret_cast<CDocFrame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    CEditDisplay* view = frame ? frame->m_pView : nullptr;
    switch (msg) {
    case WM_VSCROLL:
        if (view)
            view->OnVScroll(LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        if (view)
            view->OnHScroll(LOWORD(wParam));
        return 0;
    case WM_SIZE:
        if (view && view->m_hWnd)
            view->PlaceWindow();
        break;
    case WM_DESTROY:
        if (frame)
            frame->m_pView = nullptr;
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static void RegisterTestClasses()
{
    RegisterDisplayClassForTests();
    WNDCLASSA wc;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoA(instance, "ViewTestFrame", &wc))
        return;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = TestFrameProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "ViewTestFrame";
    RegisterClassA(&wc);
}

ViewHarness::ViewHarness(const std::string& text, int width, int height)
{
    RegisterTestClasses();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_hMain = CreateWindowExA(0, "ViewTestFrame", "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                              nullptr, nullptr, instance, nullptr);
    m_hToolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                 m_hMain, nullptr, instance, nullptr);
    SendMessageA(m_hToolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const int ids[] = {40004, 40008, 40007, 40009, 40010, 40022, 40023, 40011, 40005, 40006};
    for (int id : ids) {
        TBBUTTON button;
        ZeroMemory(&button, sizeof(button));
        button.iBitmap = I_IMAGENONE;
        button.idCommand = id;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON;
        SendMessageA(m_hToolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    m_pOwner = new COpenDocument(m_hMain, nullptr);
    m_pDocument = new CTextDocument(m_pOwner, nullptr, nullptr);
    m_pOwner->m_pTextDocument = m_pDocument;
    if (!text.empty())
        m_pDocument->InsertText(text.data(), static_cast<int>(text.size()), 0);
    AddView(width, height);
}

CEditDisplay* ViewHarness::AddView(int width, int height)
{
    int n = static_cast<int>(m_frames.size());
    HWND window = CreateWindowExA(0, "ViewTestFrame", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  20 + 30 * n, 20 + 30 * n, width, height, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    CDocFrame* frame = new CDocFrame(m_pOwner);
    frame->m_hWnd = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
    CEditDisplay* view = new CEditDisplay(m_pOwner, frame);
    frame->m_pView = view;
    CScrollBars* bars = new CScrollBars(view, frame);
    frame->m_pScrollBars = bars;
    view->AttachScrollBars(bars);
    m_pOwner->m_pFrames->AddTail(frame);
    m_frames.push_back(frame);
    m_views.push_back(view);
    PumpMessages();
    return view;
}

ViewHarness::~ViewHarness()
{
    for (CDocFrame* frame : m_frames) {
        DestroyWindow(frame->m_hWnd);
        delete frame->m_pScrollBars;
        frame->m_pScrollBars = nullptr;
    }
    DestroyWindow(m_hMain);
    delete m_pOwner;
    PumpMessages();
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
