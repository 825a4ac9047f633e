#include "support/BenchSupport.h"

#include <windows.h>

#include <stdio.h>

#include <random>

#include "app/AppState.h"

double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

std::string SampleText(unsigned int bytes, const char* lineEnd)
{
    std::string text;
    char line[96];
    for (int i = 0; text.size() < bytes; i++) {
        snprintf(line, sizeof(line), "%d\tThe quick brown fox jumps over the lazy dog, line %d%s",
                 i, i, lineEnd);
        text += line;
    }
    return text;
}

std::string SortableLines(int lines)
{
    std::mt19937 rng(12345);
    static const char* const words[] = {"apple", "Banana", "cherry", "Date", "elder",
                                        "fig",   "Grape",  "honey",  "kiwi", "Lemon"};
    std::string text;
    for (int i = 0; i < lines; i++) {
        if (i)
            text += '\r';
        if (rng() % 8 == 0)
            text += rng() % 2 ? "  " : "\t";
        if (rng() % 3 == 0) {
            if (rng() % 4 == 0)
                text += '-';
            text += std::to_string(rng() % 100000) + " ";
        }
        for (int w = 1 + rng() % 5; w > 0; w--) {
            text += words[rng() % 10];
            text += std::to_string(rng() % 1000);
            text += ' ';
        }
    }
    return text;
}

std::string BenchFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    lstrcpynA(g_app.m_szStartDirectory, folder.c_str(), sizeof(g_app.m_szStartDirectory));
    return folder;
}
