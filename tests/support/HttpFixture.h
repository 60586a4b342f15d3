// Starts tests/support/fixture_server.py on a free loopback port and talks to its control paths.
// Failures to start or to reach the server throw std::runtime_error (a test reports them).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/ChildProcess.h"

namespace fixture {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// One answer of the server; fields left at their defaults are not sent to it.
// See fixture_server.py for what each one does.
struct Route {
  std::string path{};
  std::string query{};       // empty: any query
  int status = 0;            // 0: 200 (302 with redirect)
  std::string statusLine{};  // a raw status line such as "ICY 200 OK"
  HeaderList headers{};
  std::string body{};
  std::string bodyFile{};
  long long hugeBody = -1;
  bool contentLength = true;
  std::string redirect{};
  double headerDelaySeconds = 0;
  long long stallAfter = -1;
  double stallSeconds = 0;
  long long dropAfter = -1;
  long long trickleBytesPerSecond = 0;
  std::string generator{};
  std::string extraJson{};  // more `"key": value` members for a generator, comma-separated
  // At most one: the route that answers from the second request on.
  std::vector<Route> then{};
};

struct LoggedRequest {
  std::string method;
  std::string path;   // raw, as received
  std::string query;  // raw, as received
  HeaderList headers;

  // The value of the first header with this name (any case), or empty.
  std::string Header(std::string_view name) const;
};

struct Certificate {
  std::string certFile;
  std::string keyFile;
};

// Writes a self-signed certificate for 127.0.0.1, localhost and `hostNames` into `dir` with
// openssl. A host sent to the server with http::MapHost keeps its own name for TLS, so a server
// that plays a named HTTPS service needs that name here.
Certificate MakeSelfSignedCertificate(const std::string& dir,
                                      const std::vector<std::string>& hostNames = {});

class HttpFixture {
 public:
  struct Options {
    std::string routesFile{};   // JSON routes loaded at start
    Certificate certificate{};  // HTTPS when set
  };

  HttpFixture();
  explicit HttpFixture(const Options& options);
  HttpFixture(const HttpFixture&) = delete;
  HttpFixture& operator=(const HttpFixture&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:PORT" (https when started with a certificate).
  std::string BaseUrl() const;

  void AddRoute(const Route& route);
  std::vector<LoggedRequest> Requests() const;
  // How many requests asked for this path (any query).
  std::size_t CountRequests(std::string_view path) const;
  void ClearLog();

 private:
  std::string Control(const std::string& path, const std::string* postBody) const;

  std::unique_ptr<ChildProcess> server_;
  int port_ = 0;
  bool tls_ = false;
  std::string caFile_;
};

// The folder of fixture files: tests/fixtures/<folder>.
std::string FixturePath(std::string_view relative);

}  // namespace fixture
