#include <gtest/gtest.h>

#include <string>

#include "base/PtrList.h"

namespace {

// An item that counts its own destruction, to see who deletes it.
class CCounted : public CObject {
public:
    CCounted(int id, int* deleted) : m_nId(id), m_pDeleted(deleted) {}
    virtual ~CCounted() { ++*m_pDeleted; }
    int m_nId;
    int* m_pDeleted;
};

std::string Ids(const CPtrList& list)
{
    std::string ids;
    for (CPtrNode* node = list.m_pFirst; node; node = node->next)
        ids += static_cast<char>('0' + static_cast<CCounted*>(node->item)->m_nId);
    return ids;
}

// Fills list with items numbered first .. first+n-1 and returns them.
void Fill(CPtrList& list, CCounted** items, int n, int* deleted, int first = 0)
{
    for (int i = 0; i < n; i++) {
        items[i] = new CCounted(first + i, deleted);
        ASSERT_EQ(1, list.AddTail(items[i]));
    }
}

} // namespace

TEST(PtrList, AddsAtTheTailAndIndexesFromZero)
{
    int deleted = 0;
    CPtrList list(1);
    EXPECT_EQ(nullptr, list.m_pFirst);
    EXPECT_EQ(nullptr, list.m_pLast);
    EXPECT_EQ(nullptr, list.GetAt(0));
    CCounted* items[3];
    Fill(list, items, 3, &deleted);
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ("012", Ids(list));
    EXPECT_EQ(items[2], list.GetAt(2));
    EXPECT_EQ(nullptr, list.GetAt(3));
    EXPECT_EQ(nullptr, list.GetAt(-1));
}

TEST(PtrList, RemovingKeepsTheItemAndTheTail)
{
    int deleted = 0;
    CCounted* items[4];
    {
        CPtrList list(1);
        Fill(list, items, 4, &deleted);
        EXPECT_EQ(items[3], list.RemoveAt(3));
        EXPECT_EQ(items[1], list.Remove(items[1]));
        EXPECT_EQ(nullptr, list.Remove(items[1])) << "already gone";
        EXPECT_EQ(nullptr, list.RemoveAt(2));
        EXPECT_EQ(0, deleted) << "removing never deletes";
        EXPECT_EQ("02", Ids(list));

        // The tail must follow removals, or the next AddTail would link to a freed node.
        ASSERT_EQ(1, list.AddTail(items[3]));
        EXPECT_EQ("023", Ids(list));
        EXPECT_EQ(items[0], list.RemoveAt(0));
        EXPECT_EQ(items[2], list.RemoveAt(0));
        EXPECT_EQ(items[3], list.RemoveAt(0));
        EXPECT_EQ(nullptr, list.m_pFirst);
        EXPECT_EQ(nullptr, list.m_pLast);
        EXPECT_EQ(0, list.GetCount());
        ASSERT_EQ(1, list.AddTail(items[1]));
        EXPECT_EQ("1", Ids(list));
    }
    EXPECT_EQ(1, deleted) << "the owning list deleted the one item left in it";
    for (int i : {0, 2, 3})
        delete items[i];
}

TEST(PtrList, OnlyAnOwningListDeletesItsItems)
{
    int deleted = 0;
    CCounted* items[3];
    {
        CPtrList list(0);
        Fill(list, items, 3, &deleted);
    }
    EXPECT_EQ(0, deleted);
    {
        CPtrList list(1);
        for (CCounted* item : items)
            list.AddTail(item);
    }
    EXPECT_EQ(3, deleted);
}

TEST(PtrList, MovesNodesBeforeAnIndex)
{
    int deleted = 0;
    CPtrList list(1);
    CCounted* items[4];
    Fill(list, items, 4, &deleted);
    EXPECT_EQ(1, list.MoveNode(0, 4));
    EXPECT_EQ("1230", Ids(list));
    EXPECT_EQ(items[0], list.m_pLast->item);
    EXPECT_EQ(1, list.MoveNode(3, 0));
    EXPECT_EQ("0123", Ids(list));
    EXPECT_EQ(1, list.MoveNode(1, 3));
    EXPECT_EQ("0213", Ids(list));
    EXPECT_EQ(1, list.MoveNode(3, 1));
    EXPECT_EQ("0321", Ids(list));
    EXPECT_EQ(1, list.MoveNode(2, 2));
    EXPECT_EQ(1, list.MoveNode(2, 3));
    EXPECT_EQ("0321", Ids(list)) << "moving before itself or its successor changes nothing";
    EXPECT_EQ(0, list.MoveNode(4, 0));
    EXPECT_EQ(0, list.MoveNode(0, 5));
    EXPECT_EQ(0, list.MoveNode(-1, 0));
    EXPECT_EQ(4, list.GetCount());
    EXPECT_EQ(items[1], list.m_pLast->item);
}

TEST(PtrList, SpliceMovesEveryNodeBeforeAnIndex)
{
    int deleted = 0;
    CPtrList list(1), other(1), empty(1);
    CCounted* items[6];
    Fill(list, items, 2, &deleted);
    Fill(other, items + 2, 2, &deleted, 2);
    EXPECT_EQ(1, list.Splice(&other, 2));
    EXPECT_EQ("0123", Ids(list));
    EXPECT_EQ(4, list.GetCount());
    EXPECT_EQ(0, other.GetCount());
    EXPECT_EQ(nullptr, other.m_pFirst);
    EXPECT_EQ(nullptr, other.m_pLast);
    EXPECT_EQ(1, empty.Splice(&list, 0));
    EXPECT_EQ("0123", Ids(empty));
    EXPECT_EQ(items[3], empty.m_pLast->item);
    EXPECT_EQ(0, empty.Splice(&empty, 0));
    EXPECT_EQ(4, empty.GetCount());

    Fill(other, items + 4, 2, &deleted, 4);
    EXPECT_EQ(0, empty.Splice(&other, 5)) << "past the end";
    EXPECT_EQ(1, empty.Splice(&other, 1));
    EXPECT_EQ("045123", Ids(empty));
    EXPECT_EQ(items[3], empty.m_pLast->item);
    EXPECT_EQ(1, empty.MoveNode(2, 0));
    EXPECT_EQ(1, other.AddTail(empty.RemoveAt(0)));
    EXPECT_EQ(1, empty.Splice(&other, 0));
    EXPECT_EQ("504123", Ids(empty));
    EXPECT_EQ(6, empty.GetCount());
}
