#include "audio/Playlist.h"
#include "platform/HttpClient.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace audio {
namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(TUNEDECK_FIXTURES) + "/audio/playlists/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

using Urls = std::vector<std::string>;

TEST(Playlist, RecognisedByContentTypeInAnyCase) {
  EXPECT_EQ(DetectPlaylist("audio/x-scpls", ""), PlaylistKind::Pls);
  EXPECT_EQ(DetectPlaylist("Audio/X-MpegURL; charset=utf-8", ""), PlaylistKind::M3u);
  EXPECT_EQ(DetectPlaylist("application/vnd.apple.mpegurl", ""), PlaylistKind::M3u);
  EXPECT_EQ(DetectPlaylist("audio/mpeg", "\xff\xfb\x90\x64"), PlaylistKind::None);
}

TEST(Playlist, RecognisedByContentWhenTheTypeSaysNothing) {
  EXPECT_EQ(DetectPlaylist("text/plain", Fixture("two-entries.pls")), PlaylistKind::Pls);
  EXPECT_EQ(DetectPlaylist("", Fixture("mixed-keys.pls")), PlaylistKind::Pls);
  EXPECT_EQ(DetectPlaylist("application/octet-stream", Fixture("extended.m3u")), PlaylistKind::M3u);
  EXPECT_EQ(DetectPlaylist("text/plain", "\xEF\xBB\xBF" + Fixture("plain.m3u")), PlaylistKind::M3u);
  EXPECT_EQ(DetectPlaylist("text/html", Fixture("page.html")), PlaylistKind::None);
}

TEST(Playlist, PlsEntriesInNumberOrder) {
  EXPECT_EQ(
      ParsePlaylist(PlaylistKind::Pls, Fixture("two-entries.pls"), "http://dir.example/x.pls"),
      (Urls{"http://127.0.0.1:8000/first.mp3", "http://127.0.0.1:8000/second.mp3"}));
}

TEST(Playlist, PlsKeysInAnyCaseWrongCountRelativeEntriesAndOnlyWebAddresses) {
  EXPECT_EQ(ParsePlaylist(PlaylistKind::Pls, Fixture("mixed-keys.pls"),
                          "http://127.0.0.1:9000/lists/tunein.pls?id=5"),
            (Urls{"http://127.0.0.1:9000/lists/stream/first.mp3",
                  "http://other.example:8080/second.ogg", "http://127.0.0.1:9000/third.mp3"}));
}

TEST(Playlist, M3uSkipsCommentsAndBlankLinesAndResolvesRelativeEntries) {
  EXPECT_EQ(
      ParsePlaylist(PlaylistKind::M3u, Fixture("extended.m3u"), "https://127.0.0.1:9443/a/b.m3u"),
      (Urls{"http://127.0.0.1:8000/live.mp3", "https://127.0.0.1:9443/a/relative/backup.mp3"}));
  EXPECT_EQ(ParsePlaylist(PlaylistKind::M3u, Fixture("plain.m3u"), "http://x/"),
            (Urls{"http://127.0.0.1:8000/plain.mp3"}));
}

TEST(Playlist, HugePlaylistIsCut) {
  std::string body = "[playlist]\n";
  for (int i = 1; i <= 100000; ++i) {
    body += "File" + std::to_string(i) + "=http://127.0.0.1/" + std::to_string(i) + "\n";
  }
  Urls urls = ParsePlaylist(PlaylistKind::Pls, body, "http://127.0.0.1/");
  ASSERT_EQ(urls.size(), kMaxPlaylistEntries);
  EXPECT_EQ(urls.front(), "http://127.0.0.1/1");
}

TEST(Playlist, ResolvingNeverLeavesTheWeb) {
  EXPECT_EQ(http::ResolveUrl("http://a/b/c", "file:///etc/passwd"), "");
  EXPECT_EQ(http::ResolveUrl("http://a/b/c", "../d"), "http://a/d");
  EXPECT_EQ(http::ResolveUrl("not a url", "x"), "");
}

}  // namespace
}  // namespace audio
