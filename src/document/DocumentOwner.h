#pragma once
#include <windows.h>

// How a document meets the shell object that owns it without knowing it: the document
// declares here what it tells and asks, and the shell (COpenDocument's side) defines it.
// The document never holds its views; it names a change and its owner tells every view.
// Every function takes a null owner (a document made alone, as the tests do).
class COpenDocument;

enum DocumentChange {
    DOC_BUFFER_MOVED,  // the text block moved: pointers into it are stale
    DOC_TEXT_INSERTED, // index, count: the bytes now there
    DOC_TEXT_REMOVING, // index, count: the bytes about to go
    DOC_TEXT_REMOVED,  // index, count: the bytes that went
    DOC_UNDO_STARTING, // an undo or redo step is about to change the text
    DOC_FONT_CHANGED,  // the font or the text colour changed
    // many ranges replaced in one pass: index is where the caret of the view that made the
    // edit ends, count the shortest length the text had in between
    DOC_TEXT_REPLACED
};

void TellViews(COpenDocument* owner, DocumentChange change, int index, int count);
// The window that owns the document's message boxes: the main window, or null.
HWND OwnerWindow(const COpenDocument* owner);
// The frames' captions follow the document's title after a Save As.
void RetitleFrames(COpenDocument* owner);
// The font remembered with a file's path: 1 with font and colour filled, 0 for none.
int LookupPathFont(COpenDocument* owner, const char* path, LOGFONTA* font, COLORREF* colour);
void StorePathFont(COpenDocument* owner, const char* path, const LOGFONTA* font,
                   COLORREF colour);
// The Save As dialog. On OK, path holds the full path and title the name without directory.
int AskSaveAsPath(COpenDocument* owner, char* path, int pathSize, char* title, int titleSize);
