#include "printing/PrinterContext.h"

#include <winspool.h>

#include <vector>

HDC CreatePrinterContext(const char* name)
{
    char* device = const_cast<char*>(name);
    HANDLE printer = nullptr;
    if (!OpenPrinterA(device, &printer, nullptr))
        return nullptr;
    LONG size = DocumentPropertiesA(nullptr, printer, device, nullptr, nullptr, 0);
    std::vector<char> mode(size > 0 ? size : 1);
    DEVMODEA* devMode = reinterpret_cast<DEVMODEA*>(mode.data());
    LONG filled = DocumentPropertiesA(nullptr, printer, device, devMode, nullptr, DM_OUT_BUFFER);
    ClosePrinter(printer);
    HDC dc = size > 0 && filled >= 0 ? CreateDCA(nullptr, name, nullptr, devMode) : nullptr;
    if (dc)
        SetMapMode(dc, MM_LOENGLISH);
    return dc;
}
