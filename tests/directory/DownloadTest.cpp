// Fetching an address into a file of the folder, against the fixture server on loopback.
#include "directory/Download.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "directory/WebClient.h"
#include "platform/Utf8.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

namespace {

using fixture::HttpFixture;
using fixture::Route;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t FilesIn(const std::string& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
    ++count;
  return count;
}

class Download : public ::testing::Test {
 protected:
  void SetUp() override { std::wcscpy(client_.folder, Utf8ToWide(dir_.path() + "/").c_str()); }
  int Fetch(const std::wstring& name, const std::string& path,
            const http::Limits& limits = DownloadLimits()) {
    return DownloadToFile(client_, name.c_str(), server_.BaseUrl() + path, limits);
  }
  std::string File(const std::string& name) const { return dir_.File(name); }

  fixture::TempDir dir_;
  WebClient client_;
  HttpFixture server_;
};

http::Limits QuickStall() {
  http::Limits limits = DownloadLimits();
  limits.connectTimeoutMs = 2000;
  limits.stallTimeoutMs = 1000;
  return limits;
}

TEST_F(Download, BodyIsStoredByteForByteWithTheAgentName) {
  server_.AddRoute({.path = "/reply", .body = std::string("head\0tail\r\n", 11)});
  ASSERT_EQ(Fetch(L"tmp.txt", "/reply"), 0);
  EXPECT_EQ(ReadFile(File("tmp.txt")), std::string("head\0tail\r\n", 11));
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("User-Agent"), "duvEridaz");
  EXPECT_EQ(requests[0].Header("Cache-Control"), "no-cache");
}

TEST_F(Download, CompressedReplyIsStoredDecodedAndItsCapCountsDecodedBytes) {
  const std::string list = fixture::FixturePath("directory/open-stations.xml");
  server_.AddRoute({.path = "/list", .bodyFile = list, .extraJson = R"("gzip": true)"});
  ASSERT_EQ(Fetch(L"Jazz", "/list"), 0);
  EXPECT_EQ(ReadFile(File("Jazz")), ReadFile(list));
  EXPECT_NE(server_.Requests().at(0).Header("Accept-Encoding").find("gzip"), std::string::npos);

  // 300 kB that compress to about 1 kB on the wire are still over a 100 kB cap.
  server_.AddRoute({.path = "/bomb", .hugeBody = 300000, .extraJson = R"("gzip": true)"});
  http::Limits limits = DownloadLimits();
  limits.maxBodyBytes = 100000;
  EXPECT_EQ(Fetch(L"bomb", "/bomb", limits), 1);
  EXPECT_FALSE(std::filesystem::exists(File("bomb")));
}

TEST_F(Download, LongBodyArrivesWhole) {
  server_.AddRoute({.path = "/big", .hugeBody = 300000});
  ASSERT_EQ(Fetch(L"big", "/big"), 0);
  const std::string body = ReadFile(File("big"));
  ASSERT_EQ(body.size(), 300000u);
  EXPECT_EQ(body.substr(0, 16), "0123456789abcdef");
  EXPECT_EQ(body.substr(299984), "0123456789abcdef");
}

TEST_F(Download, EmptyBodyGivesAnEmptyFile) {
  server_.AddRoute({.path = "/empty"});
  ASSERT_EQ(Fetch(L"empty", "/empty"), 0);
  EXPECT_TRUE(std::filesystem::exists(File("empty")));
  EXPECT_EQ(ReadFile(File("empty")), "");
}

TEST_F(Download, ExistingFileIsReplacedWholeNeverAppendedTo) {
  WriteFile(File("Jazz"), std::string(10000, 'o'));
  server_.AddRoute({.path = "/new", .body = "fresh"});
  ASSERT_EQ(Fetch(L"Jazz", "/new"), 0);
  EXPECT_EQ(ReadFile(File("Jazz")), "fresh");
}

TEST_F(Download, ErrorStatusKeepsTheOldFileAndLeavesNoNewOne) {
  WriteFile(File("kept"), "old content");
  server_.AddRoute({.path = "/missing", .status = 404, .body = "not here"});
  server_.AddRoute({.path = "/broken",
                    .status = 500,
                    .bodyFile = fixture::FixturePath("directory/error-page.html")});
  EXPECT_EQ(Fetch(L"kept", "/missing"), 1);
  EXPECT_EQ(Fetch(L"kept", "/broken"), 1);
  EXPECT_EQ(ReadFile(File("kept")), "old content");
  EXPECT_EQ(Fetch(L"Blues", "/broken"), 1);
  EXPECT_FALSE(std::filesystem::exists(File("Blues")));
  EXPECT_EQ(FilesIn(dir_.path()), 1u);
}

TEST_F(Download, DroppedConnectionLeavesNoFile) {
  server_.AddRoute({.path = "/drop", .hugeBody = 100000, .dropAfter = 5000});
  EXPECT_EQ(Fetch(L"Rock", "/drop"), 1);
  EXPECT_EQ(FilesIn(dir_.path()), 0u);
}

TEST_F(Download, RedirectIsFollowed) {
  server_.AddRoute({.path = "/old", .redirect = "/new"});
  server_.AddRoute({.path = "/new", .body = "moved"});
  ASSERT_EQ(Fetch(L"moved.txt", "/old"), 0);
  EXPECT_EQ(ReadFile(File("moved.txt")), "moved");
}

TEST_F(Download, StalledServerGivesOneWithinTheTimeOut) {
  server_.AddRoute({.path = "/stall", .hugeBody = 50000, .stallAfter = 2000, .stallSeconds = 120});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Fetch(L"stalled", "/stall", QuickStall()), 1);
  // Far below the server's two minutes: the stall time-out ended it.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  EXPECT_EQ(FilesIn(dir_.path()), 0u);
}

TEST_F(Download, BodyOverTheCapIsRefusedWithOrWithoutALength) {
  http::Limits limits = DownloadLimits();
  limits.maxBodyBytes = 10000;
  server_.AddRoute({.path = "/announced", .hugeBody = 20000});
  server_.AddRoute({.path = "/unannounced", .hugeBody = 20000, .contentLength = false});
  server_.AddRoute({.path = "/fits", .hugeBody = 10000, .contentLength = false});
  EXPECT_EQ(Fetch(L"a", "/announced", limits), 1);
  EXPECT_EQ(Fetch(L"b", "/unannounced", limits), 1);
  EXPECT_EQ(FilesIn(dir_.path()), 0u);
  EXPECT_EQ(Fetch(L"c", "/fits", limits), 0);
  EXPECT_EQ(ReadFile(File("c")).size(), 10000u);
}

TEST_F(Download, NameThatLeavesTheFolderIsRefusedWithoutARequest) {
  server_.AddRoute({.path = "/list", .body = "x"});
  for (const wchar_t* name : {L"../escape", L"a/b", L"..", L".", L"", L"a\\b", L"line\nbreak"}) {
    EXPECT_EQ(Fetch(name, "/list"), 1) << WideToUtf8(name);
  }
  EXPECT_EQ(server_.CountRequests("/list"), 0u);
  EXPECT_EQ(FilesIn(dir_.path()), 0u);
}

TEST_F(Download, UnreachableOrOverlongAddressGivesOne) {
  std::string closedPort;
  {
    HttpFixture gone;
    closedPort = gone.BaseUrl() + "/x";
  }
  EXPECT_EQ(DownloadToFile(client_, L"gone", closedPort, QuickStall()), 1);
  EXPECT_EQ(
      DownloadToFile(client_, L"long", "http://127.0.0.1/" + std::string(250, 'a'), QuickStall()),
      1);
  EXPECT_EQ(DownloadToFile(client_, L"file", "file:///etc/hostname", QuickStall()), 1);
  EXPECT_EQ(FilesIn(dir_.path()), 0u);
}

TEST_F(Download, TwoThreadsDownloadAtOnceEachIntoItsOwnFile) {
  // The album-art worker and the window thread may both be downloading.
  server_.AddRoute({.path = "/cover", .hugeBody = 200000, .trickleBytesPerSecond = 400000});
  server_.AddRoute(
      {.path = "/list", .bodyFile = fixture::FixturePath("directory/stations-basic.xml")});
  int coverResult = -1;
  std::thread worker([&] { coverResult = Fetch(L"folder.jpg", "/cover"); });
  const int listResult = Fetch(L"Ambient", "/list");
  worker.join();
  EXPECT_EQ(coverResult, 0);
  EXPECT_EQ(listResult, 0);
  EXPECT_EQ(ReadFile(File("folder.jpg")).size(), 200000u);
  EXPECT_EQ(ReadFile(File("Ambient")),
            ReadFile(fixture::FixturePath("directory/stations-basic.xml")));
  EXPECT_EQ(FilesIn(dir_.path()), 2u);
}

}  // namespace
