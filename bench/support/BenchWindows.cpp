#include "support/BenchWindows.h"

#include <windows.h>

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/MainFrame.h"
#include "app/OpenDocument.h"
#include "app/Startup.h"
#include "document/TextDocument.h"
#include "resources/resource.h"

int StartEditor(const char* folderName)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string folder = std::string(temp) + folderName;
    CreateDirectoryA(folder.c_str(), nullptr);
    SetCurrentDirectoryA(folder.c_str());
    if (!InitApplication(GetModuleHandleA(nullptr), SW_SHOWMAXIMIZED))
        return 0;
    Pump();
    return 1;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

CEditDisplay* NewDocument(const std::string& text)
{
    SendMessageA(g_app.m_hMainWindow, WM_COMMAND, ID_FILE_NEW, 0);
    Pump();
    CMainFrame* main = GetMainFrame(g_app.m_hMainWindow);
    COpenDocument* owner = static_cast<COpenDocument*>(
        main->m_pDocuments->GetAt(main->m_pDocuments->GetCount() - 1));
    CDocFrame* frame = static_cast<CDocFrame*>(owner->m_pFrames->GetAt(0));
    SendMessageA(g_app.m_hMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame->m_hWnd), 0);
    owner->GetTextDocument()->InsertText(text.data(), static_cast<int>(text.size()), 0);
    Pump();
    return frame->m_pView;
}
