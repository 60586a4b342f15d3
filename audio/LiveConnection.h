// The connection a live stream downloads over, and finding the stream again when it drops: the
// address that was playing, then the other addresses it was found through, with the backoff
// between rounds of tries, kept to what the system says of the network. Its own lock guards the
// swap of one connection for the next and the network's state.
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

// What the system says of the network. Unknown: nothing is said, the backoff runs as it is.
enum class NetworkLink { Unknown, Down, Up };

class LiveConnection {
 public:
  // `opened` is the stream as first found; `options` are used again for every try.
  LiveConnection(OpenedSource& opened, const SourceOptions& options, NetworkLink link);
  LiveConnection(const LiveConnection&) = delete;
  LiveConnection& operator=(const LiveConnection&) = delete;

  // The connection now in use. Only the thread that calls Reconnect may use it: that thread is
  // the only one to replace it, so it reads it without the lock.
  Connection& Current() noexcept NO_THREAD_SAFETY_ANALYSIS { return *connection_; }
  // Makes a Pump() of the current connection return at once, and ends every try and wait for
  // good. Any thread.
  void Cancel() noexcept EXCLUDES(lock_);
  // The system's word on the network changed. While it is down no try is made and the budget
  // stands still; when it comes back (or the system no longer says it is down), a waiting
  // reconnect tries at once. Any thread.
  void NetworkChanged(NetworkLink link) EXCLUDES(lock_);

  // After the current connection has ended: tries round after round as `backoff` allows until
  // an address answers with audio. True: Current() is the new connection, and `found` holds
  // its first body bytes and codec (its connection moved into Current()). False once every
  // address has refused us, the backoff gives up, or Cancel() was called.
  bool Reconnect(Backoff& backoff, OpenedSource& found) EXCLUDES(lock_);
  // For a stream that finds itself again its own way (HLS): waits `time` before the next try of
  // `backoff`, on as long as there is no network and no longer once it is back. False once
  // Cancel() was called.
  bool WaitToTry(Backoff::Clock::duration time, Backoff& backoff) EXCLUDES(lock_) {
    return Wait(time, backoff) != WaitEnd::Cancelled;
  }

 private:
  // One try at every address still worth asking, in order; true when one answered.
  bool TryRound(OpenedSource& found);
  enum class WaitEnd { TimeUp, NetworkBack, Cancelled };
  // Waits `time`, and as long as there is no network; tells `backoff` when a network came back.
  WaitEnd Wait(Backoff::Clock::duration time, Backoff& backoff) EXCLUDES(lock_);
  // While there is no network: waits until that changes, then tells `backoff`.
  WaitEnd SitOutNoNetwork(Backoff& backoff) REQUIRES(lock_);

  Mutex lock_;
  Condition cancelWake_;
  std::atomic<bool> cancelled_{false};
  std::unique_ptr<Connection> connection_ GUARDED_BY(lock_);  // replaced by the reconnecting thread
  NetworkLink link_ GUARDED_BY(lock_);
  bool linkCameUp_ GUARDED_BY(lock_) = false;  // not yet taken by a wait
  std::vector<std::string> addresses_;         // the address that played first
  SourceOptions options_;
};

}  // namespace audio
