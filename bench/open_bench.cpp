// Opening and saving large files through the editor's own Open path (targets: 400 MB under
// 1 s, 20 MB under 60 ms; the peak memory of an open holds the text once; a save within
// twice one WriteFile of the same bytes). Usage: open_bench [largest size in MB].
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "app/MainFrame.h"
#include "app/OpenDocument.h"
#include "document/TextDocument.h"
#include "support/BenchSupport.h"
#include "support/BenchWindows.h"

namespace {

// About a megabyte of whole lines as people open them: 60 bytes on average with CR LF,
// printable ASCII, a tab in about one line in ten, about 1 % of the bytes above 127.
std::string SampleLines()
{
    std::mt19937 rng(4242);
    std::string block;
    while (block.size() < (1u << 20)) {
        int length = 1 + static_cast<int>(rng() % 115);
        int tab = rng() % 10 == 0 ? static_cast<int>(rng() % length) : -1;
        for (int i = 0; i < length; i++) {
            if (i == tab)
                block += '\t';
            else if (rng() % 100 == 0)
                block += static_cast<char>(128 + rng() % 128);
            else
                block += static_cast<char>(32 + rng() % 95);
        }
        block += "\r\n";
    }
    return block;
}

// The file of at least megabytes MB, made of whole sample blocks.
bool MakeFile(const std::string& path, unsigned int megabytes, const std::string& block)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    for (unsigned long long size = 0; ok && size < (megabytes << 20); size += block.size()) {
        DWORD written = 0;
        ok = WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
             written == block.size();
    }
    CloseHandle(file);
    return ok;
}

// The page-file usage in MB, and its peak. Wine answers the current usage as the peak too,
// so a sampler keeps the highest usage seen while an open runs.
double Memory(double* peak)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    *peak = counters.PeakPagefileUsage / 1048576.0;
    return counters.PagefileUsage / 1048576.0;
}

class PeakSampler {
public:
    PeakSampler() : m_stop(false), m_peak(0), m_thread([this] { Run(); }) {}
    // The highest usage seen, or the system's own peak when that is higher.
    double Stop()
    {
        m_stop = true;
        m_thread.join();
        double peak;
        Memory(&peak);
        return std::max(peak, m_peak);
    }

private:
    void Run()
    {
        while (!m_stop) {
            double peak;
            m_peak = std::max(m_peak, Memory(&peak));
            Sleep(1);
        }
    }
    volatile bool m_stop;
    double m_peak;
    std::thread m_thread;
};

// One open from the file name handed to the Open path until the window is shown, painted
// and the queue is idle. With rise, a sampler runs along (and costs time): rise gets the peak
// page-file usage during the open less the usage before. The document stays open.
double OpenOnce(const std::string& path, double* rise, COpenDocument** opened)
{
    double peak;
    double before = Memory(&peak);
    PeakSampler* sampler = rise ? new PeakSampler : nullptr;
    double start = Seconds();
    *opened = GetMainFrame(g_app.m_hMainWindow)->OpenPath(g_app.m_hMainWindow, path.c_str());
    Pump();
    double seconds = Seconds() - start;
    if (sampler) {
        *rise = sampler->Stop() - before;
        delete sampler;
    }
    return seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MedianOf(int runs, const std::function<double()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; i++)
        times.push_back(run());
    return Median(times);
}

// Opens the file once to measure the memory, then runs times to time it, closing it after
// each; the median time.
bool TimeOpen(const std::string& path, unsigned int megabytes, int runs, double* rise)
{
    std::vector<double> times;
    int lines = 0;
    double fileBytes = 0;
    for (int run = 0; run <= runs; run++) {
        COpenDocument* document = nullptr;
        double seconds = OpenOnce(path, run ? nullptr : rise, &document);
        if (!document) {
            printf("open of %u MB failed\n", megabytes);
            return false;
        }
        if (run)
            times.push_back(seconds);
        lines = document->GetTextDocument()->GetLineCount();
        fileBytes = document->GetTextDocument()->GetTextLength() + lines - 1.0;
        GetMainFrame(g_app.m_hMainWindow)->CloseAll();
        Pump();
    }
    printf("open %4u MB (%.1f MB, %d lines): median %7.3f s, best %7.3f s of %d; peak "
           "memory rise %.0f MB (%.2f x the file)\n",
           megabytes, fileBytes / 1048576.0, lines, Median(times),
           *std::min_element(times.begin(), times.end()), runs, *rise,
           *rise / (fileBytes / 1048576.0));
    fflush(stdout);
    return true;
}

// The save of the open file against one WriteFile of the same bytes to a new file beside it.
void TimeSave(const std::string& folder, const std::string& path)
{
    COpenDocument* document = GetMainFrame(g_app.m_hMainWindow)->OpenPath(g_app.m_hMainWindow,
                                                                         path.c_str());
    Pump();
    if (!document) {
        printf("save: the file did not open\n");
        return;
    }
    CTextDocument* text = document->GetTextDocument();
    double save = MedianOf(3, [text] {
        double start = Seconds();
        if (!text->SaveDocument(1))
            printf("save failed\n");
        return Seconds() - start;
    });
    GetMainFrame(g_app.m_hMainWindow)->CloseAll();
    Pump();

    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD size = GetFileSize(file, nullptr), read = 0;
    char* bytes = static_cast<char*>(malloc(size));
    if (!bytes || !ReadFile(file, bytes, size, &read, nullptr) || read != size) {
        printf("save: could not read the file back\n");
        CloseHandle(file);
        free(bytes);
        return;
    }
    CloseHandle(file);
    std::string other = folder + "\\plain-write.txt";
    double plain = MedianOf(3, [&] {
        double start = Seconds();
        HANDLE out = CreateFileA(other.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(out, bytes, size, &written, nullptr);
        CloseHandle(out);
        double seconds = Seconds() - start;
        DeleteFileA(other.c_str());
        return seconds;
    });
    free(bytes);
    printf("save %.0f MB: median %.3f s; one WriteFile of the same bytes to a new file: median "
           "%.3f s; ratio %.2f (target <= 2)\n",
           size / 1048576.0, save, plain, save / plain);
}

} // namespace

int main(int argc, char** argv)
{
    unsigned int largest = argc > 1 ? static_cast<unsigned int>(atoi(argv[1])) : 400;
    if (!StartEditor("zendle-open-bench"))
        return 1;
    std::string folder = g_app.m_szStartDirectory;
    std::string path = folder + "\\sample.txt";
    const std::string block = SampleLines();
    printf("open: %d-bit build, from the path handed to Open to the shown, painted, idle window\n",
           static_cast<int>(sizeof(void*) * 8));

    const unsigned int sizes[] = {1, 20, 100, 400};
    double rise = 0;
    for (unsigned int megabytes : sizes) {
        if (megabytes > largest)
            break;
        if (!MakeFile(path, megabytes, block)) {
            printf("could not write the %u MB file\n", megabytes);
            return 1;
        }
        int runs = megabytes <= 20 ? 7 : megabytes <= 100 ? 5 : 3;
        if (!TimeOpen(path, megabytes, runs, &rise))
            return 1;
    }
    TimeSave(folder, path);

    DeleteFileA(path.c_str());
    DestroyWindow(g_app.m_hMainWindow);
    Pump();
    DeleteFileA((folder + "\\ZendleEditorFileFont.fff").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
