#include "support/BenchSupport.h"

#include <windows.h>

#include <stdio.h>

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
