#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace fixture {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tunedeck-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  path_ = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const {
  return path_ + "/" + name;
}

}  // namespace fixture
