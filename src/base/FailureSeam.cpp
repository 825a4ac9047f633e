#include "base/FailureSeam.h"

#include <cstdlib>
#include <new>

namespace {

// Armed points outstanding, so that the usual case reads no thread-local storage.
volatile LONG g_armed;
// Calls left on this thread up to and including the failing one; 0: unarmed.
thread_local int t_countdown;
thread_local FailMode t_mode;
// A point failing from then on was reached: every call fails until it is disarmed.
thread_local bool t_failing;
// The point armed for the next sort worker.
volatile LONG g_workerCountdown;
volatile LONG g_workerMode;
// What the point of the last worker that ended still had to wait.
volatile LONG g_workerLeft;

enum Outcome { PASS, FAIL, PART };

// What the calling thread's next seam call does; counts the call. A point of short counts
// counts reads and writes (moves) only.
Outcome NextCall(bool moves = false)
{
    if (!g_armed)
        return PASS;
    if (t_failing)
        return FAIL;
    if (t_countdown == 0 || (t_mode == FAIL_SHORT && !moves) || --t_countdown > 0)
        return PASS;
    if (t_mode == FAIL_FROM_THEN_ON) {
        // Stays armed until the test disarms it.
        t_failing = true;
        return FAIL;
    }
    InterlockedDecrement(&g_armed);
    return t_mode == FAIL_SHORT ? PART : FAIL;
}

bool Fails(DWORD error)
{
    if (NextCall() == PASS)
        return false;
    SetLastError(error);
    return true;
}

// Whether a read or a write goes ahead, and with how many of its bytes.
bool Moves(DWORD error, DWORD* count, DWORD* moved)
{
    switch (NextCall(true)) {
    case FAIL:
        SetLastError(error);
        *moved = 0;
        return false;
    case PART:
        *count /= 2;
        break;
    case PASS:
        break;
    }
    return true;
}

} // namespace

int FailNthCall(FailThread thread, int k, FailMode mode)
{
    if (thread == FAIL_THIS_THREAD) {
        const int left = t_countdown;
        if (left > 0 || t_failing)
            InterlockedDecrement(&g_armed);
        t_failing = false;
        t_countdown = k > 0 ? k : 0;
        t_mode = mode;
        if (t_countdown > 0)
            InterlockedIncrement(&g_armed);
        return left;
    }
    // A point handed to a worker already is that worker's, which answers for it once ended.
    InterlockedExchange(&g_workerMode, mode);
    LONG left = InterlockedExchange(&g_workerCountdown, k > 0 ? k : 0);
    if (left > 0)
        InterlockedDecrement(&g_armed);
    else
        left = InterlockedExchange(&g_workerLeft, 0);
    if (k > 0)
        InterlockedIncrement(&g_armed);
    return static_cast<int>(left);
}

void LeaveSortWorker()
{
    InterlockedExchange(&g_workerLeft, t_countdown);
    FailNthCall(FAIL_THIS_THREAD, 0);
}

void EnterSortWorker()
{
    const int k = static_cast<int>(InterlockedExchange(&g_workerCountdown, 0));
    if (k > 0) {
        // The point moves from the shared slot to this thread: the armed count stays.
        t_countdown = k;
        t_mode = static_cast<FailMode>(g_workerMode);
    }
}

HGLOBAL SeamGlobalAlloc(UINT flags, SIZE_T bytes)
{
    return Fails(ERROR_NOT_ENOUGH_MEMORY) ? nullptr : GlobalAlloc(flags, bytes);
}

void* SeamMalloc(size_t bytes)
{
    return NextCall() != PASS ? nullptr : malloc(bytes);
}

void* SeamRealloc(void* block, size_t bytes)
{
    return NextCall() != PASS ? nullptr : realloc(block, bytes);
}

HANDLE SeamCreateFileA(const char* path, DWORD access, DWORD share, DWORD disposition)
{
    if (Fails(ERROR_ACCESS_DENIED))
        return INVALID_HANDLE_VALUE;
    return CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

BOOL SeamReadFile(HANDLE file, void* bytes, DWORD count, DWORD* read)
{
    return Moves(ERROR_NETNAME_DELETED, &count, read) &&
           ReadFile(file, bytes, count, read, nullptr);
}

BOOL SeamWriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written)
{
    return Moves(ERROR_DISK_FULL, &count, written) &&
           WriteFile(file, bytes, count, written, nullptr);
}

BOOL SeamSetFilePointerEx(HANDLE file, LONGLONG position)
{
    LARGE_INTEGER to;
    to.QuadPart = position;
    return !Fails(ERROR_NETNAME_DELETED) && SetFilePointerEx(file, to, nullptr, FILE_BEGIN);
}

BOOL SeamSetEndOfFile(HANDLE file)
{
    return !Fails(ERROR_DISK_FULL) && SetEndOfFile(file);
}

BOOL SeamGetFileSizeEx(HANDLE file, LARGE_INTEGER* size)
{
    return !Fails(ERROR_NETNAME_DELETED) && GetFileSizeEx(file, size);
}

DWORD SeamGetFileType(HANDLE file)
{
    return Fails(ERROR_NETNAME_DELETED) ? FILE_TYPE_UNKNOWN : GetFileType(file);
}

UINT SeamGetTempFileNameA(const char* folder, const char* prefix, char* name)
{
    return Fails(ERROR_ACCESS_DENIED) ? 0 : GetTempFileNameA(folder, prefix, 0, name);
}

BOOL SeamDeleteFileA(const char* path)
{
    return !Fails(ERROR_ACCESS_DENIED) && DeleteFileA(path);
}

BOOL SeamCloseHandle(HANDLE handle)
{
    const bool fails = Fails(ERROR_NETNAME_DELETED);
    const BOOL closed = CloseHandle(handle);
    if (fails)
        SetLastError(ERROR_NETNAME_DELETED);
    return closed && !fails;
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
