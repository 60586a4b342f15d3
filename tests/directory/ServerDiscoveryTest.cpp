// Finding the open directory's servers by name lookups.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "directory/ServerDiscovery.h"
#include "directory/ServiceHosts.h"

namespace {

// Lookups from a table: the discovery host's addresses, and each address's name.
NameLookups Table(std::vector<std::string> addresses, std::map<std::string, std::string> names) {
  return {[addresses](const std::string& host) {
            return host == kOpenDirectoryDiscoveryHost ? addresses : std::vector<std::string>();
          },
          [names](const std::string& address) {
            const auto name = names.find(address);
            return name == names.end() ? std::string() : name->second;
          },
          [](std::vector<std::string>& order) { std::reverse(order.begin(), order.end()); }};
}

TEST(ServerDiscovery, ServersAreTheDirectorysNamesOfTheDiscoveryHostsAddresses) {
  const NameLookups lookups =
      Table({"192.0.2.1", "2001:db8::1", "192.0.2.2", "192.0.2.3", "192.0.2.4", "192.0.2.5"},
            {{"192.0.2.1", "de1.api.radio-browser.info"},
             {"2001:db8::1", "de1.api.radio-browser.info"},
             {"192.0.2.2", "NL1.api.radio-browser.info."},
             {"192.0.2.3", "mirror.example.org"},
             {"192.0.2.4", "x\"y.radio-browser.info"}});
  // Each name once, lower case, in the order the shuffle gives (here: reversed).
  EXPECT_EQ(DiscoverServers(lookups),
            (std::vector<std::string>{"nl1.api.radio-browser.info", "de1.api.radio-browser.info"}));
}

TEST(ServerDiscovery, WithoutANameTheDiscoveryHostItselfIsTheServer) {
  const std::vector<std::string> fallback = {kOpenDirectoryDiscoveryHost};
  EXPECT_EQ(DiscoverServers(Table({}, {})), fallback);
  EXPECT_EQ(DiscoverServers(Table({"192.0.2.1"}, {{"192.0.2.1", "radio-browser.info"}})), fallback);
}

TEST(ServerDiscovery, SystemLookupsAnswerForLoopback) {
  // What the hosts file gives: 127.0.0.1 is first listed as "localhost".
  const NameLookups system = SystemNameLookups();
  const std::vector<std::string> addresses = system.addressesOf("localhost");
  EXPECT_NE(std::find(addresses.begin(), addresses.end(), "127.0.0.1"), addresses.end());
  EXPECT_EQ(system.nameOf("127.0.0.1"), "localhost");
  EXPECT_EQ(system.nameOf("not an address"), "");
}

}  // namespace
