#pragma once
#include <string>

// The clipboard as other programs see it, for tests and the clipboard peer program.
// Each call opens and closes the clipboard, waiting a while if another process holds it.

// Puts CF_TEXT in a block of exactly these bytes: add the NUL when the block is to end
// with one. 0 on failure.
int PutClipboardBytes(const std::string& block);
// The CF_TEXT bytes up to the first NUL or the end of the block; 0 when there is no text.
int ReadClipboardBytes(std::string* text);
int EmptyTheClipboard();

// Runs clipboard_peer.exe from beside this program with a verb and a file, as another
// process; its exit code, or -1 when it could not be run or did not end in time.
int RunClipboardPeer(const char* verb, const std::string& file);
