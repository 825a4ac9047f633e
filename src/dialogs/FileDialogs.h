#pragma once
#include <windows.h>

// The Open dialog. On OK, the chosen files' full paths one after another, each
// NUL-terminated, the last followed by an empty one: a block to free with delete[]. Null
// when cancelled or out of memory (reported). A name whose path would be too long is
// reported and left out.
char* ShowOpenDialog(HWND owner);

// The Save As dialog. On OK, path holds the full path and title the name without directory.
int ShowSaveAsDialog(HWND owner, char* path, int pathSize, char* title, int titleSize);

// The extensions the editor takes for text: "cpp...", "h..." and "txt...", in any case.
// Only the first four characters of ext are looked at.
int IsTextExtension(const char* ext);
// The text after the first dot of a file name; empty without a dot.
const char* FirstDotExtension(const char* name);
// Joins the directory part of a multi-select result (its first offset characters) and one
// chosen name. 0 when the path would not fit in size bytes: it is never cut short.
int ComposeChosenPath(const char* buffer, int nameOffset, const char* name, char* path, int size);

UINT_PTR CALLBACK OpenHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK SaveHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
