#pragma once
#include <windows.h>
#include <commdlg.h>

class CFontInfo;
class CPageInfo;
class CTextDocument;

// The longest printer name the Print dialog's combo box gives.
const int PRINTER_NAME_SIZE = 129;

// A document's printing state: the Print dialog's record, the chosen printer's settings and
// context, the document font made for that printer, and the document laid out both ways.
class CPrintInfo {
public:
    explicit CPrintInfo(CTextDocument* document);
    virtual ~CPrintInfo();

    int Print();
    // Whether the device mode held is that of the printer the dialog shows.
    int HoldsShownPrinter(HWND dialog) const;
    int SelectDevice(HWND dialog);
    int OpenPrinterContext();
    int Paginate();
    void RefreshDialog(HWND dialog, int firstTime);
    int ChangeDevice(HWND dialog);
    int PrinterProperties(HWND dialog);
    void ReleaseDialogState();
    void PrintJob(CPageInfo* job);
    // The page set that the "Wrap Text" choice names.
    CPageInfo* ChosenSet(int wrapped) const { return wrapped ? m_pWrapped : m_pUnwrapped; }

    HDC m_hPrinterDC;
    DEVMODEA* m_pDevMode;
    PRINTDLGA m_pd;
    CTextDocument* m_pDocument;
    CFontInfo* m_pPrinterFont;
    CPageInfo* m_pUnwrapped;
    CPageInfo* m_pWrapped;
    // The printer's full name: the device mode keeps only its first 31 characters.
    char m_szDevice[PRINTER_NAME_SIZE];

private:
    CPrintInfo(const CPrintInfo&);
    CPrintInfo& operator=(const CPrintInfo&);
    void PrepareContext();
    void FreeDevMode(HWND dialog);
    int PrintPages(CPageInfo* job, int first, int last);
    int PrintPage(const char* page, int** advances, int* capacity);
};
