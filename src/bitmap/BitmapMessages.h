#pragma once
#include <windows.h>

// The bitmap conversion's messages to its user: a refused file (text, under the editor's
// caption, error 0) or a failed step (its caption and the system's error code, text null).
// They become warning boxes unless a test has routed them elsewhere.
typedef void (*BitmapMessageRoute)(HWND owner, const char* caption, const char* text,
                                   DWORD error);

// Sends the messages to route from now on (null: warning boxes again); returns the route
// that was set before.
BitmapMessageRoute RouteBitmapMessages(BitmapMessageRoute route);

// Tells why the file at path was refused; reason follows "because ".
void TellBitmapRefused(HWND owner, const char* path, const char* reason);
// Tells of a failed step with the calling thread's last error.
void TellBitmapFailure(HWND owner, const char* caption);
