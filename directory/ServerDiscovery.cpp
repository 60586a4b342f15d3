#include "directory/ServerDiscovery.h"

#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string_view>

#include "directory/ServiceHosts.h"

namespace {

struct AddressListFree {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListFree>;

AddressList Resolve(const std::string& host, int flags) {
  addrinfo hints = {};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = flags;
  addrinfo* list = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0) {
    return nullptr;
  }
  return AddressList(list);
}

std::vector<std::string> SystemAddressesOf(const std::string& host) {
  std::vector<std::string> addresses;
  const AddressList list = Resolve(host, 0);
  for (const addrinfo* entry = list.get(); entry != nullptr; entry = entry->ai_next) {
    char numeric[NI_MAXHOST];
    if (getnameinfo(entry->ai_addr, entry->ai_addrlen, numeric, sizeof numeric, nullptr, 0,
                    NI_NUMERICHOST) == 0 &&
        std::find(addresses.begin(), addresses.end(), numeric) == addresses.end()) {
      addresses.emplace_back(numeric);
    }
  }
  return addresses;
}

std::string SystemNameOf(const std::string& address) {
  const AddressList list = Resolve(address, AI_NUMERICHOST);
  char name[NI_MAXHOST];
  if (list == nullptr || getnameinfo(list->ai_addr, list->ai_addrlen, name, sizeof name, nullptr, 0,
                                     NI_NAMEREQD) != 0) {
    return {};
  }
  return name;
}

void RandomOrder(std::vector<std::string>& names) {
  std::random_device seed;
  std::shuffle(names.begin(), names.end(), std::mt19937(seed()));
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A name that goes into an address as it stands: letters, digits, '-' and '.', in the domain.
bool IsServerName(std::string& name) {
  std::transform(name.begin(), name.end(), name.begin(), Lower);
  if (name.ends_with('.')) {
    name.pop_back();  // a fully qualified name's root
  }
  const std::string_view domain = kOpenDirectoryDomain;
  return name.size() > domain.size() && name.ends_with(domain) &&
         std::all_of(name.begin(), name.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
         });
}

}  // namespace

NameLookups SystemNameLookups() {
  return {SystemAddressesOf, SystemNameOf, RandomOrder};
}

std::vector<std::string> DiscoverServers(const NameLookups& lookups) {
  std::vector<std::string> names;
  for (const std::string& address : lookups.addressesOf(kOpenDirectoryDiscoveryHost)) {
    std::string name = lookups.nameOf(address);
    if (IsServerName(name) && std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(std::move(name));
    }
  }
  if (names.empty()) {
    return {kOpenDirectoryDiscoveryHost};
  }
  lookups.shuffle(names);
  return names;
}
