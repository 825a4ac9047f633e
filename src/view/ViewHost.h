#pragma once
#include <windows.h>

// How a view meets the shell around it without knowing it: the view declares here what it
// asks and tells, and the shell (app/ViewHost.cpp) defines it. The view holds its document's
// shell record and its frame only to hand them back here.
class CDocFrame;
class COpenDocument;
class CTextDocument;

// The text of the document a view shows; null for a null owner.
CTextDocument* HostedText(const COpenDocument* owner);
// Where the command state shows: the main window's menu and its toolbar, each null when
// there is none.
HMENU CommandMenu(const COpenDocument* owner);
HWND CommandToolbar(const COpenDocument* owner);
// A command the view does not handle goes on to the main frame's default handling.
void PassCommandToFrame(const COpenDocument* owner, WPARAM wParam, LPARAM lParam);

// The frame window that holds the view and its scroll bars, and the part of its client area
// they share.
HWND FrameWindow(const CDocFrame* frame);
RECT ViewArea(const CDocFrame* frame);

// The caret's zero-based row and column, in the status bar's position pane.
void ShowCaretPosition(int row, int column);

// Sends a message to each open Find and Replace dialog.
void SendToFindDialogs(UINT message, WPARAM wParam, LPARAM lParam);
