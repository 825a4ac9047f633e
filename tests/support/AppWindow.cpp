#include "support/AppWindow.h"

#include <commctrl.h>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/MainFrame.h"
#include "app/OpenDocument.h"
#include "app/Startup.h"
#include "support/ViewHarness.h"

AppWindow::AppWindow(int show) : m_started(0)
{
    // Documents are opened relative to the folder, as a user who started the editor there.
    SetCurrentDirectoryA(Folder().Path().c_str());
    m_started = InitApplication(GetModuleHandleA(nullptr), show);
    PumpMessages();
}

AppWindow::~AppWindow()
{
    if (g_app.m_hMainWindow && IsWindow(g_app.m_hMainWindow))
        DestroyWindow(g_app.m_hMainWindow);
    // Its destruction released what start-up made: the next test starts from nothing.
    g_app = CAppState();
    // The main window's destruction posted WM_QUIT: nothing of it may reach the next test.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        ;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA(MAIN_CLASS, instance);
    UnregisterClassA(FRAME_CLASS, instance);
    UnregisterClassA(DISPLAY_CLASS, instance);
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    SetCurrentDirectoryA(temp);
}

HWND AppWindow::Main() const
{
    return g_app.m_hMainWindow;
}

CMainFrame* AppWindow::Frame() const
{
    return GetMainFrame(g_app.m_hMainWindow);
}

void AppWindow::Command(int id)
{
    SendMessageA(g_app.m_hMainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
}

std::vector<COpenDocument*> AppWindow::Documents() const
{
    std::vector<COpenDocument*> documents;
    CMainFrame* frame = Frame();
    for (CPtrNode* node = frame ? frame->m_pDocuments->m_pFirst : nullptr; node; node = node->next)
        documents.push_back(static_cast<COpenDocument*>(node->item));
    return documents;
}

HWND AppWindow::ActiveFrame() const
{
    return GetActiveFrame(nullptr);
}

CDocFrame* AppWindow::FrameOf(HWND frameWindow) const
{
    return static_cast<CDocFrame*>(GetPropA(frameWindow, FRAME_PROPERTY));
}

std::vector<HWND> AppWindow::FrameWindows() const
{
    std::vector<HWND> frames;
    for (HWND child = GetWindow(g_app.m_hMDIClient, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = "";
        GetClassNameA(child, name, sizeof(name));
        if (lstrcmpA(name, FRAME_CLASS) == 0)
            frames.push_back(child);
    }
    return frames;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            continue;
        if (PreTranslateAppMessage(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int PressShortcut(UINT key, bool ctrl, bool shift)
{
    HoldKeys(shift, ctrl, false);
    MSG message = {GetFocus(), WM_KEYDOWN, key, 1, GetTickCount(), {0, 0}};
    int filtered = PreTranslateAppMessage(&message);
    if (!filtered) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    HoldKeys(false, false, false);
    PumpMessages();
    return filtered;
}

std::string WindowText(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string StatusText(HWND status, int part)
{
    char text[512] = "";
    int length = LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, part, 0));
    if (length < static_cast<int>(sizeof(text)))
        SendMessageA(status, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

int StatusPartCount(HWND status)
{
    return static_cast<int>(SendMessageA(status, SB_GETPARTS, 0, 0));
}
