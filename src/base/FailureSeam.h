#pragma once
#include <windows.h>

#include <cstddef>

// Every allocation and every checked file call the editor makes goes through this seam, so
// that a test can make the k-th call from now fail, on the user-interface thread or on the
// sort's worker, the same way on every run. Calls are counted per thread. Unarmed, a call
// costs one load of a flag. The replaceable operator new (std::nothrow) and new[]
// (std::nothrow) count as calls too.
HGLOBAL SeamGlobalAlloc(UINT flags, SIZE_T bytes);
void* SeamMalloc(size_t bytes);
void* SeamRealloc(void* block, size_t bytes);

// A failing file call sets the error code a real failure of its kind gives (a full disk, a
// denied access, a drive that went away). A failing CloseHandle still closes the handle.
HANDLE SeamCreateFileA(const char* path, DWORD access, DWORD share, DWORD disposition);
BOOL SeamReadFile(HANDLE file, void* bytes, DWORD count, DWORD* read);
BOOL SeamWriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written);
BOOL SeamSetFilePointerEx(HANDLE file, LONGLONG position);
BOOL SeamSetEndOfFile(HANDLE file);
BOOL SeamGetFileSizeEx(HANDLE file, LARGE_INTEGER* size);
DWORD SeamGetFileType(HANDLE file);
UINT SeamGetTempFileNameA(const char* folder, const char* prefix, char* name);
BOOL SeamDeleteFileA(const char* path);
BOOL SeamCloseHandle(HANDLE handle);

// The threads a test can arm.
enum FailThread {
    FAIL_THIS_THREAD,   // the calling thread, as a rule the user-interface thread
    FAIL_SORT_WORKER    // the next sort worker that starts
};

// How an armed point fails.
enum FailMode {
    FAIL_ONCE,          // the k-th call fails, the calls after it work again
    FAIL_FROM_THEN_ON,  // the k-th call and every one after it fail, until disarmed
    FAIL_SHORT          // the k-th read or write moves only part of its bytes and
                        // reports success, as a full disk does; other calls work
};

// The k-th seam call from now on that thread fails (k >= 1); k = 0 disarms it. Answers
// how many calls the point armed before had still to wait: 0 when it was reached (or none
// was armed), so that a test knows whether an operation got as far as its failure.
int FailNthCall(FailThread thread, int k, FailMode mode = FAIL_ONCE);

// A sort worker calls this first, taking the failure point armed for it, and the other
// last, before it says it is done, leaving what the point still had to wait for the test.
void EnterSortWorker();
void LeaveSortWorker();
