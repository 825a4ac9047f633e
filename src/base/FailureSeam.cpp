#include "base/FailureSeam.h"

#include <cstdlib>
#include <new>

namespace {

// Armed points outstanding, so that the usual case reads no thread-local storage.
volatile LONG g_armed;
// Calls left on this thread up to and including the failing one; 0: unarmed.
thread_local int t_countdown;
// The point armed for the next sort worker.
volatile LONG g_workerCountdown;

int Arm(int* countdown, int k)
{
    const int left = *countdown;
    if (left > 0)
        InterlockedDecrement(&g_armed);
    *countdown = k > 0 ? k : 0;
    if (*countdown > 0)
        InterlockedIncrement(&g_armed);
    return left;
}

} // namespace

int FailNthCall(FailThread thread, int k)
{
    if (thread == FAIL_THIS_THREAD)
        return Arm(&t_countdown, k);
    // A point handed to a worker already is that worker's: only a waiting one counts.
    const LONG left = InterlockedExchange(&g_workerCountdown, k > 0 ? k : 0);
    if (left > 0)
        InterlockedDecrement(&g_armed);
    if (k > 0)
        InterlockedIncrement(&g_armed);
    return static_cast<int>(left);
}

void EnterSortWorker()
{
    const int k = static_cast<int>(InterlockedExchange(&g_workerCountdown, 0));
    if (k > 0) {
        // The point moves from the shared slot to this thread: the armed count stays.
        t_countdown = k;
    }
}

bool SeamCallFails()
{
    if (!g_armed || t_countdown == 0)
        return false;
    if (--t_countdown > 0)
        return false;
    InterlockedDecrement(&g_armed);
    return true;
}

HGLOBAL SeamGlobalAlloc(UINT flags, SIZE_T bytes)
{
    if (SeamCallFails()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return GlobalAlloc(flags, bytes);
}

void* SeamMalloc(size_t bytes)
{
    return SeamCallFails() ? nullptr : malloc(bytes);
}

void* SeamRealloc(void* block, size_t bytes)
{
    return SeamCallFails() ? nullptr : realloc(block, bytes);
}

// The editor's allocations with new are all of the non-throwing kind; these replace the
// library's so that they pass the seam. The usual delete frees them: both use malloc's heap.
void* operator new(size_t bytes, const std::nothrow_t&) noexcept
{
    return SeamMalloc(bytes ? bytes : 1);
}

void* operator new[](size_t bytes, const std::nothrow_t&) noexcept
{
    return SeamMalloc(bytes ? bytes : 1);
}
