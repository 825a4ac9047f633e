#include "document/SavedString.h"

#include <string.h>

#include <new>

char* CopyBytes(const char* bytes, int count)
{
    if (count < 0)
        return nullptr;
    char* copy = new (std::nothrow) char[static_cast<unsigned int>(count) + 1];
    if (!copy)
        return nullptr;
    if (count > 0)
        memcpy(copy, bytes, count);
    copy[count] = 0;
    return copy;
}

CSavedString::CSavedString() : m_pText(nullptr)
{
}

CSavedString::~CSavedString()
{
    delete[] m_pText;
}

int CSavedString::Set(const char* bytes, int count)
{
    delete[] m_pText;
    m_pText = CopyBytes(bytes, count);
    return m_pText != nullptr;
}
