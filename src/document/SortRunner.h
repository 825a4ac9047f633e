#pragma once

class CTextDocument;

// Starts a sort of the document's lines in its sort flags on a worker thread, with the
// progress dialog; the sorted text is applied when the worker has ended. 0 when it could not
// start (the user was told). The shell defines it.
int StartLineSort(CTextDocument* document);
