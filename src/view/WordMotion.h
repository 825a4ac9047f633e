#pragma once

// Word-wise caret movement over the document text (NUL guard byte before it, NUL after).
// Right: to the start of the next run that is not blank; a line break is one step.
int WordRightIndex(const char* text, int index);
// Left: to the start of the run before the index, over blanks first; a run of line
// breaks counts as one run.
int WordLeftIndex(const char* text, int index);
