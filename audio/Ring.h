// A fixed-capacity FIFO of trivially copyable items (bytes, samples). Not synchronised: its
// owner holds a lock around it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace audio {

template <typename T>
class Ring {
 public:
  explicit Ring(std::size_t capacity = 0) : items_(capacity) {}

  std::size_t Size() const noexcept { return size_; }
  std::size_t Capacity() const noexcept { return items_.size(); }
  std::size_t Space() const noexcept { return items_.size() - size_; }

  // Appends as many of `count` items as fit; returns how many.
  std::size_t Write(const T* data, std::size_t count) noexcept {
    count = std::min(count, Space());
    if (count == 0) {
      return 0;
    }
    std::size_t tail = (head_ + size_) % items_.size();
    std::size_t first = std::min(count, items_.size() - tail);
    std::memcpy(items_.data() + tail, data, first * sizeof(T));
    std::memcpy(items_.data(), data + first, (count - first) * sizeof(T));
    size_ += count;
    return count;
  }

  // Removes up to `count` items into `out`; returns how many.
  std::size_t Read(T* out, std::size_t count) noexcept {
    count = std::min(count, size_);
    if (count == 0) {
      return 0;
    }
    std::size_t first = std::min(count, items_.size() - head_);
    std::memcpy(out, items_.data() + head_, first * sizeof(T));
    std::memcpy(out + first, items_.data(), (count - first) * sizeof(T));
    head_ = (head_ + count) % items_.size();
    size_ -= count;
    return count;
  }

  // Changes the capacity, keeping the oldest items that fit.
  void SetCapacity(std::size_t capacity) {
    std::vector<T> items(capacity);
    std::size_t keep = Read(items.data(), std::min(size_, capacity));
    items_.swap(items);
    head_ = 0;
    size_ = keep;
  }

 private:
  std::vector<T> items_;
  std::size_t head_ = 0;
  std::size_t size_ = 0;
};

}  // namespace audio
