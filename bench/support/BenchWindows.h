#pragma once

#include <string>

class CEditDisplay;

// Starts the editor's main window in this process, in a start-up folder of the given name
// under the temporary directory; 0 when it could not start.
int StartEditor(const char* folderName);
// Dispatches the messages that are waiting.
void Pump();
// A new document filled with text, shown in a maximised view with the focus.
CEditDisplay* NewDocument(const std::string& text);
