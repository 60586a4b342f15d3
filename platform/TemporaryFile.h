// A file written beside its destination that takes the destination's place only when whole, so
// that a reader never meets half a file. Implementation: platform/TemporaryFile.cpp.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

class TemporaryFile {
 public:
  // Creates and opens for writing a new file named `prefix` followed by six random characters
  // (readable by all, as the files it replaces are). file() is null when it could not be made.
  explicit TemporaryFile(std::string prefix);
  // Removes the file unless PutInPlace moved it.
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  std::FILE* file() const { return file_.get(); }

  // Closes the file and renames it to `destination`. True when every byte written reached the
  // file and it took the destination's place; otherwise the file is gone and the destination is
  // as it was.
  bool PutInPlace(const std::string& destination);

 private:
  struct Close {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
  };

  std::string path_;  // empty once there is nothing to remove
  std::unique_ptr<std::FILE, Close> file_;
};
