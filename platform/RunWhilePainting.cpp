#include "platform/RunWhilePainting.h"

#include <system_error>
#include <thread>

#include "platform/MessageQueue.h"
#include "platform/Screen.h"

using namespace winsys;

void RunWhilePainting(const std::function<void()>& work) {
  const std::shared_ptr<ThreadQueue> queue = CurrentQueue();
  if (ScreenThread() != queue) {
    work();
    return;
  }
  OwnWait wait;
  std::thread worker;
  try {
    worker = std::thread([&work, &wait, &queue] {
      work();
      MutexLock lock(windowLock);
      wait.ended = true;
      Wake(*queue);
    });
  } catch (const std::system_error&) {
    work();
    return;
  }
  MSG msg;
  while (NextMessage(&msg, true, Clock::time_point::max(), &wait)) {
    DispatchMessageW(&msg);
  }
  worker.join();
}
