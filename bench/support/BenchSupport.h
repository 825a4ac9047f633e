#pragma once

#include <string>

// A steady clock in seconds, for timing one step of a benchmark.
double Seconds();

// About bytes bytes of numbered lines of ordinary prose with a tab, each ended by lineEnd.
std::string SampleText(unsigned int bytes, const char* lineEnd);
