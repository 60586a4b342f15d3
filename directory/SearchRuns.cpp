#include "directory/SearchRuns.h"

#include <utility>

unsigned SearchRuns::Start() {
  MutexLock lock(mutex_);
  underWay_ = true;
  outcome_.reset();
  return ++latest_;
}

bool SearchRuns::Cancel() {
  MutexLock lock(mutex_);
  const bool wasUnderWay = underWay_;
  ++latest_;
  underWay_ = false;
  outcome_.reset();
  return wasUnderWay;
}

void SearchRuns::Finish(unsigned search, SearchOutcome outcome) {
  MutexLock lock(mutex_);
  if (search == latest_ && underWay_) {
    outcome_ = std::move(outcome);
  }
}

std::optional<SearchOutcome> SearchRuns::Take(unsigned search) {
  MutexLock lock(mutex_);
  if (search != latest_ || !outcome_) {
    return std::nullopt;
  }
  underWay_ = false;
  return std::exchange(outcome_, std::nullopt);
}
