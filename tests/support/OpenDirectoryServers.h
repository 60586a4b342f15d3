// The open directory's servers on loopback: each server name is played by a fixture server of
// its own over HTTPS (one certificate names them all), and a table stands in for the resolver.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "directory/ServerDiscovery.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

namespace fixture {

// Lookups that find exactly these server names, in their order: the discovery host resolves to
// one documentation address per name, each reverse-resolving to its name.
NameLookups LookupsFinding(const std::vector<std::string>& names);

// Servers for the names, found by Lookups() in the order given.
class OpenDirectoryServers {
 public:
  // Starts the servers, maps their names (port 443) to them and trusts their certificate.
  explicit OpenDirectoryServers(const std::vector<std::string>& names);
  // Trusts the system's certificates again; the host map is left to the caller.
  ~OpenDirectoryServers();
  OpenDirectoryServers(const OpenDirectoryServers&) = delete;
  OpenDirectoryServers& operator=(const OpenDirectoryServers&) = delete;

  HttpFixture& server(const std::string& name) { return *servers_.at(name); }
  // LookupsFinding(the names).
  NameLookups Lookups() const { return LookupsFinding(names_); }
  // From now on connections to this server are refused.
  void Refuse(const std::string& name) const;

 private:
  TempDir certificateDir_;
  std::vector<std::string> names_;
  std::map<std::string, std::unique_ptr<HttpFixture>> servers_;
};

}  // namespace fixture
