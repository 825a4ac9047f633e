#include <gtest/gtest.h>

#include <stdio.h>
#include <windows.h>

// A crash ends the program at once with its place named, a failure that the test run reports,
// instead of waiting in the system's debugger until the run's time-out.
static LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info)
{
    fflush(stdout);
    fprintf(stderr, "crashed: exception %08lx at %p\n", info->ExceptionRecord->ExceptionCode,
            info->ExceptionRecord->ExceptionAddress);
    fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

int main(int argc, char** argv)
{
    SetUnhandledExceptionFilter(ReportCrash);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
