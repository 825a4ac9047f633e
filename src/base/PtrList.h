#pragma once

// A singly linked list of object pointers. An owning list deletes its items
// (through their virtual destructors) when it is destroyed; removing never deletes.
class CObject {
public:
    virtual ~CObject() {}
};

struct CPtrNode {
    void* item;
    CPtrNode* next;
};

class CPtrList {
public:
    explicit CPtrList(int ownsItems);
    virtual ~CPtrList();

    int AddTail(void* item);
    void* GetAt(int index) const;
    void* RemoveAt(int index);
    void* Remove(void* item);
    int GetCount() const { return m_nCount; }

    // Moves the node at index from to just before the node now at index to
    // (to = count appends); used to reorder items without reallocating.
    int MoveNode(int from, int to);
    // Inserts every node of other before the node at index before (before = count appends)
    // and leaves other empty, so that each item keeps exactly one owner.
    int Splice(CPtrList* other, int before);

    CPtrNode* m_pFirst;
    CPtrNode* m_pLast;
    int m_nCount;
    int m_bOwnsItems;

private:
    CPtrList(const CPtrList&);
    CPtrList& operator=(const CPtrList&);
    CPtrNode* Unlink(int index);
    CPtrNode* NodeBefore(int index) const;
};
