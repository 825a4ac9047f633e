#include "printing/PrinterContext.h"

#include <winspool.h>

#include <stdlib.h>

HDC CreatePrinterContext(const char* name)
{
    char* device = const_cast<char*>(name);
    HANDLE printer = nullptr;
    if (!OpenPrinterA(device, &printer, nullptr))
        return nullptr;
    LONG size = DocumentPropertiesA(nullptr, printer, device, nullptr, nullptr, 0);
    DEVMODEA* devMode = size > 0 ? static_cast<DEVMODEA*>(calloc(1, size)) : nullptr;
    LONG filled = devMode ? DocumentPropertiesA(nullptr, printer, device, devMode, nullptr,
                                                DM_OUT_BUFFER)
                          : -1;
    ClosePrinter(printer);
    HDC dc = filled >= 0 ? CreateDCA(nullptr, name, nullptr, devMode) : nullptr;
    free(devMode);
    if (dc)
        SetMapMode(dc, MM_LOENGLISH);
    return dc;
}
