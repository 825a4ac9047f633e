// The shell's side of the document's owner seam (document/DocumentOwner.h).
#include "document/DocumentOwner.h"

#include <stdio.h>
#include <string.h>

#include "app/FileFontStore.h"
#include "app/OpenDocument.h"
#include "base/ErrorBox.h"
#include "dialogs/FileDialogs.h"
#include "view/EditDisplay.h"

namespace {

struct CChangeNotice {
    DocumentChange change;
    int index;
    int count;
};

int TellView(CEditDisplay* view, void* user)
{
    const CChangeNotice* n = static_cast<const CChangeNotice*>(user);
    switch (n->change) {
    case DOC_BUFFER_MOVED: return view->OnBufferMoved();
    case DOC_TEXT_INSERTED: return view->OnTextInserted(n->index, n->count);
    case DOC_TEXT_REMOVING: return view->OnTextRemoving(n->index, n->count);
    case DOC_TEXT_REMOVED: return view->OnTextRemoved(n->index, n->count);
    case DOC_UNDO_STARTING: return view->OnUndoStarting();
    case DOC_FONT_CHANGED: return view->OnFontChanged();
    case DOC_TEXT_REPLACED: return view->OnTextReplaced(n->index, n->count);
    }
    return 1;
}

// The store knows a file by the first 260 bytes of its path; an empty path has no record.
int StartFontRecord(CFontRecord* record, const char* path)
{
    memset(record, 0, sizeof(*record));
    record->m_dwSize = FONT_RECORD_SIZE;
    memcpy(record->m_szPath, path, strnlen(path, FONT_STORE_PATH_SIZE));
    return record->m_szPath[0] != 0;
}

} // namespace

void TellViews(COpenDocument* owner, DocumentChange change, int index, int count)
{
    if (!owner)
        return;
    CChangeNotice notice = {change, index, count};
    owner->ForEachView(TellView, &notice);
}

HWND OwnerWindow(const COpenDocument* owner)
{
    return owner ? owner->GetMainWindow() : nullptr;
}

void RetitleFrames(COpenDocument* owner)
{
    if (owner)
        owner->Retitle();
}

int LookupPathFont(COpenDocument* owner, const char* path, LOGFONTA* font, COLORREF* colour)
{
    CFontRecord record;
    if (!StartFontRecord(&record, path))
        return 0;
    CFileFontStore store(OwnerWindow(owner));
    if (!store.Lookup(&record))
        return 0;
    *font = record.m_lf;
    *colour = record.m_crColour;
    return 1;
}

void StorePathFont(COpenDocument* owner, const char* path, const LOGFONTA* font,
                   COLORREF colour)
{
    CFontRecord record;
    if (!StartFontRecord(&record, path))
        return;
    record.m_crColour = colour;
    record.m_lf = *font;
    HWND window = OwnerWindow(owner);
    CFileFontStore store(window);
    // A store that could not be opened was told of when it was opened.
    if (store.IsOpen() && !store.Store(&record)) {
        char more[FONT_STORE_PATH_SIZE + 64];
        snprintf(more, sizeof(more), "The font of \"%s\" could not be remembered.", path);
        ShowLastError(window, "Failure occurred when writing to a file", GetLastError(), more);
    }
}

int AskSaveAsPath(COpenDocument* owner, char* path, int pathSize, char* title, int titleSize)
{
    return ShowSaveAsDialog(OwnerWindow(owner), path, pathSize, title, titleSize);
}
