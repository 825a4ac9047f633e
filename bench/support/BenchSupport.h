#pragma once

#include <string>

// A steady clock in seconds, for timing one step of a benchmark.
double Seconds();

// About bytes bytes of numbered lines of ordinary prose with a tab, each ended by lineEnd.
std::string SampleText(unsigned int bytes, const char* lineEnd);

// Shuffled lines as a user sorts them: words of both cases, some indented, some with a
// number key, each line but the last ended by CR.
std::string SortableLines(int lines);

// A folder of the given name under the temporary directory, made if need be, that is also
// the start-up folder of the run (where its font store goes); answers its path.
std::string BenchFolder(const char* name);
