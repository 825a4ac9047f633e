// The largest file of 60-byte lines that this build opens on this machine, found by halving
// the range between a size that opens and one that does not, a megabyte apart.
#include <windows.h>

#include <stdio.h>

#include <string>
#include <thread>

#include "document/TextDocument.h"
#include "support/BenchSupport.h"

namespace {

// 58 characters and CR LF; a block is a whole number of lines, about a megabyte.
const unsigned int LINE = 60;
const unsigned int BLOCK = LINE * 17476;

volatile bool g_stop;

// A refused file shows a message box; this answers it so that the search goes on.
void AnswerBoxes()
{
    while (!g_stop) {
        HWND box = FindWindowA("#32770", nullptr);
        DWORD pid = 0;
        if (box && GetWindowThreadProcessId(box, &pid) && pid == GetCurrentProcessId())
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        Sleep(20);
    }
}

// Makes the file blocks blocks long, appending or cutting whole blocks.
bool SizeFile(const std::string& path, unsigned int blocks)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    static std::string block;
    if (block.empty()) {
        for (unsigned int i = 0; block.size() < BLOCK; i++) {
            char number[16];
            snprintf(number, sizeof(number), "%08u ", i);
            std::string line = number;
            line.resize(LINE - 2, 'x');
            block += line + "\r\n";
        }
    }
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    LONGLONG have = size.QuadPart / BLOCK;
    LARGE_INTEGER at;
    at.QuadPart = have * BLOCK;
    bool ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
    for (LONGLONG b = have; ok && b < blocks; b++) {
        DWORD written = 0;
        ok = WriteFile(file, block.data(), BLOCK, &written, nullptr) && written == BLOCK;
    }
    at.QuadPart = static_cast<LONGLONG>(blocks) * BLOCK;
    ok = ok && SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

bool Opens(const std::string& path, double* seconds)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    double start = Seconds();
    CTextDocument* doc = new CTextDocument(nullptr, file, path.c_str());
    *seconds = Seconds() - start;
    bool opened = !doc->LoadRefused() && doc->GetTextLength() > 0;
    delete doc;
    return opened;
}

} // namespace

int main()
{
    std::string folder = BenchFolder("zendle-largest-bench");
    std::string path = folder + "\\large.txt";
    std::thread answerer(AnswerBoxes);

    // Opens: good blocks; does not: bad blocks. The text index stops at 2 GB anyway.
    unsigned int good = 1, bad = 0x7FFFFFFFu / BLOCK + 1;
    double seconds = 0, goodSeconds = 0;
    while (bad - good > 1) {
        unsigned int mid = good + (bad - good) / 2;
        if (!SizeFile(path, mid)) {
            printf("could not write %u blocks\n", mid);
            break;
        }
        bool opened = Opens(path, &seconds);
        printf("  %6.0f MB: %s (%.1f s)\n", mid * double(BLOCK) / 1048576, opened ? "opens" : "refused",
               seconds);
        fflush(stdout);
        if (opened) {
            good = mid;
            goodSeconds = seconds;
        } else {
            bad = mid;
        }
    }
    printf("largest file of %u-byte lines opened by this %d-bit build: %.0f MB (%u lines, %.1f s)\n",
           LINE, static_cast<int>(sizeof(void*) * 8), good * double(BLOCK) / 1048576,
           good * (BLOCK / LINE), goodSeconds);
    g_stop = true;
    answerer.join();
    DeleteFileA(path.c_str());
    DeleteFileA((folder + "\\ZendleEditorFileFont.fff").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
