#pragma once

#include "base/PtrList.h"

// Order bits of a line sort.
enum {
    SORT_ASCENDING = 1,
    SORT_DESCENDING = 2,
    SORT_NUMERIC = 4
};

// What a sort run tells whoever shows its progress. The bar runs from 0 to three times the
// steps of one phase: making the records, sorting them, joining them into the sorted text.
enum SortNotice {
    SORT_SET_RANGE, // value: low, high: high; the position goes to low
    SORT_SET_STEP,  // value: step size
    SORT_STEP,      // advance by one step
    SORT_SET_POS    // value: position
};
typedef void (*SortNotify)(void* context, int notice, int value, int high);

// One sort of a text's lines, run in three phases that each stop early when the cancel flag
// is set. The text must stay unchanged until the run ends; the result is a new text of the
// same length, which the caller applies.
class CLineSort {
public:
    CLineSort(const char* text, int length, int order, const volatile int* cancel,
              SortNotify notify, void* context);
    ~CLineSort();

    // Each returns 1 when its phase is complete, 0 when it was cancelled or could not be done;
    // a phase runs only after the one before it completed.
    int MakeRecords();
    int SortRecords();
    int JoinRecords();
    int Run() { return MakeRecords() && SortRecords() && JoinRecords(); }

    // The sorted text (NUL-terminated) once JoinRecords completed, else null.
    const char* GetResult() const { return m_pResult; }
    int GetLength() const { return m_nLength; }
    // Whether a record could not be made for memory, which nobody has told yet.
    int RanOutOfMemory() const { return m_bOutOfMemory; }

    const char* m_pText;
    int m_nLength;
    int m_nLineCount;
    int m_nOrder;
    const volatile int* m_pCancel;
    SortNotify m_pNotify;
    void* m_pContext;
    // Steps of one phase, and the share of a step that each line earns while records are
    // made and joined.
    double m_dSteps;
    double m_dIncrement;
    // While sorting: the units of work (nodes placed by the merge passes) in all, those
    // done, the steps told so far and the unit at which the next step is due.
    long long m_nWork;
    long long m_nDone;
    long long m_nNextStep;
    int m_nStepsTold;
    CPtrList m_textList;
    CPtrList m_numberList;
    char* m_pResult;
    int m_nPhases; // phases completed
    int m_bOutOfMemory;

private:
    CLineSort(const CLineSort&);
    CLineSort& operator=(const CLineSort&);
    int Cancelled() const { return m_pCancel && *m_pCancel; }
    void Notify(int notice, int value = 0, int high = 0);
    int AddRecord(const char* line, int length);
    int SortList(CPtrList* list);
    int Precedes(const void* later, const void* earlier) const;
    void AdvanceSort();
    int SplicePosition() const;
};
