#include "audio/TagStore.h"

#include "platform/Mutex.h"

namespace audio {

namespace {

// Texts of freed streams: a caller may still be reading one when its stream goes away.
constexpr std::size_t kRetiredStores = 4;

struct Retired {
  Mutex lock;
  std::deque<std::deque<std::unique_ptr<std::string>>> stores GUARDED_BY(lock);
};

Retired& RetiredTexts() {
  static auto* retired = new Retired;  // never destroyed: late readers at exit stay safe
  return *retired;
}

}  // namespace

TagStore::~TagStore() {
  if (texts_.empty()) {
    return;
  }
  Retired& retired = RetiredTexts();
  std::deque<std::unique_ptr<std::string>> dropped;
  MutexLock hold(retired.lock);
  retired.stores.push_back(std::move(texts_));
  if (retired.stores.size() > kRetiredStores) {
    dropped = std::move(retired.stores.front());
    retired.stores.pop_front();
  }
}

const char* TagStore::Keep(std::string text) {
  texts_.push_back(std::make_unique<std::string>(std::move(text)));
  if (texts_.size() > kKeep) {
    texts_.pop_front();
  }
  return texts_.back()->c_str();
}

}  // namespace audio
