#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/TestFiles.h"

class CMainFrame;
class COpenDocument;
class CDocFrame;

// The editor's main window, made in this process as start-up makes it (window classes,
// toolbar, status bar, MDI client), with a registry and start-up folder of its own.
// Destroying it closes every document without asking.
class AppWindow {
public:
    // show: as the main window is shown; a hidden one paints nothing.
    explicit AppWindow(int show = SW_SHOWNORMAL);
    ~AppWindow();

    HWND Main() const;
    CMainFrame* Frame() const;
    const TempFolder& Folder() const { return m_sandbox.Folder(); }
    int Started() const { return m_started; }

    // Sends a menu command to the main window, as the menu would.
    void Command(int id);
    // The documents in opening order, and the active document frame.
    std::vector<COpenDocument*> Documents() const;
    HWND ActiveFrame() const;
    CDocFrame* FrameOf(HWND frameWindow) const;
    // The "MDI" windows in the MDI client, in z-order.
    std::vector<HWND> FrameWindows() const;

private:
    StoreSandbox m_sandbox;
    int m_started;
};

// Runs the editor's message loop filters and dispatch until no message is left. To wait
// for a message still to come (from another thread or process), use PumpUntil.
void PumpMessages();
// Presses a key on the focused window as a real press arrives: through the editor's
// message filters (the accelerator table) and dispatch, with the modifiers held. Nonzero
// when a filter took it.
int PressShortcut(UINT key, bool ctrl, bool shift = false);
std::string WindowText(HWND window);
// The text of one part of a status window, or of its simple-mode text.
std::string StatusText(HWND status, int part);
int StatusPartCount(HWND status);
