#include "platform/TemporaryFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

TemporaryFile::TemporaryFile(std::string prefix) : path_(std::move(prefix) + "XXXXXX") {
  const int fd = mkstemp(path_.data());
  if (fd < 0) {
    path_.clear();
    return;
  }
  fchmod(fd, 0644);
  file_.reset(fdopen(fd, "wb"));
  if (file_ == nullptr) {
    close(fd);
  }
}

TemporaryFile::~TemporaryFile() {
  file_.reset();
  if (!path_.empty()) {
    unlink(path_.c_str());
  }
}

bool TemporaryFile::PutInPlace(const std::string& destination) {
  if (file_ == nullptr || std::fclose(file_.release()) != 0 ||
      std::rename(path_.c_str(), destination.c_str()) != 0) {
    return false;
  }
  path_.clear();
  return true;
}
