#include "directory/StationLogos.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <set>
#include <thread>

#include "directory/Download.h"
#include "directory/LogoFetch.h"
#include "directory/LogoRules.h"
#include "directory/StationId.h"
#include "platform/Mutex.h"

namespace {

constexpr int kMostFetchesAtOnce = 2;

struct LogoJob {
  int row;
  std::wstring uuid;
  std::string favicon;
};

http::Limits LogoLimits() {
  http::Limits limits = DownloadLimits();
  limits.maxBodyBytes = kMaxLogoBytes;
  return limits;
}

}  // namespace

// What the window thread and the fetching threads share. The threads own it with the
// StationLogos, so that they may outlive it.
struct StationLogos::Shared {
  mutable Mutex lock;
  std::atomic<bool> listHasLogos{false};
  bool stopping GUARDED_BY(lock) = false;
  // Counts the lists shown; a fetch of an earlier list redraws nothing.
  unsigned generation GUARDED_BY(lock) = 0;
  HWND list GUARDED_BY(lock) = nullptr;
  std::wstring folder GUARDED_BY(lock);
  http::Limits limits GUARDED_BY(lock);
  // Asked for rows without a logo address.
  std::shared_ptr<const StationDirectory> directory GUARDED_BY(lock);
  std::deque<LogoJob> onScreen GUARDED_BY(lock);  // in the order they were drawn
  std::deque<LogoJob> waiting GUARDED_BY(lock);   // in row order
  std::set<std::wstring> inFlight GUARDED_BY(lock);
  int running GUARDED_BY(lock) = 0;
  std::function<void(const std::wstring&)> arrived GUARDED_BY(lock);

  // The next job and what it needs, or false when none is left (the thread then ends).
  bool Take(LogoJob* job, unsigned* jobGeneration, std::wstring* jobFolder, http::Limits* jobLimits,
            std::shared_ptr<const StationDirectory>* jobDirectory) {
    MutexLock hold(lock);
    while (!stopping && (!onScreen.empty() || !waiting.empty())) {
      std::deque<LogoJob>& from = onScreen.empty() ? waiting : onScreen;
      *job = std::move(from.front());
      from.pop_front();
      if (inFlight.insert(job->uuid).second) {
        *jobGeneration = generation;
        *jobFolder = folder;
        *jobLimits = limits;
        *jobDirectory = directory;
        return true;
      }
    }
    --running;
    return false;
  }
};

namespace {

void Redraw(HWND list, int row) {
  RECT rect{};
  if (SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&rect))) {
    InvalidateRect(list, &rect, FALSE);
  }
}

void FetchLogos(std::shared_ptr<StationLogos::Shared> shared) {
  LogoJob job;
  unsigned generation;
  std::wstring folder;
  http::Limits limits;
  std::shared_ptr<const StationDirectory> directory;
  while (shared->Take(&job, &generation, &folder, &limits, &directory)) {
    const bool due = LogoDue(WrittenAt(LogoFile(folder, job.uuid)),
                             WrittenAt(LogoFailureMark(folder, job.uuid)), FileTime::clock::now());
    if (due && job.favicon.empty() && directory) {
      job.favicon = FaviconByUuid(folder, job.uuid, *directory, limits);
    }
    const bool arrived =
        due && !job.favicon.empty() && FetchLogo(folder, job.uuid, job.favicon, limits);
    HWND list = nullptr;
    bool wholeList = false;
    std::function<void(const std::wstring&)> observer;
    {
      MutexLock hold(shared->lock);
      shared->inFlight.erase(job.uuid);
      if (arrived && !shared->stopping) {
        observer = shared->arrived;
        if (generation == shared->generation) {
          list = shared->list;
          // The list's first logo: every row makes room for its square.
          wholeList = !shared->listHasLogos.exchange(true);
        }
      }
    }
    if (wholeList) {
      InvalidateRect(list, nullptr, FALSE);
    } else if (list != nullptr) {
      Redraw(list, job.row);
    }
    if (observer) {
      observer(job.uuid);
    }
  }
}

}  // namespace

StationLogos::StationLogos() : limits(LogoLimits()), shared_(std::make_shared<Shared>()) {}

StationLogos::~StationLogos() {
  MutexLock hold(shared_->lock);
  shared_->stopping = true;
  shared_->onScreen.clear();
  shared_->waiting.clear();
}

void StationLogos::ShowList(HWND list, std::wstring_view folder, const std::vector<LogoRow>& rows,
                            const std::optional<StationDirectory>& directory) {
  bool hasLogos = false;
  std::deque<LogoJob> jobs;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const LogoRow& row = rows[i];
    if (!IsStationUuid(std::wstring_view(row.uuid))) {
      continue;
    }
    if (!row.favicon.empty() || directory) {
      jobs.push_back({static_cast<int>(i), row.uuid, row.favicon});
    }
    if (!hasLogos) {
      hasLogos = !row.favicon.empty() || WrittenAt(LogoFile(folder, row.uuid)).has_value();
    }
  }
  MutexLock hold(shared_->lock);
  ++shared_->generation;
  shared_->listHasLogos.store(hasLogos);
  shared_->list = list;
  shared_->folder = folder;
  shared_->limits = limits;
  shared_->directory = directory ? std::make_shared<const StationDirectory>(*directory) : nullptr;
  shared_->onScreen.clear();
  shared_->waiting = std::move(jobs);
  for (; shared_->running < kMostFetchesAtOnce &&
         shared_->running < static_cast<int>(shared_->waiting.size());
       ++shared_->running) {
    std::thread(FetchLogos, shared_).detach();
  }
}

bool StationLogos::ListHasLogos() const {
  return shared_->listHasLogos.load();
}

void StationLogos::RowOnScreen(int row) {
  MutexLock hold(shared_->lock);
  std::deque<LogoJob>& waiting = shared_->waiting;
  const auto found = std::lower_bound(waiting.begin(), waiting.end(), row,
                                      [](const LogoJob& job, int r) { return job.row < r; });
  if (found != waiting.end() && found->row == row) {
    shared_->onScreen.push_back(std::move(*found));
    waiting.erase(found);
  }
}

bool StationLogos::Fetching() const {
  MutexLock hold(shared_->lock);
  return shared_->running > 0;
}

void StationLogos::SetArrivalObserver(std::function<void(const std::wstring&)> observer) {
  MutexLock hold(shared_->lock);
  shared_->arrived = std::move(observer);
}

std::wstring KeptLogo(std::wstring_view folder, std::wstring_view id) {
  if (!IsStationUuid(id)) {
    return {};
  }
  std::wstring file = LogoFile(folder, id);
  return WrittenAt(file) ? file : std::wstring();
}
