#include "support/TestPrinter.h"

#include <winspool.h>

#include <stdio.h>


#include "printing/PrinterContext.h"
#include "support/TestFiles.h"

const char TEST_PRINTER_NAME[] = "Zendle Test PostScript Printer on a network queue";

static std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string TestPrinterOutput()
{
    return ProgramFolder() + "\\test-printer.ps";
}

static bool PrinterExists()
{
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(TEST_PRINTER_NAME), &printer, nullptr))
        return false;
    ClosePrinter(printer);
    return true;
}

bool EnsureTestPrinter()
{
    if (PrinterExists())
        return true;
    std::string ppd = "Z:" ZENDLE_TEST_PPD;
    for (char& c : ppd)
        c = c == '/' ? '\\' : c;
    std::string command = "\"" + ProgramFolder() + "\\test_printer_setup.exe\" \"" +
                          TEST_PRINTER_NAME + "\" \"" + ppd + "\" \"" + TestPrinterOutput() + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    // The first spooler call of a new prefix can take many seconds.
    WaitForSingleObject(process.hProcess, 180000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0 && PrinterExists();
}

HDC CreateTestPrinterDC()
{
    return CreatePrinterContext(TEST_PRINTER_NAME);
}

int PrintedPageCount(const std::string& path, int timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        std::string text = FileExists(path) ? ReadBytes(path) : std::string();
        // The file is complete once the trailer is written.
        if (text.find("%%EOF") != std::string::npos) {
            int pages = 0;
            for (size_t at = text.find("%%Page:"); at != std::string::npos;
                 at = text.find("%%Page:", at + 1))
                pages++;
            return pages;
        }
        Sleep(50);
    } while (GetTickCount() - start < static_cast<DWORD>(timeoutMs));
    return -1;
}

static std::string UnixPath(const std::string& dosPath)
{
    std::string path = dosPath.compare(0, 2, "Z:") == 0 ? dosPath.substr(2) : dosPath;
    for (char& c : path)
        c = c == '\\' ? '/' : c;
    return path;
}

std::string PrintedText(const std::string& path)
{
    std::string out = path + ".txt";
    DeleteFileA(out.c_str());
    // ghostscript is a program of the host; the shell renames its output once it is whole,
    // since the system cannot wait for a host program.
    std::string temp = UnixPath(out) + ".part";
    std::string command = "Z:\\bin\\sh -c \"gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite "
                          "-sOutputFile=" + temp + " " + UnixPath(path) + " && mv " + temp +
                          " " + UnixPath(out) + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return std::string();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DWORD start = GetTickCount();
    while (!FileExists(out) && GetTickCount() - start < 120000)
        Sleep(50);
    std::string text = FileExists(out) ? ReadBytes(out) : std::string();
    // txtwrite writes every blank as U+00A0.
    for (size_t at; (at = text.find("\xC2\xA0")) != std::string::npos;)
        text.replace(at, 2, " ");
    return text;
}
