// Starting a worker thread guarded by a busy mark: the mark is nonzero while the worker runs and
// the worker clears it as its last step, so at most one such worker runs at a time.
#pragma once

#include <atomic>

#include "platform/Win32.h"

// Takes the mark by compare-and-swap from 0, then starts `worker(argument)` on a new thread and
// stores the thread's handle (closed at once; the value stays as the mark). The mark is set
// before the thread exists, so the worker's clearing store always comes after it. Returns false
// and changes nothing when the mark was already set; returns false with the mark clear when no
// thread could be created.
bool StartWorker(std::atomic<HANDLE>& busyMark, LPTHREAD_START_ROUTINE worker, LPVOID argument);
