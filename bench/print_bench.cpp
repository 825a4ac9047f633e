// Paginating a 20 MB document for the default printer, wrapped and tiled.
#include <windows.h>
#include <winspool.h>

#include <stdio.h>

#include <string>

#include "document/TextDocument.h"
#include "printing/PageInfo.h"
#include "printing/PrinterContext.h"
#include "view/FontInfo.h"

static HDC DefaultPrinterContext()
{
    char name[256] = "";
    DWORD size = sizeof(name);
    return GetDefaultPrinterA(name, &size) ? CreatePrinterContext(name) : nullptr;
}

int main()
{
    HDC dc = DefaultPrinterContext();
    if (!dc) {
        printf("print_bench: no default printer (the printing tests register one)\n");
        return 1;
    }
    CTextDocument doc(nullptr, nullptr, nullptr);
    // Lines of 20 to 300 characters, some far wider than a page.
    std::string text;
    const std::string words = "the quick brown fox jumps over the lazy dog ";
    for (int line = 0; text.size() < 20u * 1024 * 1024; line++) {
        int length = 20 + (line * 37) % 280;
        for (int i = 0; i < length; i++)
            text += words[(line + i) % words.size()];
        text += '\r';
    }
    doc.InsertText(text.data(), static_cast<int>(text.size()), 0);
    CFontInfo font(&doc);
    font.MakePrinterFont(doc.GetFontInfo(), dc);
    for (int wrapped = 1; wrapped >= 0; wrapped--) {
        CPageInfo pages(nullptr);
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        int done = wrapped ? WrappedLayout(dc, &doc, &font, &pages)
                           : TiledLayout(dc, &doc, &font, &pages);
        QueryPerformanceCounter(&end);
        printf("%s layout of %.1f MB: %d pages in %.3f s%s\n", wrapped ? "wrapped" : "tiled",
               text.size() / 1048576.0, pages.GetPageCount(),
               double(end.QuadPart - start.QuadPart) / frequency.QuadPart, done ? "" : " (failed)");
    }
    DeleteDC(dc);
    return 0;
}
