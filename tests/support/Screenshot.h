#pragma once
#include <string>

// Saves the whole test display as build/e2e-shots/NAME.png with the display's screenshot
// tool, for a person to look at, pumping this thread's messages meanwhile: Wine puts a
// window on the display only while its thread takes messages. Call it on the windows'
// thread. The file's path, or empty when the tool did not run (not under Wine, say).
std::string SaveScreenshot(const std::string& name);
