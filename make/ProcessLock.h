#pragma once
// The one process-wide lock of the program. It guards the trace buffers,
// which the ISDN receive thread writes as well as the GUI thread.
//
// The lock exists for the whole life of the process: it is created on first
// use and never destroyed, so a trace line written before start-up has
// finished or while static objects are being torn down still finds it.
// It is recursive, as a Windows critical section is: code that holds it may
// trace, and the trace takes it again.

#include <mutex>

std::recursive_mutex& MoxProcessLock();
