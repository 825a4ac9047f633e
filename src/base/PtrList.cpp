#include "base/PtrList.h"

#include <new>

CPtrList::CPtrList(int ownsItems)
    : m_pFirst(nullptr), m_pLast(nullptr), m_nCount(0), m_bOwnsItems(ownsItems)
{
}

CPtrList::~CPtrList()
{
    CPtrNode* node = m_pFirst;
    while (node) {
        CPtrNode* next = node->next;
        if (m_bOwnsItems)
            delete static_cast<CObject*>(node->item);
        delete node;
        node = next;
    }
}

int CPtrList::AddTail(void* item)
{
    CPtrNode* node = new (std::nothrow) CPtrNode;
    if (!node)
        return 0;
    node->item = item;
    node->next = nullptr;
    if (m_pLast)
        m_pLast->next = node;
    else
        m_pFirst = node;
    m_pLast = node;
    m_nCount++;
    return 1;
}

void* CPtrList::GetAt(int index) const
{
    if (index < 0)
        return nullptr;
    CPtrNode* node = m_pFirst;
    while (node && index-- > 0)
        node = node->next;
    return node ? node->item : nullptr;
}

CPtrNode* CPtrList::Unlink(int index)
{
    if (index < 0 || index >= m_nCount)
        return nullptr;
    CPtrNode* prev = NodeBefore(index);
    CPtrNode* node = prev ? prev->next : m_pFirst;
    if (prev)
        prev->next = node->next;
    else
        m_pFirst = node->next;
    if (m_pLast == node)
        m_pLast = prev;
    node->next = nullptr;
    m_nCount--;
    return node;
}

void* CPtrList::RemoveAt(int index)
{
    CPtrNode* node = Unlink(index);
    if (!node)
        return nullptr;
    void* item = node->item;
    delete node;
    return item;
}

void* CPtrList::Remove(void* item)
{
    int index = 0;
    for (CPtrNode* node = m_pFirst; node; node = node->next, index++) {
        if (node->item == item)
            return RemoveAt(index);
    }
    return nullptr;
}

CPtrNode* CPtrList::NodeBefore(int index) const
{
    CPtrNode* prev = nullptr;
    CPtrNode* node = m_pFirst;
    for (int i = 0; i < index; i++) {
        prev = node;
        node = node->next;
    }
    return prev;
}

int CPtrList::MoveNode(int from, int to)
{
    if (from < 0 || from >= m_nCount || to < 0 || to > m_nCount)
        return 0;
    if (to == from || to == from + 1)
        return 1;
    CPtrNode* node = Unlink(from);
    if (to > from)
        to--;
    CPtrNode* prev = NodeBefore(to);
    node->next = prev ? prev->next : m_pFirst;
    if (prev)
        prev->next = node;
    else
        m_pFirst = node;
    if (!node->next)
        m_pLast = node;
    m_nCount++;
    return 1;
}

int CPtrList::Splice(CPtrList* other, int before)
{
    if (!other || other == this || before < 0 || before > m_nCount)
        return 0;
    if (!other->m_pFirst)
        return 1;
    CPtrNode* prev = NodeBefore(before);
    other->m_pLast->next = prev ? prev->next : m_pFirst;
    if (prev)
        prev->next = other->m_pFirst;
    else
        m_pFirst = other->m_pFirst;
    if (!other->m_pLast->next)
        m_pLast = other->m_pLast;
    m_nCount += other->m_nCount;
    other->m_pFirst = other->m_pLast = nullptr;
    other->m_nCount = 0;
    return 1;
}
