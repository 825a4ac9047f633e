#pragma once
#include <windows.h>

#include <cstddef>

// Every allocation the editor makes goes through this seam, so that a test can make the
// k-th call from now fail, on the user-interface thread or on the sort's worker, the same
// way on every run. Calls are counted per thread. Unarmed, a call costs one load of a flag.
// The replaceable operator new (std::nothrow) and new[] (std::nothrow) count as calls too.
HGLOBAL SeamGlobalAlloc(UINT flags, SIZE_T bytes);
void* SeamMalloc(size_t bytes);
void* SeamRealloc(void* block, size_t bytes);

// The threads a test can arm.
enum FailThread {
    FAIL_THIS_THREAD,   // the calling thread, as a rule the user-interface thread
    FAIL_SORT_WORKER    // the next sort worker that starts
};

// The k-th seam call from now on that thread fails (k >= 1); k = 0 disarms it. Answers
// how many calls the point armed before had still to wait: 0 when it was reached (or none
// was armed), so that a test knows whether an operation got as far as its failure.
int FailNthCall(FailThread thread, int k);

// A sort worker calls this first, taking the failure point armed for it.
void EnterSortWorker();

// True when the calling thread's next seam call is the armed one; counts the call.
bool SeamCallFails();
