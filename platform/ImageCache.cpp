// A small least-recently-used cache of decoded images, keyed by file, its identity on disk and
// the size asked for.
#include "platform/ImageCache.h"

#include <sys/stat.h>

#include <list>
#include <tuple>

#include "platform/ImageDecoders.h"
#include "platform/Mutex.h"

namespace image {

namespace {

struct Key {
  std::string path;
  int wantWidth;
  int wantHeight;
  dev_t device;
  ino_t inode;
  off_t size;
  long long modifiedNs;
  bool operator==(const Key&) const = default;
};

struct Entry {
  Key key;
  CairoSurfacePtr image;  // null: the file holds no drawable image
  std::size_t bytes;
};

class Cache {
 public:
  // A new reference to the image kept under `key`, or false when none is kept.
  bool Find(const Key& key, CairoSurfacePtr& image) EXCLUDES(lock_) {
    MutexLock hold(lock_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->key == key) {
        entries_.splice(entries_.begin(), entries_, it);  // the most recently drawn comes first
        image.reset(it->image ? cairo_surface_reference(it->image.get()) : nullptr);
        return true;
      }
    }
    return false;
  }

  void Keep(Key key, cairo_surface_t* image) EXCLUDES(lock_) {
    const std::size_t bytes =
        image == nullptr ? 0
                         : static_cast<std::size_t>(cairo_image_surface_get_stride(image)) *
                               static_cast<std::size_t>(cairo_image_surface_get_height(image));
    if (bytes > kCacheBytes) {
      return;
    }
    MutexLock hold(lock_);
    // The same file at another identity is an older version of it: it goes.
    for (auto it = entries_.begin(); it != entries_.end();) {
      const bool stale = it->key.path == key.path && it->key.wantWidth == key.wantWidth &&
                         it->key.wantHeight == key.wantHeight;
      if (stale) {
        bytes_ -= it->bytes;
        it = entries_.erase(it);
      } else {
        ++it;
      }
    }
    while (!entries_.empty() && (bytes_ + bytes > kCacheBytes || entries_.size() >= kMaxEntries)) {
      bytes_ -= entries_.back().bytes;
      entries_.pop_back();
    }
    entries_.push_front(
        {std::move(key), CairoSurfacePtr(image ? cairo_surface_reference(image) : nullptr), bytes});
    bytes_ += bytes;
  }

 private:
  static constexpr std::size_t kMaxEntries = 256;  // files without an image count too

  Mutex lock_;
  std::list<Entry> entries_ GUARDED_BY(lock_);
  std::size_t bytes_ GUARDED_BY(lock_) = 0;
};

Cache& TheCache() {
  static Cache* cache = new Cache();  // never destroyed: painting may go on during exit
  return *cache;
}

}  // namespace

CairoSurfacePtr CachedImageFile(const std::string& path, int wantWidth, int wantHeight) {
  struct stat file {};
  if (stat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode)) {
    return nullptr;
  }
  Key key{path,
          wantWidth,
          wantHeight,
          file.st_dev,
          file.st_ino,
          file.st_size,
          static_cast<long long>(file.st_mtim.tv_sec) * 1000000000LL + file.st_mtim.tv_nsec};
  CairoSurfacePtr image;
  if (TheCache().Find(key, image)) {
    return image;
  }
  image = DecodeImageFile(path, wantWidth, wantHeight);
  TheCache().Keep(std::move(key), image.get());
  return image;
}

}  // namespace image
