#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Saves the whole test display as build/e2e-shots/NAME.png with the display's own screenshot
// tool, for a person to look at. Wine draws a window on the display only while its thread
// takes messages: wait keeps them coming (PumpUntil on the windows' own thread, WaitUntil
// with a message posted to them on another). Returns the file's path, empty when the tool
// could not run (not under Wine, say).
std::string SaveScreenshot(const std::string& name,
                           const std::function<bool(const std::function<bool()>&)>& wait);
