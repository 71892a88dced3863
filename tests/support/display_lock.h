// The display is one for all test processes running side by side: its pointer, the active
// window and the key state that follows activation. Tests that create windows hold this lock
// (a named mutex, so across processes) for their whole run, so none of them moves the pointer,
// takes the activation or resets the keys under another.
#pragma once

#include <windows.h>

class DisplayLock {
  public:
    DisplayLock() : mutex_(CreateMutexA(nullptr, FALSE, "qdx_tests_display")) {
        // An abandoned lock (a test process that crashed) is taken over as it is.
        if (mutex_) WaitForSingleObject(mutex_, 300000);
    }
    ~DisplayLock() {
        if (!mutex_) return;
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
    DisplayLock(const DisplayLock&) = delete;
    DisplayLock& operator=(const DisplayLock&) = delete;

  private:
    HANDLE mutex_;
};
