// Waiting on the window thread for work that takes long, without a frozen window.
#pragma once

#include <functional>

// Runs `work` on a thread of its own and returns once it has returned. Meanwhile the calling
// thread, when it is the screen's, keeps its windows painted and the screen shown (an expose, a
// resize), runs their timers (WM_TIMER, due or posted) and serves messages sent to it; other
// posted messages stay queued, in order, for after the wait. A tap, a key or typed text that
// comes meanwhile starts nothing: it is dropped with a beep (MessageBeep), so that no command
// runs inside the waiting one. On any other thread, or when no thread can be had, `work` runs
// on the calling thread. `work` reaches windows only through sent or posted messages.
void RunWhilePainting(const std::function<void()>& work);
