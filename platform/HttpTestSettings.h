// What the test interface changes in every later handle of the HTTP client. Not for code
// outside platform/.
#pragma once

#include <map>
#include <mutex>
#include <string>

namespace http {

// Changed by tests while other threads make handles; read under `lock`.
struct TestSettings {
  std::mutex lock;
  std::map<std::string, std::string> hostMap;  // "host:port" -> "toHost:toPort"
  std::string certificateFile;
};

// The one copy: empty in the program, which never links the test interface.
TestSettings& Settings();

}  // namespace http
