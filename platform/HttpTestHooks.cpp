// The HTTP client's part of the test interface: the declarations are in HttpClient.h.
#include <string>

#include "platform/HttpClient.h"
#include "platform/HttpTestSettings.h"

namespace http {

void MapHost(std::string_view host, int port, std::string_view toHost, int toPort) {
  TestSettings& settings = Settings();
  MutexLock hold(settings.lock);
  settings.hostMap[std::string(host) + ":" + std::to_string(port)] =
      std::string(toHost) + ":" + std::to_string(toPort);
}

void ClearHostMap() {
  TestSettings& settings = Settings();
  MutexLock hold(settings.lock);
  settings.hostMap.clear();
}

void TrustCertificateFile(std::string_view pemFile) {
  TestSettings& settings = Settings();
  MutexLock hold(settings.lock);
  settings.certificateFile = pemFile;
}

}  // namespace http
