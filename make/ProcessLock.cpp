#include "ProcessLock.h"

std::recursive_mutex& MoxProcessLock() {
    // Deliberately leaked: no destructor runs at exit, so threads that still
    // trace while the process ends never lock a destroyed mutex.
    static std::recursive_mutex* lock = new std::recursive_mutex;
    return *lock;
}
