#pragma once
#include <windows.h>

// A device context of the named printer in its default settings, in the mapping the page
// layout measures in (MM_LOENGLISH); null when the printer cannot be had.
HDC CreatePrinterContext(const char* name);
