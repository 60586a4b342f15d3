// Timers of SetTimer: which is due next on a thread. Not for code outside platform/.
#pragma once

#include "platform/MessageQueue.h"

namespace winsys {

// The earliest due timer of the thread as WM_TIMER; with `remove` it restarts its period.
bool TakeDueTimer(ThreadQueue& queue, Clock::time_point now, MSG* msg, bool remove)
    REQUIRES(windowLock);
// When the thread's next timer is due; max() when it has none.
Clock::time_point NextTimerDue(const ThreadQueue& queue) REQUIRES(windowLock);
// Stops every timer of a window being destroyed.
void RemoveTimersOf(const Window* w) REQUIRES(windowLock);

}  // namespace winsys
