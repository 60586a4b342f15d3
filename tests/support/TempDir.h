// A fresh folder under the system's temp folder, removed with everything in it at the end.
#pragma once

#include <string>

namespace fixture {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace fixture
