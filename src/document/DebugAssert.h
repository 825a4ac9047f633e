#pragma once

// The consistency-check box of the units that report rather than stop: a warning owned by
// the main window that names the unit and the line. The shell defines it.
void DebugAssertFailed(const char* unit, int line);
