// The connection a live stream downloads over, and finding the stream again when it drops: the
// address that was playing, then the other addresses it was found through, with the backoff
// between rounds of tries. Its own lock guards the swap of one connection for the next.
#pragma once

#include "audio/Backoff.h"
#include "audio/Connection.h"
#include "audio/StreamSource.h"
#include "platform/Mutex.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace audio {

class LiveConnection {
 public:
  // `opened` is the stream as first found; `options` are used again for every try.
  LiveConnection(OpenedSource& opened, const SourceOptions& options);
  LiveConnection(const LiveConnection&) = delete;
  LiveConnection& operator=(const LiveConnection&) = delete;

  // The connection now in use. Only the thread that calls Reconnect may use it: that thread is
  // the only one to replace it, so it reads it without the lock.
  Connection& Current() noexcept NO_THREAD_SAFETY_ANALYSIS { return *connection_; }
  // Makes a Pump() of the current connection return at once, and ends every try and wait for
  // good. Any thread.
  void Cancel() noexcept EXCLUDES(lock_);

  // After the current connection has ended: tries round after round as `backoff` allows until
  // an address answers with audio. True: Current() is the new connection, and `found` holds
  // its first body bytes and codec (its connection moved into Current()). False once every
  // address has refused us, the backoff gives up, or Cancel() was called.
  bool Reconnect(Backoff& backoff, OpenedSource& found) EXCLUDES(lock_);

 private:
  // One try at every address still worth asking, in order; true when one answered.
  bool TryRound(OpenedSource& found);
  // Waits `time`; false when cancelled meanwhile.
  bool Wait(Backoff::Clock::duration time) EXCLUDES(lock_);

  Mutex lock_;
  Condition cancelWake_;
  std::atomic<bool> cancelled_{false};
  std::unique_ptr<Connection> connection_ GUARDED_BY(lock_);  // replaced by the reconnecting thread
  std::vector<std::string> addresses_;                        // the address that played first
  SourceOptions options_;
};

}  // namespace audio
