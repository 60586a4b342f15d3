// Station logos: which kinds are kept, how old a kept one may grow, how long a failure is
// remembered, and in which order and how many at a time they are fetched.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "directory/LogoRules.h"
#include "tests/directory/ListWindow.h"
#include "tests/support/StationLogoHosts.h"

namespace {

using namespace std::chrono_literals;
using fixture::LogoKinds;

constexpr char kServer[] = "de1.api.radio-browser.info";

std::wstring Uuid(int n) {
  wchar_t uuid[37];
  std::swprintf(uuid, 37, L"00000000-0000-4000-8000-%012d", n);
  return uuid;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class StationLogosTest : public ListWindowTest {
 protected:
  void SetUp() override {
    ListWindowTest::SetUp();
    fixture::ServeLogos(hosts);
    client.logos.limits.connectTimeoutMs = 2000;
    client.logos.limits.stallTimeoutMs = 1000;
  }
  void TearDown() override {
    http::ClearHostMap();
    ListWindowTest::TearDown();
  }

  void Show(const std::vector<LogoRow>& rows) {
    client.logos.ShowList(stationList, client.folder, rows);
  }
  bool AllFetched() {
    return headless::RunUntil([this] { return !client.logos.Fetching(); }, 60s);
  }
  std::string Logo(int n) const { return WideToUtf8(LogoFile(client.folder, Uuid(n))); }
  std::string Mark(int n) const { return WideToUtf8(LogoFailureMark(client.folder, Uuid(n))); }
  std::size_t Asked(const fixture::LogoKind& kind) {
    return hosts.server(kind.host).CountRequests(kind.path);
  }

  fixture::OpenDirectoryServers hosts{fixture::DirectoryAndLogoHosts({kServer})};
};

TEST_F(StationLogosTest, OnlyWholePngAndJpegBodiesAreKeptAndEveryOtherKindIsAFailure) {
  std::vector<LogoRow> rows;
  for (std::size_t i = 0; i < LogoKinds().size(); ++i) {
    rows.push_back({Uuid(static_cast<int>(i)), LogoKinds()[i].address()});
  }
  rows.push_back({Uuid(99), ""});  // a station without a logo address: nothing to fetch
  rows.push_back({L"12345", "https://cdn.stationlogos.test/logos/blue-bar.png"});  // no uuid
  Show(rows);
  EXPECT_TRUE(client.logos.ListHasLogos());
  ASSERT_TRUE(AllFetched());
  for (std::size_t i = 0; i < LogoKinds().size(); ++i) {
    const fixture::LogoKind& kind = LogoKinds()[i];
    SCOPED_TRACE(kind.name);
    EXPECT_EQ(std::filesystem::exists(Logo(static_cast<int>(i))), kind.drawable);
    EXPECT_EQ(std::filesystem::exists(Mark(static_cast<int>(i))), !kind.drawable);
    EXPECT_EQ(Asked(kind), 1u);
  }
  EXPECT_EQ(ReadFile(Logo(0)), ReadFile(fixture::FixturePath("logos/logo-wide.png")));
  EXPECT_FALSE(std::filesystem::exists(Logo(99)));
  // Only logo files and failure marks are left in the folder.
  int files = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator(WideToUtf8(LogoFolder(client.folder)))) {
    ++files;
  }
  EXPECT_EQ(files, static_cast<int>(LogoKinds().size()));
}

TEST_F(StationLogosTest, AListHasLogosOnlyWithALogoAddressOrAKeptLogo) {
  Show({{Uuid(1), ""}, {L"4711", ""}});
  EXPECT_FALSE(client.logos.ListHasLogos());
  std::filesystem::create_directories(WideToUtf8(LogoFolder(client.folder)));
  std::filesystem::copy_file(fixture::FixturePath("logos/logo-wide.png"), Logo(1));
  Show({{Uuid(1), ""}, {L"4711", ""}});
  EXPECT_TRUE(client.logos.ListHasLogos());
  Show({});
  EXPECT_FALSE(client.logos.ListHasLogos());
}

TEST(LogoRules, AKeptLogoLastsThirtyDaysAndAFailureADay) {
  const FileTime now = FileTime::clock::now();
  const std::optional<FileTime> none;
  struct Case {
    const char* what;
    std::optional<FileTime> logo;
    std::optional<FileTime> failure;
    bool due;
  } cases[] = {
      {"nothing kept", none, none, true},
      {"29 days old", now - 29 * 24h, none, false},
      {"30 days old", now - 30 * 24h, none, true},
      {"failed an hour ago", none, now - 1h, false},
      {"failed 23 hours ago, old logo", now - 40 * 24h, now - 23h, false},
      {"failed 25 hours ago", none, now - 25h, true},
      {"failed long ago, fresh logo", now - 1h, now - 90 * 24h, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LogoDue(c.logo, c.failure, now), c.due) << c.what;
  }
}

TEST_F(StationLogosTest, AnOldLogoStaysWhenItsRefetchFailsAndIsNotAskedAgainForADay) {
  const fixture::LogoKind& gone = LogoKinds()[6];
  const fixture::LogoKind& png = LogoKinds()[0];
  ASSERT_EQ(gone.name, "404");
  std::filesystem::create_directories(WideToUtf8(LogoFolder(client.folder)));
  const auto age = [](const std::string& file, std::chrono::hours hours) {
    std::filesystem::last_write_time(file, FileTime::clock::now() - hours);
  };
  std::filesystem::copy_file(fixture::FixturePath("logos/logo-square.jpg"), Logo(1));
  age(Logo(1), 31 * 24h);  // due again
  std::filesystem::copy_file(fixture::FixturePath("logos/logo-square.jpg"), Logo(2));
  age(Logo(2), 29 * 24h);  // fresh

  const std::vector<LogoRow> rows = {{Uuid(1), gone.address()}, {Uuid(2), png.address()}};
  Show(rows);
  ASSERT_TRUE(AllFetched());
  EXPECT_EQ(Asked(gone), 1u);
  EXPECT_EQ(Asked(png), 0u);
  EXPECT_EQ(ReadFile(Logo(1)), ReadFile(fixture::FixturePath("logos/logo-square.jpg")));
  EXPECT_TRUE(std::filesystem::exists(Mark(1)));

  Show(rows);  // within the day: not asked
  ASSERT_TRUE(AllFetched());
  EXPECT_EQ(Asked(gone), 1u);

  age(Mark(1), 25h);
  hosts.server(gone.host).AddRoute({.path = gone.path,
                                    .headers = {{"Content-Type", "image/png"}},
                                    .bodyFile = fixture::FixturePath("logos/logo-wide.png")});
  Show(rows);  // a day later it is asked again, and the new logo replaces the old one
  ASSERT_TRUE(AllFetched());
  EXPECT_EQ(Asked(gone), 2u);
  EXPECT_EQ(ReadFile(Logo(1)), ReadFile(fixture::FixturePath("logos/logo-wide.png")));
  EXPECT_FALSE(std::filesystem::exists(Mark(1)));
}

TEST_F(StationLogosTest, TwoFetchesAtATimeAndRowsOnTheScreenBeforeTheOthers) {
  // Six stations whose logos all answer after a while; rows 4 and 5 are scrolled onto the screen
  // while the first two are fetched.
  std::vector<LogoRow> rows;
  const std::string host = fixture::kLogoHosts[0];
  for (int i = 0; i < 6; ++i) {
    const std::string path = "/slow/" + std::to_string(i) + ".png";
    hosts.server(host).AddRoute({.path = path,
                                 .headers = {{"Content-Type", "image/png"}},
                                 .bodyFile = fixture::FixturePath("logos/logo-wide.png"),
                                 .headerDelaySeconds = 3});
    rows.push_back({Uuid(i), "https://" + host + path});
  }
  client.logos.limits.stallTimeoutMs = 30000;
  Show(rows);
  ASSERT_TRUE(headless::RunUntil([&] { return hosts.server(host).Requests().size() >= 2; }, 20s));
  headless::RunFor(1s);  // both are still waiting for their answers: no third request
  EXPECT_EQ(hosts.server(host).Requests().size(), 2u);
  client.logos.RowOnScreen(5);
  client.logos.RowOnScreen(4);
  ASSERT_TRUE(AllFetched());
  std::vector<std::string> order;
  for (const fixture::LoggedRequest& request : hosts.server(host).Requests()) {
    order.push_back(request.path);
  }
  ASSERT_EQ(order.size(), 6u);
  // Two by two, as the two fetches end at about the same time.
  for (auto pair = order.begin(); pair != order.end(); pair += 2) {
    std::sort(pair, pair + 2);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"/slow/0.png", "/slow/1.png", "/slow/4.png",
                                             "/slow/5.png", "/slow/2.png", "/slow/3.png"}));
}

TEST_F(StationLogosTest, FavouritesAskTheOpenDirectoryOnceForTheirLogos) {
  const std::string known = "5a1e0c00-6b7d-4c8e-9fa0-1b2c3d4e5f00";
  const std::string unknown = "00000000-0000-4000-8000-000000000042";
  hosts.server(kServer).AddRoute(
      {.path = "/xml/stations/byuuid/" + known,
       .headers = {{"Content-Type", "text/xml"}},
       .bodyFile = fixture::FixturePath("directory/byuuid-with-logo.xml")});
  hosts.server(kServer).AddRoute(
      {.path = "/xml/stations/byuuid/" + unknown,
       .headers = {{"Content-Type", "text/xml"}},
       .bodyFile = fixture::FixturePath("directory/byuuid-unknown.xml")});
  client.openDirectory.lookups = fixture::LookupsFinding({kServer});
  std::ofstream(dir.File("radios.txt"), std::ios::binary)
      << "\r\n"
      << known << "|Kept Blue\r\n"
      << unknown << "|Gone Station\r\n4711|Old Id";

  LoadFavourites(client, window, ID_STATION_LIST);
  EXPECT_FALSE(client.logos.ListHasLogos());  // none kept yet
  ASSERT_TRUE(AllFetched());
  EXPECT_TRUE(client.logos.ListHasLogos());
  EXPECT_TRUE(std::filesystem::exists(WideToUtf8(LogoFile(client.folder, Utf8ToWide(known)))));
  LoadFavourites(client, window, ID_STATION_LIST);
  EXPECT_TRUE(client.logos.ListHasLogos());
  ASSERT_TRUE(AllFetched());
  for (const std::string& uuid : {known, unknown}) {
    EXPECT_EQ(hosts.server(kServer).CountRequests("/xml/stations/byuuid/" + uuid), 1u) << uuid;
  }
  EXPECT_EQ(Asked(LogoKinds()[0]), 1u);
}

}  // namespace
