// The one structured-exception guard of the host: a fault that escapes a
// mode ends the process cleanly instead of leaving the screen-saver state on.
//
// GCC has no __try/__except for 32-bit Windows, so the guard links its own
// frame into the thread's exception chain (the list that the thread block's
// first word heads), exactly as a compiler's __try would. The frame lives on
// the guard's stack for as long as the mode runs.
#include "host.h"

#if !defined(__i386__)
#error "The fault guard uses the 32-bit x86 exception chain."
#endif

namespace {

// Asked only while an exception is being dispatched, never while unwinding.
// The system's unhandled-exception filter decides, as an __except filter of
// UnhandledExceptionFilter(GetExceptionInformation()) would.
EXCEPTION_DISPOSITION NTAPI guardHandler(EXCEPTION_RECORD *record, PVOID, CONTEXT *context, PVOID) {
    if (IS_UNWINDING(record->ExceptionFlags)) return ExceptionContinueSearch;
    EXCEPTION_POINTERS pointers = {record, context};
    LONG verdict = UnhandledExceptionFilter(&pointers);
    if (verdict == EXCEPTION_CONTINUE_EXECUTION) return ExceptionContinueExecution;
    if (verdict != EXCEPTION_EXECUTE_HANDLER) return ExceptionContinueSearch;
    // The process ends here, so nothing needs unwinding. It ends with the
    // fault's code, as the system reports a process that a fault ended.
    setSaverRunning(false);
    ExitProcess(record->ExceptionCode);
}

}  // namespace

// The head of the thread's exception chain is the first word of the thread
// block, which the fs segment addresses.
static EXCEPTION_REGISTRATION_RECORD *chainHead() {
    EXCEPTION_REGISTRATION_RECORD *head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

static void setChainHead(EXCEPTION_REGISTRATION_RECORD *head) { asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory"); }

int runGuarded(int (*mode)(const ModeRequest *request), const ModeRequest *request) {
    EXCEPTION_REGISTRATION_RECORD frame;
    frame.Next = chainHead();
    frame.Handler = guardHandler;
    setChainHead(&frame);
    int result = mode(request);
    setChainHead(frame.Next);
    return result;
}
