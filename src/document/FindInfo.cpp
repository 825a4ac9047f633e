#include "document/FindInfo.h"

CFindInfo::CFindInfo(CEditDisplay* view) : m_pView(view), m_bFindDirty(1), m_bReplaceDirty(1)
{
}

CFindInfo::~CFindInfo()
{
}

void CFindInfo::MarkDirty()
{
    m_bFindDirty = 1;
    m_bReplaceDirty = 1;
}
