#include "app/MainFrame.h"

#include <new>

#include "app/AppState.h"
#include "app/BitmapCommand.h"
#include "app/DocFrame.h"
#include "app/FindCommands.h"
#include "base/ErrorBox.h"
#include "app/OpenDocument.h"
#include "app/StatusBar.h"
#include "dialogs/AboutBox.h"
#include "dialogs/WindowListDialog.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "view/EditDisplay.h"

static const char FRAME_PROPERTY_NAME[] = "tmpltProp";

CMainFrame::CMainFrame() : m_pDocuments(new (std::nothrow) CPtrList(1))
{
}

CMainFrame::~CMainFrame()
{
    delete m_pDocuments;
}

CMainFrame* GetMainFrame(HWND window)
{
    return static_cast<CMainFrame*>(GetPropA(window, FRAME_PROPERTY_NAME));
}

// The listener calls are newer than the system level this editor is built for: found at
// run time, and where they are missing the Paste button follows only the editor's own moves.
static void ClipboardListening(HWND window, int listen)
{
    typedef BOOL(WINAPI * Listener)(HWND);
    FARPROC found = GetProcAddress(GetModuleHandleA("user32.dll"), listen
                                       ? "AddClipboardFormatListener"
                                       : "RemoveClipboardFormatListener");
    Listener call = reinterpret_cast<Listener>(reinterpret_cast<void*>(found));
    if (call)
        call(window);
}

int OnMainCreate(HWND window)
{
    CMainFrame* frame = new (std::nothrow) CMainFrame;
    if (!frame || !frame->m_pDocuments) {
        delete frame;
        return 0;
    }
    SetPropA(window, FRAME_PROPERTY_NAME, frame);
    ClipboardListening(window, 1);
    return 1;
}

HWND GetActiveFrame(int* maximised)
{
    BOOL zoomed = FALSE;
    HWND client = g_app.m_hMDIClient;
    HWND active = client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0,
                                                               reinterpret_cast<LPARAM>(&zoomed)))
                         : nullptr;
    if (maximised)
        *maximised = active && zoomed;
    return active;
}

void CMainFrame::OnDestroy(HWND window)
{
    ClipboardListening(window, 0);
    RemovePropA(window, FRAME_PROPERTY_NAME);
    delete this;
    // The toolbar made the normal list for TB_LOADIMAGES and destroys it itself; the hot
    // and disabled copies are ours.
    for (int i = 1; i < 3; i++) {
        if (g_app.m_hToolbarImages[i])
            ImageList_Destroy(g_app.m_hToolbarImages[i]);
    }
    g_app.m_hToolbarImages[0] = g_app.m_hToolbarImages[1] = g_app.m_hToolbarImages[2] = nullptr;
    if (g_app.m_hFindDialog)
        DestroyWindow(g_app.m_hFindDialog);
    if (g_app.m_hReplaceDialog)
        DestroyWindow(g_app.m_hReplaceDialog);
    g_app.m_hFindDialog = g_app.m_hReplaceDialog = nullptr;
    FreeFindRecords();
    delete g_app.m_pStatusBar;
    g_app.m_pStatusBar = nullptr;
    g_app.m_bEditorPanesShown = 0;
    PostQuitMessage(0);
}

void CMainFrame::OnClose(HWND window)
{
    if (CloseAll())
        DestroyWindow(window);
}

// The session ends only when every document may go: the same questions as closing the
// main window, but the documents stay open until the session really ends.
BOOL CMainFrame::OnQueryEndSession()
{
    for (CPtrNode* node = m_pDocuments->m_pFirst; node; node = node->next) {
        if (static_cast<COpenDocument*>(node->item)->IsBusy())
            return FALSE;
    }
    for (CPtrNode* node = m_pDocuments->m_pFirst; node; node = node->next) {
        if (!static_cast<COpenDocument*>(node->item)->GetTextDocument()->QueryClose())
            return FALSE;
    }
    return TRUE;
}

// Every question was answered at WM_QUERYENDSESSION; when another program refused the
// session end the editor goes on as it was.
void CMainFrame::OnEndSession(HWND window, BOOL ending)
{
    if (ending)
        DestroyWindow(window);
}

int CMainFrame::CloseAll()
{
    int count = m_pDocuments->GetCount();
    int closed = 1;
    for (int i = 0; i < count && closed; i++) {
        COpenDocument* document = static_cast<COpenDocument*>(m_pDocuments->GetAt(0));
        closed = document->Close();
        if (closed)
            m_pDocuments->RemoveAt(0);
    }
    if (m_pDocuments->GetCount() == 0)
        ShowEditorPanes(0);
    return closed;
}

COpenDocument* CMainFrame::AddDocument(HANDLE file, const char* path)
{
    COpenDocument* document =
        new (std::nothrow) COpenDocument(g_app.m_hMainWindow, g_app.m_hMDIClient);
    if (!document) {
        ShowLastError(g_app.m_hMainWindow, file ? "Open document procedure failed"
                                                : "Document creation failed");
        if (file)
            CloseHandle(file);
        return nullptr;
    }
    if (!document->Create(file, path)) {
        delete document;
        return nullptr;
    }
    // A document missing from the list would escape the close questions at exit.
    if (!m_pDocuments->AddTail(document)) {
        delete document;
        ShowLastError(g_app.m_hMainWindow, "Document creation failed", ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return document;
}

void CMainFrame::OnDocumentGone(COpenDocument* document)
{
    m_pDocuments->Remove(document);
    if (m_pDocuments->GetCount() == 0)
        ShowEditorPanes(0);
}

static const int MORE_WINDOWS_ENTRY = 9;

static int CountFrames()
{
    int count = 0;
    for (HWND child = GetWindow(g_app.m_hMDIClient, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        count += GetWindow(child, GW_OWNER) == nullptr;
    return count;
}

// The window list's ids start at 100000, past what DefFrameProcA reads from a command's
// low word, so a chosen entry is activated here. An accelerator's command (high word 1)
// names no frame.
static int ActivateListedFrame(HWND window, WPARAM id)
{
    if (id < static_cast<WPARAM>(IDW_FIRST_MDI_CHILD))
        return 0;
    // Past nine windows the tenth entry is "More Windows...", which shares the tenth
    // window's id: it offers every window instead.
    if (id == static_cast<WPARAM>(IDW_FIRST_MDI_CHILD + MORE_WINDOWS_ENTRY) &&
        CountFrames() > MORE_WINDOWS_ENTRY) {
        HWND chosen = ChooseDocumentWindow(window, g_app.m_hMDIClient);
        if (chosen)
            SendMessageA(g_app.m_hMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(chosen), 0);
        return 1;
    }
    for (HWND child = GetWindow(g_app.m_hMDIClient, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (static_cast<WPARAM>(GetWindowLongPtrA(child, GWLP_ID)) == id) {
            SendMessageA(g_app.m_hMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
            return 1;
        }
    }
    return 0;
}

void CMainFrame::OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    HWND active = GetActiveFrame(nullptr);
    if (ActivateListedFrame(window, wParam)) {
        DefFrameProcA(window, g_app.m_hMDIClient, WM_COMMAND, wParam, lParam);
        return;
    }
    switch (id) {
    case ID_FILE_OPEN:
        OnOpen(window);
        break;
    case ID_FILE_NEW:
        ShowEditorPanes(1);
        if (!AddDocument(nullptr, nullptr) && m_pDocuments->GetCount() == 0)
            ShowEditorPanes(0);
        break;
    case ID_WINDOW_CLOSE:
        if (active)
            SendMessageA(active, WM_CLOSE, 0, 0);
        break;
    case ID_WINDOW_CLOSEALL:
        CloseAll();
        break;
    case ID_WINDOW_TILEHORZ:
        SendMessageA(g_app.m_hMDIClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
        break;
    case ID_WINDOW_TILEVERT:
        SendMessageA(g_app.m_hMDIClient, WM_MDITILE, MDITILE_VERTICAL, 0);
        break;
    case ID_WINDOW_CASCADE:
        SendMessageA(g_app.m_hMDIClient, WM_MDICASCADE, 0, 0);
        break;
    case ID_WINDOW_NEXT:
        SendMessageA(g_app.m_hMDIClient, WM_MDINEXT, 0, 0);
        break;
    case ID_WINDOW_PREVIOUS:
        SendMessageA(g_app.m_hMDIClient, WM_MDINEXT, 0, 1);
        break;
    case ID_EDIT_FIND:
        OpenFindDialog(window);
        break;
    case ID_EDIT_REPLACE:
        OpenReplaceDialog(window);
        break;
    case ID_BITMAP_CONVERT:
        ConvertBitmapFile(window);
        break;
    case ID_HELP_ABOUT:
        ShowAboutBox(window);
        break;
    default:
        if (active)
            SendMessageA(active, WM_COMMAND, wParam, lParam);
        break;
    }
    // Activates a frame chosen from the window list and runs a maximised frame's system commands.
    DefFrameProcA(window, g_app.m_hMDIClient, WM_COMMAND, wParam, lParam);
}

void CMainFrame::OnFindMessage(FINDREPLACEA* record)
{
    HWND active = GetActiveFrame(nullptr);
    if (active)
        SendMessageA(active, g_app.m_uFindMessage, 0, reinterpret_cast<LPARAM>(record));
    if (record && (record->Flags & FR_DIALOGTERM)) {
        if (record->lpfnHook == g_app.m_frFind.lpfnHook)
            g_app.m_hFindDialog = nullptr;
        else
            g_app.m_hReplaceDialog = nullptr;
    }
}

CEditDisplay* GetActiveView()
{
    HWND active = GetActiveFrame(nullptr);
    CDocFrame* frame = active ? static_cast<CDocFrame*>(GetPropA(active, FRAME_PROPERTY)) : nullptr;
    return frame ? frame->m_pView : nullptr;
}

void CMainFrame::OnClipboardUpdate()
{
    if (CEditDisplay* view = GetActiveView())
        view->UpdateCommandState();
}

void RefreshToolbar()
{
    if (!g_app.m_hToolbar || GetActiveFrame(nullptr))
        return;
    static const int disabled[] = {ID_FILE_SAVE,   ID_EDIT_COPY,  ID_EDIT_CUT, ID_EDIT_PASTE,
                                   ID_EDIT_DELETE, ID_EDIT_UNDO,  ID_EDIT_REDO, ID_EDIT_FIND,
                                   ID_FILE_PRINT,  ID_FILE_PRINTPREVIEW};
    for (int id : disabled)
        SendMessageA(g_app.m_hToolbar, TB_ENABLEBUTTON, id, MAKELPARAM(FALSE, 0));
}
