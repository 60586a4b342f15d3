// The searches a window starts: only the latest counts. An earlier one still under way is
// superseded, and its answer is dropped when it arrives, never shown over the newer one.
#pragma once

#include <optional>

#include "directory/StationSearch.h"
#include "platform/Mutex.h"

class SearchRuns {
 public:
  // The number of a new search, which from now on is the one that counts. Window thread.
  unsigned Start() EXCLUDES(mutex_);
  // No search counts any more (something else took the station list). True when one was under
  // way. Window thread.
  bool Cancel() EXCLUDES(mutex_);
  // A search ended: its outcome is kept while it still counts. Any thread.
  void Finish(unsigned search, SearchOutcome outcome) EXCLUDES(mutex_);
  // The outcome of `search` when it still counts and has ended; from then on it counts no more.
  // Nothing for a superseded search. Window thread.
  std::optional<SearchOutcome> Take(unsigned search) EXCLUDES(mutex_);

 private:
  Mutex mutex_;
  unsigned latest_ GUARDED_BY(mutex_) = 0;
  bool underWay_ GUARDED_BY(mutex_) = false;                 // the latest has not been taken
  std::optional<SearchOutcome> outcome_ GUARDED_BY(mutex_);  // the latest's, once it ended
};
