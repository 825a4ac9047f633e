// Load and save of a 20 MB text file through a document (targets: under 1 s each).
#include <windows.h>

#include <stdio.h>

#include <string>

#include "app/FileFontStore.h"
#include "document/TextDocument.h"
#include "support/BenchSupport.h"

int main()
{
    // The font store of the runs goes to the bench folder, not the working directory.
    std::string folder = BenchFolder("zendle-file-bench");
    std::string path = folder + "\\large.txt";
    std::string store = folder + "\\ZendleEditorFileFont.fff";

    std::string bytes = SampleText(20u << 20, "\r\n");
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(out);

    double bestLoad = 1e9, bestSave = 1e9;
    int lines = 0;
    for (int run = 0; run < 3; run++) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        double start = Seconds();
        CTextDocument* doc = new CTextDocument(nullptr, file, path.c_str());
        double loaded = Seconds();
        int saved = doc->SaveDocument(1);
        double done = Seconds();
        lines = doc->GetLineCount();
        delete doc;
        if (!saved) {
            printf("save failed\n");
            return 1;
        }
        if (loaded - start < bestLoad)
            bestLoad = loaded - start;
        if (done - loaded < bestSave)
            bestSave = done - loaded;
    }
    printf("document file, %.1f MB, %d lines, best of 3\n", bytes.size() / 1048576.0, lines);
    printf("  load: %.0f ms (target < 1000)\n", bestLoad * 1000);
    printf("  save: %.0f ms (target < 1000)\n", bestSave * 1000);

    DeleteFileA(path.c_str());
    DeleteFileA(store.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
