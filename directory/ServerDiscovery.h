// Finding the open directory's servers: its discovery name resolves to every server's address,
// and each address's reverse lookup gives that server's own name.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The name lookups discovery needs. The program uses the system's resolver; tests give tables.
struct NameLookups {
  // The numeric addresses a host name resolves to; none when it does not resolve.
  std::function<std::vector<std::string>(const std::string& host)> addressesOf;
  // The name a numeric address reverse-resolves to; empty when it has none.
  std::function<std::string(const std::string& address)> nameOf;
  // Puts the server names in the order they are tried.
  std::function<void(std::vector<std::string>& names)> shuffle;
};

// getaddrinfo and getnameinfo, and a random order. Blocks while the resolver works.
NameLookups SystemNameLookups();

// The server names, each once, in the lookups' shuffled order: the reverse-resolved names of
// the discovery host's addresses that lie in the open directory's domain and are plain host
// names. When there is none, the discovery host itself. Blocks while the lookups run.
std::vector<std::string> DiscoverServers(const NameLookups& lookups);
