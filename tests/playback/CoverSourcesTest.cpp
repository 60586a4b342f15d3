// The keyless cover sources behind the track-info service: when they are asked, what they may
// give, and what the run remembers of them. The services answer as the real ones do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "playback/ItunesSource.h"
#include "playback/MusicBrainzSource.h"
#include "tests/playback/CoverLookupFixture.h"

namespace {

using namespace cover_test;

constexpr char itunesSearch[] = "/search";
constexpr char musicBrainzSearch[] = "/ws/2/recording";
constexpr char chersArtwork[] = "/image/thumb/Music115/v4/cher/believe/600x600bb.jpg";
constexpr char lloydsArtwork[] = "/image/thumb/Music/v4/lloyd/source/600x600bb.jpg";
constexpr char releaseWithoutCover[] = "/release/2d8f3a4b-5c6d-4e7f-8a9b-0c1d2e3f4a5b/front-500";
constexpr char releaseWithCover[] = "/release/61bf0388-b8a9-48f4-81d1-7eb02706dfb0/front-500";
constexpr char otherArtistsRelease[] = "/release/9a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d/front-500";
constexpr char archivedCover[] =
    "/download/mbid-61bf0388-b8a9-48f4-81d1-7eb02706dfb0/"
    "mbid-61bf0388-b8a9-48f4-81d1-7eb02706dfb0-19471829441_thumb500.jpg";

class KeylessSources : public CoverLookup {
 protected:
  void SetUp() override {
    CoverLookup::SetUp();
    WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      unsetenv(name);  // the store of the United States, whatever the machine's locale
    }
  }

  void RefuseTheKey() { AnswerTrackInfo("trackinfo-invalid-key.xml", 403); }
  void AnswerItunes(const std::string& reply, int status = 0) {
    sources_.AddRoute({.path = itunesSearch,
                       .status = status,
                       .headers = {{"Content-Type", "text/javascript; charset=utf-8"}},
                       .bodyFile = fixture::FixturePath("playback/" + reply)});
  }
  void AnswerMusicBrainz(const std::string& reply, int status = 0) {
    sources_.AddRoute(
        {.path = musicBrainzSearch,
         .status = status,
         .headers = {{"Content-Type", "application/xml; charset=UTF-8"}},
         .bodyFile = reply.starts_with('/') ? reply : fixture::FixturePath("playback/" + reply)});
  }
  void ServeImage(const std::string& path, const std::string& image = "cover-believe.jpg") {
    sources_.AddRoute({.path = path, .bodyFile = fixture::FixturePath("playback/" + image)});
  }
  // The archive's releases: the first has no cover, the second redirects to its image.
  void AnswerCoverArchive() {
    sources_.AddRoute({.path = releaseWithCover,
                       .status = 307,
                       .redirect = "https://" + std::string(archiveImageHost) + archivedCover});
    ServeImage(archivedCover);
  }

  void ExpectCover(const std::string& image = "cover-believe.jpg") const {
    EXPECT_EQ(StatusText(), L"nice one");
    EXPECT_EQ(FileBytes("folder.jpg"), Fixture(image));
    EXPECT_EQ(coverImagePath.Get(), FolderFile(L"folder.jpg"));
  }
  std::size_t Asked(const char* path) const {
    return (std::string_view(path) == "/2.0/" ? server_ : sources_).CountRequests(path);
  }
  void LookUp(const wchar_t* title) {
    nowPlaying.Set(nowPlaying.Get().artistText, title);
    ASSERT_NO_FATAL_FAILURE(RunLookup());
  }
};

TEST_F(KeylessSources, RefusedKeyLeadsToItunesWhichGivesOnlyTheTracksArtistsCover) {
  RefuseTheKey();
  AnswerItunes("itunes-believe.json");
  ServeImage(chersArtwork);
  ServeImage(lloydsArtwork, "cover-png.png");
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  ExpectCover();
  EXPECT_EQ(Asked(lloydsArtwork), 0u);
  EXPECT_EQ(Asked(musicBrainzSearch), 0u);
  // An error reply is no reply to keep.
  EXPECT_FALSE(std::ifstream(dir_.File("tmp.txt")).good());
  const auto requests = sources_.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].query, "term=Cher%20Believe&entity=song&limit=5");
  EXPECT_EQ(requests[0].Header("User-Agent"), "duvEridaz");
}

TEST_F(KeylessSources, OnlyAnotherArtistOnItunesLeadsToMusicBrainzAndTheNextReleaseWithACover) {
  RefuseTheKey();
  AnswerItunes("itunes-other-artist.json");
  ServeImage(lloydsArtwork);
  AnswerMusicBrainz("musicbrainz-believe.xml");
  AnswerCoverArchive();
  ServeImage(otherArtistsRelease);
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  ExpectCover();
  EXPECT_EQ(Asked(lloydsArtwork), 0u);
  EXPECT_EQ(Asked(otherArtistsRelease), 0u);
  EXPECT_EQ(Asked(releaseWithoutCover), 1u);
  EXPECT_EQ(Asked(releaseWithCover), 1u);
  for (const auto& request : sources_.Requests()) {
    if (request.path == musicBrainzSearch) {
      EXPECT_EQ(request.query,
                "query=artist%3A%22Cher%22%20AND%20recording%3A%22Believe%22&limit=5");
      EXPECT_EQ(request.Header("User-Agent"), kMusicBrainzAgent);
    }
  }
  EXPECT_NE(std::string(kMusicBrainzAgent).find("duvEridaz"), std::string::npos);
}

TEST_F(KeylessSources, NoSourceWithACoverSaysBuuuuAndKeepsTheOldCover) {
  RefuseTheKey();
  AnswerItunes("itunes-other-artist.json");
  AnswerMusicBrainz("musicbrainz-believe.xml");
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  ExpectPlaceholderWithTheOldCoverKept();
  EXPECT_EQ(Asked(releaseWithCover), 1u);
  EXPECT_FALSE(std::ifstream(dir_.File("tmp.txt")).good());
}

TEST_F(KeylessSources, SourceAnsweringTooManyIsPassedOverDuringItsPause) {
  RefuseTheKey();
  AnswerItunes("itunes-believe.json", 429);
  AnswerMusicBrainz("musicbrainz-believe.xml");
  AnswerCoverArchive();
  ASSERT_NO_FATAL_FAILURE(RunLookup());
  ExpectCover();

  LookUp(L"Strong Enough");
  ExpectCover();
  EXPECT_EQ(Asked(itunesSearch), 1u);
  EXPECT_EQ(Asked(musicBrainzSearch), 2u);
}

TEST_F(KeylessSources, TrackInfoRefusalsAreRememberedForTheRun) {
  struct Case {
    const char* reply;
    int status;
    std::size_t askedInThreeTitles;
  };
  for (const Case& c :
       {Case{"trackinfo-invalid-key.xml", 403, 1}, Case{"trackinfo-invalid-key.xml", 200, 1},
        Case{"trackinfo-rate-limit.xml", 403, 1}, Case{"empty-reply.xml", 500, 3}}) {
    SCOPED_TRACE(std::string(c.reply) + " " + std::to_string(c.status));
    coverMemory.Clear();
    server_.ClearLog();
    AnswerTrackInfo(c.reply, c.status);
    AnswerItunes("itunes-believe.json");
    ServeImage(chersArtwork);
    for (const wchar_t* title : {L"Believe", L"Strong Enough", L"If I Could Turn Back Time"}) {
      LookUp(title);
      ExpectCover();
    }
    EXPECT_EQ(Asked("/2.0/"), c.askedInThreeTitles);
  }
}

TEST_F(KeylessSources, RepeatedTrackAsksNobody) {
  RefuseTheKey();
  AnswerItunes("itunes-believe.json");
  ServeImage(chersArtwork);
  ASSERT_NO_FATAL_FAILURE(RunLookup());
  ExpectCover();

  WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
  server_.ClearLog();
  sources_.ClearLog();
  LookUp(L"Believe");  // the same query title, announced without the bracket
  ExpectCover();
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_TRUE(sources_.Requests().empty());
}

TEST_F(KeylessSources, PngCoverIsKeptAsItCame) {
  RefuseTheKey();
  AnswerItunes("itunes-believe.json");
  ServeImage(chersArtwork, "cover-png.png");
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  ExpectCover("cover-png.png");
}

TEST_F(KeylessSources, QueriesArePercentEncodedUtf8) {
  struct Case {
    const wchar_t* artist;
    const wchar_t* title;
    const char* itunesQuery;
    const char* musicBrainzQuery;
  };
  for (const Case& c : {
           Case{L"Simon & Garfunkel", L"Mrs. Robinson (Live)",
                "term=Simon%20%26%20Garfunkel%20Mrs.%20Robinson&entity=song&limit=5",
                "query=artist%3A%22Simon%20%26%20Garfunkel%22%20AND%20recording%3A%22Mrs."
                "%20Robinson%22&limit=5"},
           Case{L"坂本龍一", L"戦場のメリークリスマス",
                "term=%E5%9D%82%E6%9C%AC%E9%BE%8D%E4%B8%80%20%E6%88%A6%E5%A0%B4%E3%81%AE%E3%83"
                "%A1%E3%83%AA%E3%83%BC%E3%82%AF%E3%83%AA%E3%82%B9%E3%83%9E%E3%82%B9"
                "&entity=song&limit=5",
                "query=artist%3A%22%E5%9D%82%E6%9C%AC%E9%BE%8D%E4%B8%80%22%20AND%20recording"
                "%3A%22%E6%88%A6%E5%A0%B4%E3%81%AE%E3%83%A1%E3%83%AA%E3%83%BC%E3%82%AF%E3%83%AA"
                "%E3%82%B9%E3%83%9E%E3%82%B9%22&limit=5"},
       }) {
    sources_.ClearLog();
    RefuseTheKey();
    nowPlaying.Set(c.artist, L"");
    LookUp(c.title);

    const auto requests = sources_.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].query, c.itunesQuery);
    EXPECT_EQ(requests[1].query, c.musicBrainzQuery);
  }
}

constexpr char albumGroupCover[] = "/release-group/d5b2a6c4-8e7f-3a1b-9c2d-4e5f6a7b8c9d/front-500";

TEST(MusicBrainzReply, AlbumsAndSinglesComeBeforeCompilationsEachGroupsCoverFirstEachAddressOnce) {
  const SourceAnswer answer = MusicBrainzCovers(Fixture("musicbrainz-hit.xml"), "Cher");
  const std::string archive = "https://coverartarchive.org";
  const std::vector<std::string> expected = {
      archive + albumGroupCover,
      archive + releaseWithCover,
      archive + "/release-group/7c5e8f3a-1b2d-3c4e-9f8a-6b5c4d3e2f1a/front-500",
      archive + releaseWithoutCover,
      archive + "/release-group/3c4d5e6f-7a8b-3c9d-8e0f-1a2b3c4d5e6f/front-500",
      archive + "/release/8e1f4b2c-6d3a-4e5f-9a7b-1c2d3e4f5a6b/front-500"};
  ASSERT_EQ(answer.kind, SourceAnswer::Found);
  ASSERT_EQ(answer.images.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(answer.images[i], expected[i]) << i;
  }
}

TEST_F(KeylessSources, ReleaseGroupCoverIsFollowedThroughItsRedirectBeforeAnyRelease) {
  RefuseTheKey();
  AnswerItunes("itunes-other-artist.json");
  AnswerMusicBrainz("musicbrainz-hit.xml");
  sources_.AddRoute({.path = albumGroupCover,
                     .status = 307,
                     .redirect = "https://" + std::string(archiveImageHost) + archivedCover});
  ServeImage(archivedCover);
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  ExpectCover();
  EXPECT_EQ(Asked(albumGroupCover), 1u);
  EXPECT_EQ(Asked(releaseWithCover), 0u);
}

TEST_F(KeylessSources, MusicBrainzReplyIsReadUpToFourMegabytes) {
  // A hit's reply: the recordings above, then other artists' recordings that list many releases.
  const std::string hit = Fixture("musicbrainz-hit.xml");
  const std::size_t end = hit.rfind("</recording-list>");
  const std::string otherRecording =
      "<recording id=\"0a1b2c3d-4e5f-4a6b-8c7d-8e9f0a1b2c3d\" ns2:score=\"50\"><title>Believe"
      "</title><artist-credit><name-credit><artist id=\"0f4c9d2a-7b1e-4c3d-8e5f-6a7b8c9d0e1f\">"
      "<name>Cher Lloyd</name></artist></name-credit></artist-credit><release-list>" +
      [] {
        std::string releases;
        for (int i = 0; i < 100; ++i) {
          releases +=
              "<release id=\"9a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d\"><title>Sorry I'm Late"
              "</title><status>Official</status></release>";
        }
        return releases;
      }() +
      "</release-list></recording>";
  sources_.AddRoute(
      {.path = albumGroupCover, .bodyFile = fixture::FixturePath("playback/cover-believe.jpg")});
  for (const std::size_t megabytes : {2, 5}) {
    SCOPED_TRACE(megabytes);
    std::string reply = hit.substr(0, end);
    while (reply.size() < megabytes << 20) {
      reply += otherRecording;
    }
    reply += hit.substr(end);
    WriteBytes(dir_.File("reply.xml"), reply);
    AnswerMusicBrainz(dir_.File("reply.xml"));
    coverMemory.Clear();
    RefuseTheKey();
    AnswerItunes("itunes-other-artist.json");
    WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
    ASSERT_NO_FATAL_FAILURE(RunLookup());
    if (megabytes == 2) {
      ExpectCover();
    } else {
      ExpectPlaceholderWithTheOldCoverKept();
    }
  }
}

TEST_F(KeylessSources, ItunesForbiddenAndMusicBrainzUnavailableArePausesToo) {
  for (const auto& [itunesStatus, musicBrainzStatus] : {std::pair{403, 0}, std::pair{0, 503}}) {
    SCOPED_TRACE(std::to_string(itunesStatus) + " " + std::to_string(musicBrainzStatus));
    coverMemory.Clear();
    sources_.ClearLog();
    RefuseTheKey();
    AnswerItunes(itunesStatus == 0 ? "itunes-other-artist.json" : "itunes-believe.json",
                 itunesStatus);
    AnswerMusicBrainz("musicbrainz-believe.xml", musicBrainzStatus);
    AnswerCoverArchive();
    for (const wchar_t* title : {L"Believe", L"Strong Enough"}) {
      LookUp(title);
    }
    EXPECT_EQ(Asked(itunesSearch), itunesStatus == 0 ? 2u : 1u);
    EXPECT_EQ(Asked(musicBrainzSearch), musicBrainzStatus == 0 ? 2u : 1u);
  }
}

TEST_F(KeylessSources, ItunesIsAskedInTheStoreOfTheUsersLocale) {
  const struct {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* country;  // nullptr: none, the service's own default
  } cases[] = {
      {nullptr, nullptr, "de_DE.UTF-8", "DE"},       {nullptr, "fr_CA.UTF-8", "de_DE.UTF-8", "CA"},
      {"pt_br", "fr_CA.UTF-8", "de_DE.UTF-8", "BR"}, {"", nullptr, "sr_RS@latin", "RS"},
      {nullptr, nullptr, "C.UTF-8", nullptr},        {"POSIX", nullptr, "de_DE.UTF-8", nullptr},
      {nullptr, nullptr, "en_US1.UTF-8", nullptr},   {nullptr, nullptr, nullptr, nullptr}};
  for (const auto& each : cases) {
    const std::pair<const char*, const char*> variables[] = {
        {"LC_ALL", each.lcAll}, {"LC_MESSAGES", each.lcMessages}, {"LANG", each.lang}};
    for (const auto& [name, value] : variables) {
      value == nullptr ? unsetenv(name) : setenv(name, value, 1);
    }
    EXPECT_EQ(LocaleCountry(),
              each.country ? std::optional<std::string>(each.country) : std::nullopt)
        << (each.lang ? each.lang : "-");
  }
  setenv("LANG", "de_DE.UTF-8", 1);
  RefuseTheKey();
  AnswerItunes("itunes-believe.json");
  ServeImage(chersArtwork);
  ASSERT_NO_FATAL_FAILURE(RunLookup());
  ExpectCover();
  EXPECT_EQ(sources_.Requests().at(0).query, "term=Cher%20Believe&entity=song&limit=5&country=DE");
}

}  // namespace
