#pragma once
#include <windows.h>

#include <functional>

// Tests wait on the state they need, never on a fixed time: the machine may be loaded. The
// limit is generous; reaching it means the state never came.
const DWORD WAIT_LIMIT_MS = 30000;

// Runs the editor's message loop (as PumpMessages does) until condition holds. False when
// the limit passed first.
bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs = WAIT_LIMIT_MS);
// Polls condition without touching this thread's messages, for a thread that is not the
// windows' own (a dialog watcher's handler). False when the limit passed first.
bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs = WAIT_LIMIT_MS);
// Waits until window is destroyed, as a dialog is once its modal loop has ended.
bool WaitUntilClosed(HWND window, DWORD limitMs = WAIT_LIMIT_MS);
// Waits until the thread of window takes its messages again: the handler it was in (a hook
// that showed a box, say) has returned. False when the limit passed first or window is gone.
bool WaitUntilIdle(HWND window, DWORD limitMs = WAIT_LIMIT_MS);
