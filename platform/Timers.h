// Timers of SetTimer: which is due next on a thread. Not for code outside platform/.
#pragma once

#include "platform/MessageQueue.h"

namespace winsys {

// The earliest due timer of the thread as WM_TIMER; with `remove` it restarts its period.
// Under the lock.
bool TakeDueTimer(ThreadQueue& queue, Clock::time_point now, MSG* msg, bool remove);
// When the thread's next timer is due; max() when it has none. Under the lock.
Clock::time_point NextTimerDue(const ThreadQueue& queue);
// Stops every timer of a window being destroyed. Under the lock.
void RemoveTimersOf(const Window* w);

}  // namespace winsys
