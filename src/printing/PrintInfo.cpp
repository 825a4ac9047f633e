#include "printing/PrintInfo.h"
#include "base/FailureSeam.h"

#include <stdlib.h>
#include <string.h>
#include <winspool.h>

#include <new>

#include "base/ErrorBox.h"
#include "document/PrintSeam.h"
#include "document/TextDocument.h"
#include "printing/PageInfo.h"
#include "resources/resource.h"
#include "view/FontInfo.h"

CPrintInfo* CreatePrintInfo(CTextDocument* document)
{
    return new (std::nothrow) CPrintInfo(document);
}

void DestroyPrintInfo(CPrintInfo* info)
{
    delete info;
}

int RunPrintCommand(CPrintInfo* info)
{
    return info ? info->Print() : 0;
}

CPrintInfo::CPrintInfo(CTextDocument* document)
    : m_hPrinterDC(nullptr), m_pDevMode(nullptr), m_pDocument(document),
      m_pPrinterFont(nullptr), m_pUnwrapped(nullptr), m_pWrapped(nullptr)
{
    m_szDevice[0] = 0;
    memset(&m_pd, 0, sizeof(m_pd));
    HWND mainWindow = document ? document->GetOwnerWindow() : nullptr;
    m_pd.lStructSize = sizeof(PRINTDLGA);
    m_pd.hwndOwner = mainWindow;
    m_pd.hInstance = mainWindow
        ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE))
        : GetModuleHandleA(nullptr);
    m_pd.Flags = PD_NOSELECTION | PD_ENABLEPRINTHOOK | PD_ENABLEPRINTTEMPLATE;
    m_pd.lpfnPrintHook = PrintHookProc;
    m_pd.lpPrintTemplateName = MAKEINTRESOURCEA(IDD_PRINT);
    m_pPrinterFont = new (std::nothrow) CFontInfo(document);
}

CPrintInfo::~CPrintInfo()
{
    if (m_hPrinterDC)
        DeleteDC(m_hPrinterDC);
    if (m_pDevMode)
        GlobalFree(m_pDevMode);
    // What PrintDlgA returned is ours to free.
    if (m_pd.hDevMode)
        GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames)
        GlobalFree(m_pd.hDevNames);
    delete m_pPrinterFont;
    delete m_pWrapped;
    delete m_pUnwrapped;
}

int CPrintInfo::Print()
{
    CPageInfo* job = new (std::nothrow) CPageInfo(this);
    if (!job) {
        ShowLastError(m_pd.hwndOwner, "CPageInfo creation failed");
        return 0;
    }
    m_pd.lCustData = reinterpret_cast<LPARAM>(job);
    int confirmed = PrintDlgA(&m_pd) ? 1 : 0;
    if (confirmed)
        PrintJob(job);
    m_pd.lCustData = 0;
    delete job;
    return confirmed;
}

void CPrintInfo::FreeDevMode(HWND dialog)
{
    if (!m_pDevMode)
        return;
    if (GlobalFree(m_pDevMode))
        ShowLastError(dialog, "GlobalFree() operation failed");
    m_pDevMode = nullptr;
}

// The printer the dialog's combo box shows, up to the 128 characters a name may have.
static void ShownPrinter(HWND dialog, char (&name)[PRINTER_NAME_SIZE])
{
    name[0] = 0;
    SendDlgItemMessageA(dialog, 1139, WM_GETTEXT, sizeof(name), reinterpret_cast<LPARAM>(name));
}

int CPrintInfo::HoldsShownPrinter(HWND dialog) const
{
    char name[PRINTER_NAME_SIZE];
    ShownPrinter(dialog, name);
    return m_pDevMode && lstrcmpA(name, m_szDevice) == 0;
}

int CPrintInfo::SelectDevice(HWND dialog)
{
    char name[PRINTER_NAME_SIZE];
    ShownPrinter(dialog, name);
    if (!name[0]) {
        ShowLastError(dialog, "Invalid device name returned");
        return 0;
    }
    HANDLE printer = nullptr;
    if (!OpenPrinterA(name, &printer, nullptr))
        return 0;
    FreeDevMode(dialog);
    LONG size = DocumentPropertiesA(dialog, printer, name, nullptr, nullptr, 0);
    m_pDevMode = size > 0 ? static_cast<DEVMODEA*>(SeamGlobalAlloc(GMEM_ZEROINIT, size)) : nullptr;
    if (!m_pDevMode) {
        ShowLastError(dialog, "DEVMODE allocation failed");
        ClosePrinter(printer);
        return 0;
    }
    LONG filled = DocumentPropertiesA(dialog, printer, name, m_pDevMode, nullptr, DM_OUT_BUFFER);
    ClosePrinter(printer);
    if (filled < 0) {
        FreeDevMode(dialog);
        return 0;
    }
    lstrcpynA(m_szDevice, name, sizeof(m_szDevice));
    return 1;
}

void CPrintInfo::PrepareContext()
{
    SelectObject(m_hPrinterDC, m_pPrinterFont->GetFont());
    SetMapMode(m_hPrinterDC, MM_LOENGLISH);
    SetBkMode(m_hPrinterDC, TRANSPARENT);
    SetTextColor(m_hPrinterDC, m_pPrinterFont->GetColour());
}

int CPrintInfo::OpenPrinterContext()
{
    if (!m_pDevMode || !m_pPrinterFont)
        return 0;
    HDC dc = CreateDCA(nullptr, m_szDevice, nullptr, m_pDevMode);
    if (!dc)
        return 0;
    if (m_hPrinterDC)
        DeleteDC(m_hPrinterDC);
    m_hPrinterDC = dc;
    PrepareContext();
    SetMapMode(dc, MM_LOENGLISH);
    // The font being replaced is selected into the new context, where it cannot be deleted.
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    m_pPrinterFont->MakePrinterFont(m_pDocument->GetFontInfo(), dc);
    return 1;
}

int CPrintInfo::Paginate()
{
    if (!m_hPrinterDC)
        return 0;
    delete m_pWrapped;
    delete m_pUnwrapped;
    m_pWrapped = new (std::nothrow) CPageInfo(this);
    m_pUnwrapped = new (std::nothrow) CPageInfo(this);
    if (!m_pWrapped || !m_pUnwrapped) {
        ShowLastError(m_pd.hwndOwner, "CPageInfo creation failed");
        return 0;
    }
    WrappedLayout(m_hPrinterDC, m_pDocument, m_pPrinterFont, m_pWrapped);
    TiledLayout(m_hPrinterDC, m_pDocument, m_pPrinterFont, m_pUnwrapped);
    return 1;
}

void CPrintInfo::RefreshDialog(HWND dialog, int firstTime)
{
    HWND wrap = GetDlgItem(dialog, 1000);
    if (!wrap || !GetDlgItem(dialog, 1152) || !GetDlgItem(dialog, 1153) ||
        !GetDlgItem(dialog, 1056))
        ShowLastError(dialog, "Invalid control handle returned");
    char format[64] = "";
    LoadStringA(m_pd.hInstance, IDS_ALL_PAGES, format, sizeof(format));
    if (firstTime) {
        EnableWindow(GetDlgItem(dialog, 1152), TRUE);
        EnableWindow(GetDlgItem(dialog, 1057), TRUE);
        EnableWindow(GetDlgItem(dialog, 1089), TRUE);
        SendMessageA(wrap, BM_SETCHECK, BST_UNCHECKED, 0);
        m_pd.nMinPage = m_pd.nFromPage = 1;
        SetDlgItemInt(dialog, 1152, 1, FALSE);
    }
    const CPageInfo* set = ChosenSet(SendMessageA(wrap, BM_GETCHECK, 0, 0) == BST_CHECKED);
    int pages = set ? set->GetPageCount() : 0;
    // The dialog numbers pages in 16 bits; "All" still prints every page.
    WORD last = static_cast<WORD>(pages < MAX_DIALOG_PAGE ? pages : MAX_DIALOG_PAGE);
    m_pd.nMaxPage = m_pd.nToPage = last;
    SetDlgItemInt(dialog, 1153, last, FALSE);
    char text[128] = "";
    DWORD_PTR arguments[1] = {static_cast<DWORD_PTR>(pages)};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, format, 0, 0,
                       text, sizeof(text), reinterpret_cast<va_list*>(arguments)))
        SetDlgItemTextA(dialog, 1056, text);
    if (firstTime)
        CheckRadioButton(dialog, 1056, 1058, 1056);
}

int CPrintInfo::ChangeDevice(HWND dialog)
{
    if (HoldsShownPrinter(dialog))
        return 1;
    if (!SelectDevice(dialog) || !OpenPrinterContext() || !Paginate())
        return 0;
    RefreshDialog(dialog, 0);
    return 1;
}

int CPrintInfo::PrinterProperties(HWND dialog)
{
    HANDLE printer = nullptr;
    if (!m_pDevMode || !OpenPrinterA(m_szDevice, &printer, nullptr) || !printer)
        return 0;
    m_pDevMode->dmFields = 0xFFFFFFFF;
    LONG result = DocumentPropertiesA(dialog, printer, m_szDevice, m_pDevMode, m_pDevMode,
                                      DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER);
    int done = 1;
    if (result < 0) {
        ShowLastError(dialog, "DocumentProperties() failed");
        done = 0;
    } else if (result == IDOK) {
        done = OpenPrinterContext() && Paginate();
        if (done)
            RefreshDialog(dialog, 0);
    }
    ClosePrinter(printer);
    return done;
}

void CPrintInfo::ReleaseDialogState()
{
    delete m_pWrapped;
    m_pWrapped = nullptr;
    delete m_pUnwrapped;
    m_pUnwrapped = nullptr;
    // Without a returned device mode the next dialog selects its printer afresh.
    if (!m_pd.hDevMode)
        FreeDevMode(nullptr);
}

int CPrintInfo::PrintPage(const char* page, int** advances, int* capacity)
{
    const int step = -abs(static_cast<int>(m_pPrinterFont->TextMetrics().tmHeight));
    const ABC* abc = m_pPrinterFont->GetABCTable();
    int row = 0;
    for (const char* s = page;; row++) {
        int n = 0;
        while (s[n] && s[n] != '\r')
            n++;
        if (n > 0) {
            if (n > *capacity) {
                int* grown = static_cast<int*>(SeamRealloc(*advances, n * (sizeof(int) + 1)));
                if (!grown)
                    return 0;
                *advances = grown;
                *capacity = n;
            }
            char* copy = reinterpret_cast<char*>(*advances + n);
            m_pPrinterFont->Advances(s, n, *advances);
            memcpy(copy, s, n);
            BlankTabs(copy, n);
            int a = abc ? abc[static_cast<unsigned char>(s[0])].abcA : 0;
            if (!ExtTextOutA(m_hPrinterDC, a < 0 ? -a : 0, row * step, 0, nullptr, copy, n,
                             *advances))
                return 0;
        }
        if (!s[n])
            return 1;
        s += n + 1;
    }
}

int CPrintInfo::PrintPages(CPageInfo* job, int first, int last)
{
    int* advances = nullptr;
    int capacity = 0;
    int done = 1;
    for (int page = first; done && page <= last; page++) {
        // A page that did not start has nothing to end.
        done = StartPage(m_hPrinterDC) > 0;
        if (done) {
            done = PrintPage(job->GetPage(page), &advances, &capacity);
            done = EndPage(m_hPrinterDC) > 0 && done;
        }
    }
    free(advances);
    return done;
}

void CPrintInfo::PrintJob(CPageInfo* job)
{
    HWND owner = m_pd.hwndOwner;
    DOCINFOA info = {sizeof(DOCINFOA), nullptr, nullptr, nullptr, 0};
    char* names = nullptr;
    int ready = m_hPrinterDC && m_pPrinterFont;
    if (m_pd.Flags & PD_PRINTTOFILE) {
        names = m_pd.hDevNames ? static_cast<char*>(GlobalLock(m_pd.hDevNames)) : nullptr;
        info.lpszOutput = names ? names + reinterpret_cast<DEVNAMES*>(names)->wOutputOffset : nullptr;
        ready = ready && names;
    } else {
        info.lpszDocName = "Test Print Job";
    }
    // The job holds the pages it was given: a range beyond them is cut to them.
    int first = 0, last = job->GetPageCount() - 1;
    if ((m_pd.Flags & 3) == PD_PAGENUMS) {
        first = m_pd.nFromPage > 1 ? m_pd.nFromPage - 1 : 0;
        if (m_pd.nToPage - 1 < last)
            last = m_pd.nToPage - 1;
    }
    if (ready && first <= last) {
        PrepareContext();
        SetAbortProc(m_hPrinterDC, PrintAbortProc);
        EnableWindow(owner, FALSE);
        if (StartDocA(m_hPrinterDC, &info) > 0) {
            if (PrintPages(job, first, last))
                EndDoc(m_hPrinterDC);
            else
                AbortDoc(m_hPrinterDC);
        }
    }
    EnableWindow(owner, TRUE);
    if (m_hPrinterDC)
        DeleteDC(m_hPrinterDC);
    m_hPrinterDC = nullptr;
    if (names)
        GlobalUnlock(m_pd.hDevNames);
}
