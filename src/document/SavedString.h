#pragma once

#include "base/PtrList.h"

// A NUL-terminated copy of count bytes in a block of its own, or null when memory is short.
char* CopyBytes(const char* bytes, int count);

// One owned copy of a byte range: a spelling that a replace all took away.
class CSavedString : public CObject {
public:
    CSavedString();
    virtual ~CSavedString();

    // Frees the previous copy and keeps a copy of count bytes; 0 when memory is short.
    int Set(const char* bytes, int count);
    const char* GetText() const { return m_pText; }

    char* m_pText;

private:
    CSavedString(const CSavedString&);
    CSavedString& operator=(const CSavedString&);
};
