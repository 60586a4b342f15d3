// Finding the album and its large image in the track-info service's reply.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "playback/TrackInfoReply.h"
#include "regex/Regex.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File Open(const std::string& path) {
  return File(std::fopen(path.c_str(), "rb"), &std::fclose);
}

AlbumSearch Search(std::FILE* reply) {
  Regex regex;
  return FindAlbumImage(reply, regex);
}

AlbumSearch SearchFixture(const std::string& name) {
  File reply = Open(fixture::FixturePath("playback/" + name));
  EXPECT_NE(reply, nullptr) << name;
  return Search(reply.get());
}

std::string ReadFixture(const std::string& name) {
  File file = Open(fixture::FixturePath("playback/" + name));
  std::string text;
  for (int c; (c = std::fgetc(file.get())) != EOF;) {
    text.push_back(static_cast<char>(c));
  }
  return text;
}

// A reply written to a file, open for reading.
class WrittenReply {
 public:
  explicit WrittenReply(const std::string& text) : file_(nullptr, &std::fclose) {
    const std::string path = dir_.File("tmp.txt");
    File out(std::fopen(path.c_str(), "wb"), &std::fclose);
    std::fwrite(text.data(), 1, text.size(), out.get());
    out.reset();
    file_ = Open(path);
  }
  std::FILE* get() const { return file_.get(); }

 private:
  fixture::TempDir dir_;
  File file_;
};

const std::string believeImage = "<image size=\"large\">http://covers.example/126/believe.jpg<";

TEST(TrackInfoReply, AlbumWithLargeImageGivesTheImageMatch) {
  const AlbumSearch search = SearchFixture("track-with-album.xml");
  EXPECT_TRUE(search.albumFound);
  EXPECT_EQ(search.imageMatch, believeImage);
}

TEST(TrackInfoReply, CrLfLineBreaksReadTheSame) {
  const AlbumSearch search = SearchFixture("track-with-album-crlf.xml");
  EXPECT_TRUE(search.albumFound);
  EXPECT_EQ(search.imageMatch, believeImage);
}

TEST(TrackInfoReply, ReplyWithoutAlbumIsNoAlbum) {
  EXPECT_FALSE(SearchFixture("track-without-album.xml").albumFound);
}

TEST(TrackInfoReply, AlbumWithoutLargeImageIsFoundWithoutImage) {
  const AlbumSearch search = SearchFixture("album-without-large-image.xml");
  EXPECT_TRUE(search.albumFound);
  EXPECT_EQ(search.imageMatch, "");
}

TEST(TrackInfoReply, ErrorInsideANameIsNoError) {
  const AlbumSearch search = SearchFixture("error-inside-names.xml");
  EXPECT_TRUE(search.albumFound);
  EXPECT_EQ(search.imageMatch, "<image size=\"large\">http://covers.example/126/survivors.jpg<");
}

TEST(TrackInfoReply, ErrorMarkerMeansNoAlbum) {
  EXPECT_FALSE(SearchFixture("status-failed.xml").albumFound);
  EXPECT_FALSE(SearchFixture("error-element.xml").albumFound);
}

TEST(TrackInfoReply, AlbumMustBeginWithin1023BytesAfterTheFirstLine) {
  const AlbumSearch atLimit = SearchFixture("album-at-limit.xml");
  EXPECT_TRUE(atLimit.albumFound);
  EXPECT_EQ(atLimit.imageMatch, "<image size=\"large\">http://covers.example/126/late.jpg<");
  EXPECT_FALSE(SearchFixture("album-after-limit.xml").albumFound);
}

TEST(TrackInfoReply, UnclosedAlbumIsNoAlbum) {
  EXPECT_FALSE(SearchFixture("album-unclosed.xml").albumFound);
}

TEST(TrackInfoReply, EmptyOrMissingReplyIsNoAlbum) {
  EXPECT_FALSE(SearchFixture("empty-reply.xml").albumFound);
  EXPECT_FALSE(Search(nullptr).albumFound);
}

TEST(TrackInfoReply, AlbumOnTheLastLineWithoutLineBreakIsFound) {
  std::string reply = ReadFixture("track-with-album.xml");
  std::erase(reply, '\n');
  const WrittenReply file(reply);
  const AlbumSearch search = Search(file.get());
  EXPECT_TRUE(search.albumFound);
  EXPECT_EQ(search.imageMatch, believeImage);
}

TEST(TrackInfoReply, ReadingStopsAtTheEndOfTheAlbumIn64KbReply) {
  std::string reply = ReadFixture("track-with-album.xml");
  while (reply.size() < 64 * 1024) {
    reply += "  <tag><name>padding</name></tag>\n";
  }
  const WrittenReply file(reply);
  const AlbumSearch search = Search(file.get());
  EXPECT_TRUE(search.albumFound);
  EXPECT_EQ(search.imageMatch, believeImage);
  EXPECT_LT(std::ftell(file.get()), 2048);
}

TEST(TrackInfoReply, ReadingStopsAfterTheLimitWhenNoAlbumBeginsIn64KbReply) {
  std::string reply = "<lfm status=\"ok\">\n";
  while (reply.size() < 64 * 1024) {
    reply += "  <tag><name>padding</name></tag>\n";
  }
  reply += "<album><image size=\"large\">http://covers.example/x.jpg</image></album>\n";
  const WrittenReply file(reply);
  EXPECT_FALSE(Search(file.get()).albumFound);
  EXPECT_LE(std::ftell(file.get()), static_cast<long>(2 * replyLineBytes + maxBytesBeforeAlbum));
}

TEST(TrackInfoReply, Single64KbLineIsReadInBoundedPieces) {
  std::string reply(64 * 1024, 'a');
  reply += "<album><image size=\"large\">http://covers.example/x.jpg</image></album>";
  const WrittenReply file(reply);
  EXPECT_FALSE(Search(file.get()).albumFound);
  EXPECT_LE(std::ftell(file.get()), static_cast<long>(2 * replyLineBytes + maxBytesBeforeAlbum));
}

TEST(TrackInfoReply, AlbumElementThatNeverClosesStopsAtItsLimit) {
  std::string reply = "<lfm status=\"ok\">\n<album position=\"1\">\n";
  while (reply.size() < 64 * 1024) {
    reply += "    <tag>more</tag>\n";
  }
  reply += "</album>\n";
  const WrittenReply file(reply);
  EXPECT_FALSE(Search(file.get()).albumFound);
  EXPECT_LE(std::ftell(file.get()), static_cast<long>(maxAlbumElementBytes + 2 * replyLineBytes));
}

TEST(TrackInfoReply, ClosingTagAcrossALineCutIsFound) {
  // The first image line is cut at replyLineBytes right inside "</album>".
  std::string reply = "<lfm status=\"ok\">\n<album>";
  const std::string image = "<image size=\"large\">http://covers.example/y.jpg</image>";
  reply += image;
  reply += std::string(replyLineBytes - 7 - image.size() - 4, ' ');
  reply += "</album>\n</lfm>\n";
  const WrittenReply file(reply);
  const AlbumSearch search = Search(file.get());
  EXPECT_TRUE(search.albumFound);
  EXPECT_EQ(search.imageMatch, "<image size=\"large\">http://covers.example/y.jpg<");
}

TEST(TrackInfoReply, NulBytesInTheReplyAreHarmless) {
  std::string reply = ReadFixture("track-with-album.xml");
  reply.insert(reply.find("<image size=\"small\""), std::string(3, '\0'));
  const WrittenReply file(reply);
  const AlbumSearch search = Search(file.get());
  EXPECT_TRUE(search.albumFound);
  EXPECT_EQ(search.imageMatch, "");
}

}  // namespace
