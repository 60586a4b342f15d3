#include "directory/OpenDirectory.h"

#include <algorithm>

#include "directory/Address.h"
#include "directory/ServiceHosts.h"
#include "platform/Utf8.h"

namespace {

std::wstring OnServer(const std::string& server, std::wstring_view pathFormat,
                      std::wstring_view value) {
  return L"https://" + Utf8ToWide(server) + AddressWith(pathFormat, value);
}

}  // namespace

const std::vector<std::string>& OpenDirectory::Servers() {
  if (servers.empty() || (servers.size() == 1 && servers[0] == kOpenDirectoryDiscoveryHost)) {
    servers = DiscoverServers(lookups);
  }
  return servers;
}

void OpenDirectory::Keep(const std::string& server) {
  const auto kept = std::find(servers.begin(), servers.end(), server);
  if (kept != servers.end()) {
    std::rotate(servers.begin(), kept, servers.end());
  }
}

std::wstring OpenDirectory::TuneInAddress(std::wstring_view uuid) {
  return OnServer(Servers().front(), kOpenDirectoryTuneInPath, uuid);
}

std::wstring OpenDirectoryQuery(const std::string& server, std::wstring_view key) {
  std::wstring tag(key);
  std::transform(tag.begin(), tag.end(), tag.begin(), [](wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  });
  return OnServer(server, kOpenDirectoryQueryPath, tag);
}
