#include "app/Startup.h"

#include <commctrl.h>
#include <string.h>

#include <new>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/FindCommands.h"
#include "base/ErrorBox.h"
#include "app/FileFontStore.h"
#include "app/MainFrame.h"
#include "app/StatusBar.h"
#include "app/Toolbar.h"
#include "resources/resource.h"
#include "view/DisplayWindow.h"

static int RegisterOne(HINSTANCE instance, const char* name, WNDPROC procedure, UINT style,
                       int brush, HCURSOR cursor, HICON icon, HICON smallIcon, LPCSTR menu)
{
    WNDCLASSEXA wc;
    memset(&wc, 0, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hCursor = cursor;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(brush));
    wc.lpszMenuName = menu;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

int RegisterWindowClasses(HINSTANCE instance)
{
    HICON icon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZENDLE), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    HICON smallIcon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZENDLE), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    if (!RegisterOne(instance, MAIN_CLASS, MainWndProc, 0, LTGRAY_BRUSH, nullptr, icon,
                     smallIcon, MAKEINTRESOURCEA(IDR_MAINMENU))) {
        ShowLastError(nullptr, "Main window registration failed");
        return 0;
    }
    if (!RegisterOne(instance, FRAME_CLASS, DocFrameWndProc, 0, BLACK_BRUSH,
                     LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr, nullptr)) {
        ShowLastError(nullptr, "Main MDI child window registration failed");
        return 0;
    }
    if (!RegisterOne(instance, DISPLAY_CLASS, DisplayWndProc, CS_DBLCLKS, WHITE_BRUSH, nullptr,
                     nullptr, nullptr, nullptr)) {
        ShowLastError(nullptr, "MDI display window registration failed");
        return 0;
    }
    return 1;
}

int CreateMainWindows(HINSTANCE instance, int show)
{
    // The show command travels in the y position: a visible overlapped window created at
    // CW_USEDEFAULT is shown with it.
    g_app.m_hMainWindow = CreateWindowExA(
        0, MAIN_CLASS, APP_CAPTION, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE,
        CW_USEDEFAULT, show, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (!g_app.m_hMainWindow) {
        ShowLastError(nullptr, "Main program window creation failed");
        return 0;
    }
    g_app.m_hToolbar = CreateToolbar(g_app.m_hMainWindow, instance);
    if (!g_app.m_hToolbar) {
        ShowLastError(g_app.m_hMainWindow, "Tool bar window creation failed");
        return 0;
    }
    g_app.m_pStatusBar = new (std::nothrow) CStatusBar(g_app.m_hMainWindow);
    if (g_app.m_pStatusBar && !g_app.m_pStatusBar->m_pPanes) {
        delete g_app.m_pStatusBar;
        g_app.m_pStatusBar = nullptr;
    }

    CLIENTCREATESTRUCT client;
    client.hWindowMenu = GetSubMenu(GetMenu(g_app.m_hMainWindow), 2);
    client.idFirstChild = IDW_FIRST_MDI_CHILD;
    g_app.m_hMDIClient = CreateWindowExA(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                         g_app.m_hMainWindow, nullptr, instance, &client);
    if (!g_app.m_hMDIClient) {
        ShowLastError(g_app.m_hMainWindow, "MDI Client window creation failed");
        return 0;
    }
    // The children are all present now: the main window lays them out as on any resize,
    // without the round trip to the display that resizing the window itself would cost.
    RECT c;
    GetClientRect(g_app.m_hMainWindow, &c);
    WPARAM type = IsZoomed(g_app.m_hMainWindow)   ? SIZE_MAXIMIZED
                  : IsIconic(g_app.m_hMainWindow) ? SIZE_MINIMIZED
                                                  : SIZE_RESTORED;
    SendMessageA(g_app.m_hMainWindow, WM_SIZE, type, MAKELPARAM(c.right, c.bottom));
    return 1;
}

int InitApplication(HINSTANCE instance, int show)
{
    g_app.m_hInstance = instance;
    RememberStartDirectory();
    CFileFontStore* store = new (std::nothrow) CFileFontStore(nullptr);
    if (store) {
        store->Prune();
        delete store;
    }

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClasses(instance))
        return 0;
    if (!CreateMainWindows(instance, show)) {
        MessageBoxA(nullptr, "Initial Windows' creation failed", nullptr, MB_OK);
        return 0;
    }
    LayoutMainWindow(g_app.m_hMainWindow);
    UpdateWindow(g_app.m_hMainWindow);
    RefreshToolbar();
    g_app.m_uFindMessage = RegisterWindowMessageA(FINDMSGSTRINGA);
    PrepareFindRecords(g_app.m_hMainWindow);
    g_app.m_hAccelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return 1;
}

int PreTranslateAppMessage(MSG* message)
{
    if (message->message == WM_KEYDOWN &&
        (message->wParam == VK_CAPITAL || message->wParam == VK_NUMLOCK))
        UpdateLockIndicators();
    HWND dialogs[] = {g_app.m_hFindDialog, g_app.m_hReplaceDialog, g_app.m_hSortDialog};
    for (HWND dialog : dialogs) {
        if (dialog && IsDialogMessageA(dialog, message))
            return 1;
    }
    if (g_app.m_hMDIClient && TranslateMDISysAccel(g_app.m_hMDIClient, message))
        return 1;
    if (g_app.m_hAccelerators && g_app.m_hMainWindow &&
        TranslateAcceleratorA(g_app.m_hMainWindow, g_app.m_hAccelerators, message))
        return 1;
    return 0;
}

int RunMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateAppMessage(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
