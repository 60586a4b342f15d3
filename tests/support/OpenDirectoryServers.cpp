#include "tests/support/OpenDirectoryServers.h"

#include "directory/ServiceHosts.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackPort.h"

namespace fixture {
namespace {

// TEST-NET-1: addresses that belong to no one, so a lookup table can hand them out.
std::string AddressOf(std::size_t index) {
  return "192.0.2." + std::to_string(index + 1);
}

}  // namespace

OpenDirectoryServers::OpenDirectoryServers(const std::vector<std::string>& names) : names_(names) {
  const Certificate certificate = MakeSelfSignedCertificate(certificateDir_.path(), names);
  for (const std::string& name : names) {
    auto server = std::make_unique<HttpFixture>(HttpFixture::Options{.certificate = certificate});
    http::MapHost(name, kOpenDirectoryPort, "127.0.0.1", server->port());
    servers_[name] = std::move(server);
  }
  http::TrustCertificateFile(certificate.certFile);
}

OpenDirectoryServers::~OpenDirectoryServers() {
  http::TrustCertificateFile("");
}

NameLookups LookupsFinding(const std::vector<std::string>& names) {
  return {[names](const std::string& host) {
            std::vector<std::string> addresses;
            if (host == kOpenDirectoryDiscoveryHost) {
              for (std::size_t i = 0; i < names.size(); ++i) {
                addresses.push_back(AddressOf(i));
              }
            }
            return addresses;
          },
          [names](const std::string& address) {
            for (std::size_t i = 0; i < names.size(); ++i) {
              if (address == AddressOf(i)) {
                return names[i];
              }
            }
            return std::string();
          },
          [](std::vector<std::string>&) {}};
}

void OpenDirectoryServers::Refuse(const std::string& name) const {
  http::MapHost(name, kOpenDirectoryPort, "127.0.0.1", FreeLoopbackPort());
}

}  // namespace fixture
