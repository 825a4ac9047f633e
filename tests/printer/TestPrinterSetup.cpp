// Registers the tests' PostScript printer in this Wine prefix: the PostScript driver with the
// tests' own PPD, a port that is a file, and the printer as the default one.
// Usage: test_printer_setup <printer name> <PPD path> <output file path>
#include <windows.h>
#include <winspool.h>

#include <stdio.h>

static int Fail(const char* step)
{
    fprintf(stderr, "test_printer_setup: %s failed (error %lu)\n", step, GetLastError());
    return 1;
}

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: test_printer_setup <printer name> <PPD path> <output file>\n");
        return 2;
    }
    char* name = argv[1];
    char driver[] = "Zendle Test PostScript";
    char wineps[] = "wineps.drv";
    char raw[] = "RAW";

    // The PostScript driver reads its PPD from the driver folder of version 3 drivers.
    char folder[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder),
                                    sizeof(folder), &needed))
        return Fail("GetPrinterDriverDirectoryA");
    char ppd[MAX_PATH];
    snprintf(ppd, sizeof(ppd), "%s\\3", folder);
    CreateDirectoryA(ppd, nullptr);
    snprintf(ppd, sizeof(ppd), "%s\\3\\ZendleTest.ppd", folder);
    if (!CopyFileA(argv[2], ppd, FALSE))
        return Fail("CopyFileA");

    DRIVER_INFO_3A di = {};
    di.cVersion = 3;
    di.pName = driver;
    di.pEnvironment = nullptr;
    di.pDriverPath = wineps;
    di.pDataFile = ppd;
    di.pConfigFile = wineps;
    di.pDefaultDataType = raw;
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&di), 0))
        return Fail("AddPrinterDriverExA");

    char processor[] = "winprint";
    PRINTER_INFO_2A pi = {};
    pi.pPrinterName = name;
    pi.pPortName = argv[3];
    pi.pDriverName = driver;
    pi.pPrintProcessor = processor;
    pi.pDatatype = raw;
    pi.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
    if (!printer && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS)
        return Fail("AddPrinterA");
    if (printer)
        ClosePrinter(printer);
    if (!SetDefaultPrinterA(name))
        return Fail("SetDefaultPrinterA");
    return 0;
}
