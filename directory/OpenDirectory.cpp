#include "directory/OpenDirectory.h"

#include <algorithm>
#include <system_error>
#include <thread>

#include "directory/Address.h"
#include "directory/ServiceHosts.h"
#include "platform/RunWhilePainting.h"
#include "platform/Utf8.h"

namespace {

std::wstring OnServer(const std::string& server, std::wstring_view pathFormat,
                      std::wstring_view value) {
  return L"https://" + Utf8ToWide(server) + AddressWith(pathFormat, value);
}

}  // namespace

const std::vector<std::string>& OpenDirectory::Servers(
    std::chrono::steady_clock::time_point until) {
  const bool known =
      !servers.empty() && !(servers.size() == 1 && servers[0] == kOpenDirectoryDiscoveryHost);
  if (!known && !discovery_.valid()) {
    // The thread owns a copy of the lookups: a resolver that hangs past the run's end holds
    // nothing of the window's.
    std::packaged_task<std::vector<std::string>()> lookup(
        [lookups = lookups] { return DiscoverServers(lookups); });
    discovery_ = lookup.get_future();
    try {
      std::thread(std::move(lookup)).detach();
    } catch (const std::system_error&) {
      discovery_ = {};  // no thread to spare now: the discovery host stands in, later calls retry
    }
  }
  if (discovery_.valid()) {
    RunWhilePainting([this, until] { discovery_.wait_until(until); });
    if (discovery_.wait_until(until) == std::future_status::ready) {
      servers = discovery_.get();
    }
  }
  if (servers.empty()) {
    servers = {kOpenDirectoryDiscoveryHost};
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
  return OnServer(Servers(std::chrono::steady_clock::now() + kTuneInDiscoveryWait).front(),
                  kOpenDirectoryTuneInPath, uuid);
}

std::wstring OpenDirectoryQuery(const std::string& server, std::wstring_view key) {
  std::wstring tag(key);
  std::transform(tag.begin(), tag.end(), tag.begin(), [](wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  });
  return OnServer(server, kOpenDirectoryQueryPath, tag);
}
