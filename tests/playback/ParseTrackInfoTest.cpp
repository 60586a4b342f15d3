// The track-info reply file of the application folder read into the large image's address.
#include <gtest/gtest.h>

#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>

#include "directory/WebClient.h"
#include "platform/Utf8.h"
#include "playback/ParseTrackInfo.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

namespace {

class ParseTrackInfoFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::wcscpy(client_.folder, Utf8ToWide(dir_.path() + "/").c_str());
    std::wcscpy(image_, L"left from before");
  }

  void WriteReply(const std::string& bytes) {
    std::ofstream(dir_.File("tmp.txt"), std::ios::binary) << bytes;
  }
  void CopyReply(const std::string& fixtureName) {
    std::ifstream file(fixture::FixturePath("playback/" + fixtureName), std::ios::binary);
    WriteReply(std::string(std::istreambuf_iterator<char>(file), {}));
  }

  fixture::TempDir dir_;
  WebClient client_;
  WCHAR image_[260];
};

TEST_F(ParseTrackInfoFile, AlbumGivesZeroAndTheLargeImageAddress) {
  CopyReply("track-with-album.xml");
  EXPECT_EQ(ParseTrackInfo(client_, L"tmp", image_), 0);
  EXPECT_STREQ(image_, L"http://covers.example/126/believe.jpg");
}

TEST_F(ParseTrackInfoFile, NoAlbumGivesOneAndAnEmptyAddress) {
  CopyReply("track-without-album.xml");
  EXPECT_EQ(ParseTrackInfo(client_, L"tmp", image_), 1);
  EXPECT_STREQ(image_, L"");
}

TEST_F(ParseTrackInfoFile, AlbumWithoutLargeImageGivesZeroAndAnEmptyAddress) {
  CopyReply("album-without-large-image.xml");
  EXPECT_EQ(ParseTrackInfo(client_, L"tmp", image_), 0);
  EXPECT_STREQ(image_, L"");
}

TEST_F(ParseTrackInfoFile, MissingReplyFileGivesOne) {
  EXPECT_EQ(ParseTrackInfo(client_, L"tmp", image_), 1);
  EXPECT_STREQ(image_, L"");
  EXPECT_EQ(ParseTrackInfo(client_, L"../tmp", image_), 1);
}

TEST_F(ParseTrackInfoFile, AddressThatWouldNotFitIsLeftEmpty) {
  const std::string fits = "http://covers.example/" + std::string(259 - 22, 'a');
  WriteReply("<lfm status=\"ok\">\n<album>\n<image size=\"large\">" + fits +
             "</image>\n</album>\n");
  EXPECT_EQ(ParseTrackInfo(client_, L"tmp", image_), 0);
  EXPECT_EQ(std::wcslen(image_), 259u);

  WriteReply("<lfm status=\"ok\">\n<album>\n<image size=\"large\">" + fits +
             "b</image>\n</album>\n");
  EXPECT_EQ(ParseTrackInfo(client_, L"tmp", image_), 0);
  EXPECT_STREQ(image_, L"");
}

TEST_F(ParseTrackInfoFile, AddressBytesConvertFromTheAnsiCodePage) {
  WriteReply(
      "<lfm status=\"ok\">\n<album>\n<image size=\"large\">http://covers.example/caf\xe9.jpg"
      "</image>\n</album>\n");
  EXPECT_EQ(ParseTrackInfo(client_, L"tmp", image_), 0);
  EXPECT_STREQ(image_, L"http://covers.example/caf\u00e9.jpg");
}

}  // namespace
