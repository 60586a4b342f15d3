// The common libcurl setup against the fixture server on loopback.
#include "platform/HttpClient.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

namespace {

using fixture::HttpFixture;
using fixture::Route;

constexpr char kAgent[] = "duvEridaz";

struct Fetched {
  CURLcode result = CURLE_OK;
  long status = 0;
  std::string body;
};

size_t Collect(char* data, size_t size, size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

Fetched Fetch(const std::string& url, const http::Limits& limits = {}) {
  http::EasyHandle handle(url, kAgent, limits);
  Fetched fetched;
  EXPECT_NE(handle.get(), nullptr);
  handle.Set(CURLOPT_WRITEFUNCTION, Collect);
  handle.Set(CURLOPT_WRITEDATA, &fetched.body);
  fetched.result = handle.Perform();
  curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &fetched.status);
  return fetched;
}

http::Limits QuickStall() {
  http::Limits limits;
  limits.connectTimeoutMs = 2000;
  limits.stallTimeoutMs = 1000;
  return limits;
}

TEST(HttpClientRequest, SendsTheAgentNameAndAsksPastEveryCache) {
  HttpFixture server;
  server.AddRoute({.path = "/hello", .body = "hi"});
  const Fetched fetched = Fetch(server.BaseUrl() + "/hello");
  ASSERT_EQ(fetched.result, CURLE_OK);
  EXPECT_EQ(fetched.body, "hi");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("User-Agent"), kAgent);
  EXPECT_EQ(requests[0].Header("Cache-Control"), "no-cache");
  EXPECT_EQ(requests[0].Header("Pragma"), "no-cache");
}

TEST(HttpClientRequest, AddedHeaderKeepsTheNoCacheHeaders) {
  HttpFixture server;
  server.AddRoute({.path = "/hello", .body = "hi"});
  http::EasyHandle handle(server.BaseUrl() + "/hello", kAgent);
  EXPECT_TRUE(handle.AddRequestHeader("Icy-MetaData: 1"));
  std::string body;
  handle.Set(CURLOPT_WRITEFUNCTION, Collect);
  handle.Set(CURLOPT_WRITEDATA, &body);
  ASSERT_EQ(handle.Perform(), CURLE_OK);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("Icy-MetaData"), "1");
  EXPECT_EQ(requests[0].Header("Cache-Control"), "no-cache");
}

// libcurl refuses an option's text longer than 8,000,000 bytes: a refused option fails the
// request and nothing is sent, whether it is one of the common options or one of the caller's.
TEST(HttpClientRequest, ARefusedOptionFailsTheRequestUnsent) {
  HttpFixture server;
  server.AddRoute({.path = "/hello", .body = "hi"});
  const std::string tooLong(8000001, 'a');
  EXPECT_EQ(http::EasyHandle(server.BaseUrl() + "/hello", tooLong).get(), nullptr);
  http::EasyHandle handle(server.BaseUrl() + "/hello", kAgent);
  EXPECT_FALSE(handle.Set(CURLOPT_REFERER, tooLong.c_str()));
  EXPECT_FALSE(handle.AddRequestHeader("Icy-MetaData: 1"));
  EXPECT_EQ(handle.Perform(), CURLE_BAD_FUNCTION_ARGUMENT);
  EXPECT_TRUE(server.Requests().empty());
}

TEST(HttpClientRedirect, FollowsToTheNewPlace) {
  HttpFixture server;
  server.AddRoute({.path = "/old", .redirect = "/new"});
  server.AddRoute({.path = "/new", .body = "moved here"});
  const Fetched fetched = Fetch(server.BaseUrl() + "/old");
  ASSERT_EQ(fetched.result, CURLE_OK);
  EXPECT_EQ(fetched.status, 200);
  EXPECT_EQ(fetched.body, "moved here");
}

TEST(HttpClientRedirect, EndlessLoopStopsAtTheCap) {
  HttpFixture server;
  server.AddRoute({.path = "/loop", .redirect = "/loop"});
  const Fetched fetched = Fetch(server.BaseUrl() + "/loop");
  EXPECT_EQ(fetched.result, CURLE_TOO_MANY_REDIRECTS);
  EXPECT_LE(server.CountRequests("/loop"), 20u);
}

TEST(HttpClientRedirect, NeverLeavesHttpAndHttps) {
  HttpFixture server;
  server.AddRoute({.path = "/to-file", .redirect = "file:///etc/passwd"});
  const Fetched fetched = Fetch(server.BaseUrl() + "/to-file");
  EXPECT_NE(fetched.result, CURLE_OK);
  EXPECT_EQ(fetched.body.find("root:"), std::string::npos);
  EXPECT_NE(Fetch("file:///etc/passwd").result, CURLE_OK);
}

TEST(HttpClientTimeout, StalledBodyFailsAfterTheStallTime) {
  HttpFixture server;
  server.AddRoute({.path = "/stall", .hugeBody = 100000, .stallAfter = 1000, .stallSeconds = 60});
  const Fetched fetched = Fetch(server.BaseUrl() + "/stall", QuickStall());
  EXPECT_EQ(fetched.result, CURLE_OPERATION_TIMEDOUT);
  EXPECT_EQ(fetched.body.size(), 1000u);
}

TEST(HttpClientTimeout, SilentServerBeforeTheHeadersCountsAsAStall) {
  HttpFixture server;
  server.AddRoute({.path = "/silent", .body = "late", .headerDelaySeconds = 60});
  const Fetched fetched = Fetch(server.BaseUrl() + "/silent", QuickStall());
  EXPECT_EQ(fetched.result, CURLE_OPERATION_TIMEDOUT);
}

TEST(HttpClientTimeout, SlowSteadyBodyIsNeverCutOff) {
  HttpFixture server;
  // About three seconds at a steady pace, well past the one-second stall time.
  server.AddRoute({.path = "/slow", .hugeBody = 3000, .trickleBytesPerSecond = 1000});
  const Fetched fetched = Fetch(server.BaseUrl() + "/slow", QuickStall());
  EXPECT_EQ(fetched.result, CURLE_OK);
  EXPECT_EQ(fetched.body.size(), 3000u);
}

TEST(HttpClientTimeout, TotalTimeEndsASlowSteadyBody) {
  HttpFixture server;
  server.AddRoute({.path = "/slow", .hugeBody = 3000, .trickleBytesPerSecond = 1000});
  http::Limits limits = QuickStall();
  limits.totalTimeoutMs = 1000;
  const Fetched fetched = Fetch(server.BaseUrl() + "/slow", limits);
  EXPECT_EQ(fetched.result, CURLE_OPERATION_TIMEDOUT);
  EXPECT_LT(fetched.body.size(), 3000u);
}

TEST(HttpClientHostMap, BuiltInHostReachesTheLoopbackServer) {
  HttpFixture server;
  server.AddRoute({.path = "/list", .body = "mapped"});
  http::MapHost("directory.invalid", 80, "127.0.0.1", server.port());
  const Fetched fetched = Fetch("http://directory.invalid/list");
  http::ClearHostMap();
  ASSERT_EQ(fetched.result, CURLE_OK);
  EXPECT_EQ(fetched.body, "mapped");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("Host"), "directory.invalid");
  EXPECT_NE(Fetch("http://directory.invalid/list", QuickStall()).result, CURLE_OK);
}

TEST(HttpClientTls, SelfSignedServerIsReachedOnlyWhenTrusted) {
  fixture::TempDir dir;
  HttpFixture server({.certificate = fixture::MakeSelfSignedCertificate(dir.path())});
  server.AddRoute({.path = "/secure", .body = "over tls"});
  ASSERT_EQ(server.BaseUrl().rfind("https://", 0), 0u);

  EXPECT_EQ(Fetch(server.BaseUrl() + "/secure", QuickStall()).result,
            CURLE_PEER_FAILED_VERIFICATION);

  http::TrustCertificateFile(dir.path() + "/cert.pem");
  const Fetched fetched = Fetch(server.BaseUrl() + "/secure");
  http::TrustCertificateFile("");
  ASSERT_EQ(fetched.result, CURLE_OK);
  EXPECT_EQ(fetched.body, "over tls");
}

TEST(HttpClientIcyStatus, Icy200OkIsAnOrdinarySuccess) {
  HttpFixture server;
  server.AddRoute({.path = "/stream",
                   .statusLine = "ICY 200 OK",
                   .headers = {{"icy-name", "Tone"}},
                   .body = "audio bytes"});
  const Fetched fetched = Fetch(server.BaseUrl() + "/stream");
  ASSERT_EQ(fetched.result, CURLE_OK);
  EXPECT_EQ(fetched.status, 200);
  EXPECT_EQ(fetched.body, "audio bytes");
}

TEST(HttpClientIcyStatus, Icy200OkIsAcceptedAfterARedirect) {
  HttpFixture server;
  server.AddRoute({.path = "/listen", .redirect = "/stream"});
  server.AddRoute({.path = "/stream", .statusLine = "ICY 200 OK", .body = "audio bytes"});
  const Fetched fetched = Fetch(server.BaseUrl() + "/listen");
  ASSERT_EQ(fetched.result, CURLE_OK);
  EXPECT_EQ(fetched.body, "audio bytes");
}

TEST(HttpClientIcyStatus, IcyRefusalIsNeverTurnedIntoSuccess) {
  HttpFixture server;
  server.AddRoute({.path = "/stream", .statusLine = "ICY 401 Unauthorized", .body = "no"});
  const Fetched fetched = Fetch(server.BaseUrl() + "/stream");
  EXPECT_FALSE(fetched.result == CURLE_OK && fetched.status == 200);
}

}  // namespace
