// What the test interface changes in every later handle of the HTTP client. Not for code
// outside platform/.
#pragma once

#include <map>
#include <string>

#include "platform/Mutex.h"

namespace http {

// Changed by tests while other threads make handles.
struct TestSettings {
  Mutex lock;
  std::map<std::string, std::string> hostMap GUARDED_BY(lock);  // "host:port" -> "toHost:toPort"
  std::string certificateFile GUARDED_BY(lock);
};

// The one copy: empty in the program, which never links the test interface.
TestSettings& Settings();

}  // namespace http
