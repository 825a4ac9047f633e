#pragma once

// What a conversion of file text carries from one piece of the text to the next.
struct LineEndState {
    char previous;  // the last byte converted (0 before the first)
    int breaks;     // line breaks written so far
    int nul;        // 1 once a NUL byte was seen
};

// File text to document text, a piece at a time: CR LF, a lone CR and a lone LF each become
// one CR. Converts count bytes from in to out, which holds count bytes and does not overlap
// in, and returns the converted count. Bytes of out past that count may be overwritten.
int ConvertLineEnds(const char* in, int count, char* out, LineEndState* state);

// Document text to file text: each CR becomes CR LF. Converts count bytes from in to out,
// which holds the converted count (count plus the number of CRs) and does not overlap in;
// returns that count.
int ExpandLineEnds(const char* in, int count, char* out);
