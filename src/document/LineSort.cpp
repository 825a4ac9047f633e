#include "document/LineSort.h"

#include <string.h>
#include <windows.h>

#include <initializer_list>
#include <new>

#include "base/ErrorBox.h"
#include "document/StringInfo.h"
#include "document/TextHelpers.h"

// The box that has always reported a joining buffer that could not be had.
static const char JOIN_UNIT[] = "hookprocs";
enum { LINE_JOIN_BUFFER = 1066 };

// Progress traffic stays bounded whatever the number of lines.
const int STEPS_PER_PHASE = 2000;

CLineSort::CLineSort(const char* text, int length, int order, const volatile int* cancel,
                     SortNotify notify, void* context)
    : m_pText(text), m_nLength(length), m_nLineCount(CountLines(text, length)), m_nOrder(order),
      m_pCancel(cancel), m_pNotify(notify), m_pContext(context), m_dSteps(0), m_dIncrement(0),
      m_nWork(0), m_nDone(0), m_nNextStep(0), m_nStepsTold(0), m_textList(1), m_numberList(1),
      m_pResult(nullptr), m_nPhases(0), m_bOutOfMemory(0)
{
    if (m_nLineCount <= STEPS_PER_PHASE) {
        m_dSteps = m_nLineCount;
        m_dIncrement = 1.0;
    } else {
        m_dSteps = STEPS_PER_PHASE;
        m_dIncrement = static_cast<double>(STEPS_PER_PHASE) / m_nLineCount;
    }
}

CLineSort::~CLineSort()
{
    delete[] m_pResult;
}

void CLineSort::Notify(int notice, int value, int high)
{
    if (m_pNotify)
        m_pNotify(m_pContext, notice, value, high);
}

int CLineSort::AddRecord(const char* line, int length)
{
    int numeric = (m_nOrder & SORT_NUMERIC) && HasNumberKey(line, length);
    CStringInfo* info = new (std::nothrow) CStringInfo(line, length, numeric);
    if (info && (numeric ? m_numberList : m_textList).AddTail(info))
        return 1;
    delete info;
    m_bOutOfMemory = 1;
    return 0;
}

int CLineSort::MakeRecords()
{
    if (m_nPhases != 0)
        return 0;
    Notify(SORT_SET_RANGE, 0, static_cast<int>(3 * m_dSteps));
    Notify(SORT_SET_STEP, 1);
    const char* line = m_pText;
    int length = LineLength(line);
    int index = 0;
    if (!AddRecord(line, length))
        return 0;
    double acc = m_dIncrement;
    for (int i = 1; i < m_nLineCount; i++) {
        if (Cancelled())
            return 0;
        if (acc >= 1.0) {
            acc -= 1.0;
            Notify(SORT_STEP);
        }
        line = MoveByLines(1, &length, &index, line);
        if (!AddRecord(line, length))
            return 0;
        acc += m_dIncrement;
    }
    if (Cancelled())
        return 0;
    Notify(SORT_SET_POS, static_cast<int>(m_dSteps));
    m_nPhases = 1;
    return 1;
}

// Where a record stands against one that came before it in the text: equal records change
// places, so that each list comes out as insertion before the first record that a record
// precedes or equals (follows or equals, descending) would leave it.
int CLineSort::Precedes(const void* later, const void* earlier) const
{
    int r = CompareLines(static_cast<const CStringInfo*>(later),
                         static_cast<const CStringInfo*>(earlier));
    return ((m_nOrder & SORT_ASCENDING) && (r == CSTR_LESS_THAN || r == CSTR_EQUAL)) ||
           ((m_nOrder & SORT_DESCENDING) && (r == CSTR_GREATER_THAN || r == CSTR_EQUAL));
}

void CLineSort::AdvanceSort()
{
    if (++m_nDone < m_nNextStep)
        return;
    Notify(SORT_STEP);
    m_nStepsTold++;
    const long long steps = static_cast<long long>(m_dSteps);
    m_nNextStep = m_nStepsTold < steps ? (m_nWork * (m_nStepsTold + 1) + steps - 1) / steps
                                       : m_nWork + 1;
}

// Nodes gathered into a new order; the last one's next is left for the gatherer to end.
struct NodeChain {
    CPtrNode* first;
    CPtrNode* last;
    void Append(CPtrNode* node)
    {
        if (last)
            last->next = node;
        else
            first = node;
        last = node;
    }
};

// Cuts the run of at most count nodes that starts at node; returns the node after it.
static CPtrNode* CutRun(CPtrNode* node, int count)
{
    if (!node)
        return nullptr;
    while (--count > 0 && node->next)
        node = node->next;
    CPtrNode* next = node->next;
    node->next = nullptr;
    return next;
}

static int MergePasses(int count)
{
    int passes = 0;
    for (long long width = 1; width < count; width *= 2)
        passes++;
    return passes;
}

// A stable bottom-up merge sort of the nodes themselves: it needs no memory, so it cannot fail
// half-way, and a cancelled pass still relinks every node.
int CLineSort::SortList(CPtrList* list)
{
    const int n = list->GetCount();
    for (long long width = 1; width < n; width *= 2) {
        NodeChain sorted = {nullptr, nullptr};
        CPtrNode* rest = list->m_pFirst;
        while (rest) {
            CPtrNode* left = rest;
            CPtrNode* right = CutRun(left, static_cast<int>(width));
            rest = CutRun(right, static_cast<int>(width));
            while (left && right && !Cancelled()) {
                CPtrNode** from = Precedes(right->item, left->item) ? &right : &left;
                CPtrNode* node = *from;
                *from = node->next;
                sorted.Append(node);
                AdvanceSort();
            }
            for (CPtrNode* chain : {left, right}) {
                for (; chain; chain = chain->next) {
                    sorted.Append(chain);
                    AdvanceSort();
                }
            }
        }
        sorted.last->next = nullptr;
        list->m_pFirst = sorted.first;
        list->m_pLast = sorted.last;
        if (Cancelled())
            return 0;
    }
    return 1;
}

// The number block goes before the first text record that starts, after its blanks, with a
// byte above '0' (below '9', descending), bytes compared as signed values.
int CLineSort::SplicePosition() const
{
    int d = 0;
    for (CPtrNode* node = m_textList.m_pFirst; node; node = node->next, d++) {
        const CStringInfo* info = static_cast<const CStringInfo*>(node->item);
        const char* p = SkipBlanks(info->m_pText, nullptr);
        if (p - info->m_pText >= info->m_nLength)
            continue;
        signed char c = static_cast<signed char>(*p);
        if ((m_nOrder & SORT_ASCENDING) ? c > '0' : c < '9')
            break;
    }
    return d;
}

int CLineSort::SortRecords()
{
    if (m_nPhases != 1 || Cancelled())
        return 0;
    m_nWork = static_cast<long long>(m_numberList.GetCount()) * MergePasses(m_numberList.GetCount()) +
              static_cast<long long>(m_textList.GetCount()) * MergePasses(m_textList.GetCount());
    m_nDone = 0;
    m_nStepsTold = 0;
    const long long steps = static_cast<long long>(m_dSteps);
    m_nNextStep = steps > 0 ? (m_nWork + steps - 1) / steps : m_nWork + 1;
    if (!SortList(&m_numberList) || !SortList(&m_textList))
        return 0;
    if (m_numberList.GetCount() > 0 && !m_textList.Splice(&m_numberList, SplicePosition()))
        return 0;
    if (Cancelled())
        return 0;
    Notify(SORT_SET_POS, static_cast<int>(2 * m_dSteps));
    m_nPhases = 2;
    return 1;
}

int CLineSort::JoinRecords()
{
    if (m_nPhases != 2 || Cancelled())
        return 0;
    m_pResult = new (std::nothrow) char[static_cast<size_t>(m_nLength) + 1];
    if (!m_pResult) {
        DebugAssertFailed(JOIN_UNIT, LINE_JOIN_BUFFER);
        return 0;
    }
    char* out = m_pResult;
    double acc = 0;
    for (CPtrNode* node = m_textList.m_pFirst; node; node = node->next) {
        if (Cancelled())
            break;
        if (acc >= 1.0) {
            acc -= 1.0;
            Notify(SORT_STEP);
        }
        const CStringInfo* info = static_cast<const CStringInfo*>(node->item);
        memcpy(out, info->m_pText, info->m_nLength);
        out += info->m_nLength;
        if (node->next)
            *out++ = '\r';
        acc += m_dIncrement;
    }
    if (Cancelled()) {
        delete[] m_pResult;
        m_pResult = nullptr;
        return 0;
    }
    *out = 0;
    Notify(SORT_SET_POS, static_cast<int>(3 * m_dSteps));
    m_nPhases = 3;
    return 1;
}
