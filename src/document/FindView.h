#pragma once

class CEditDisplay;
class CTextDocument;

// What the search asks of the view it serves. The view defines these.
CTextDocument* FindViewDocument(CEditDisplay* view);
int FindViewCaret(CEditDisplay* view);
void FindViewClearSelection(CEditDisplay* view);
// Selects [start, end) with the caret at end, shown although a dialog has the focus.
void FindViewSelect(CEditDisplay* view, int start, int end);
// The caret at index after a replacement, the picture repainted.
void FindViewPlaceCaret(CEditDisplay* view, int index);
