#pragma once
#include <windows.h>

#include <string>

// The tests' PostScript printer, which prints into a file. Its name is longer than the 31
// characters that a device mode keeps, as network printers' names often are.
extern const char TEST_PRINTER_NAME[];

// Registers the printer in this prefix when it is not there yet (once per prefix).
bool EnsureTestPrinter();
// The file the printer writes; a test deletes it before it prints.
std::string TestPrinterOutput();
// A context on the printer in MM_LOENGLISH, as the editor prepares its own.
HDC CreateTestPrinterDC();

// Waits for a finished print file and answers its "%%Page:" lines, -1 when none came.
int PrintedPageCount(const std::string& path, int timeoutMs);
// The text of a PostScript file as ghostscript reads it, spaces as plain blanks.
std::string PrintedText(const std::string& path);
