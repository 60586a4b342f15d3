// The searches a window starts: only the latest counts. An earlier one still under way is
// superseded, and its answer is dropped when it arrives, never shown over the newer one.
#pragma once

#include <mutex>
#include <optional>

#include "directory/StationSearch.h"

class SearchRuns {
 public:
  // The number of a new search, which from now on is the one that counts. Window thread.
  unsigned Start();
  // No search counts any more (something else took the station list). True when one was under
  // way. Window thread.
  bool Cancel();
  // A search ended: its outcome is kept while it still counts. Any thread.
  void Finish(unsigned search, SearchOutcome outcome);
  // The outcome of `search` when it still counts and has ended; from then on it counts no more.
  // Nothing for a superseded search. Window thread.
  std::optional<SearchOutcome> Take(unsigned search);

 private:
  std::mutex mutex_;
  unsigned latest_ = 0;                   // under mutex_
  bool underWay_ = false;                 // under mutex_: the latest has not been taken
  std::optional<SearchOutcome> outcome_;  // under mutex_: the latest's, once it ended
};
