#include "audio/ResponseHeaders.h"

#include <gtest/gtest.h>

#include <string>

namespace audio {
namespace {

template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

ResponseHeaders Parse(std::initializer_list<std::string_view> lines) {
  ResponseHeaders h;
  for (std::string_view l : lines) {
    EXPECT_TRUE(h.AddLine(l));
  }
  return h;
}

TEST(ResponseHeaders, IcyResponseWithItsValues) {
  ResponseHeaders h = Parse({"ICY 200 OK\r\n", "icy-name:Tone 440\r\n", "ICY-METAINT: 16000\r\n",
                             "icy-br:128,128\r\n", "Content-Type: audio/mpeg\r\n", "\r\n"});
  EXPECT_TRUE(h.Complete());
  EXPECT_TRUE(h.IsIcy());
  EXPECT_EQ(h.StatusCode(), 200);
  EXPECT_EQ(h.Value("Icy-Name"), "Tone 440");
  EXPECT_EQ(h.Metaint(), 16000u);
  EXPECT_EQ(h.Bitrate(), 128u);
  EXPECT_EQ(h.ContentType(), "audio/mpeg");
  EXPECT_EQ(h.Block(), Bytes("ICY 200 OK\0icy-name:Tone 440\0ICY-METAINT: 16000\0"
                             "icy-br:128,128\0Content-Type: audio/mpeg\0\0"));
}

TEST(ResponseHeaders, RedirectStartsANewResponse) {
  ResponseHeaders h = Parse({"HTTP/1.1 302 Found", "Location: /x", "", "HTTP/1.0 200 OK",
                             "Content-Type: application/ogg", ""});
  EXPECT_FALSE(h.IsIcy());
  EXPECT_EQ(h.StatusCode(), 200);
  EXPECT_EQ(h.Lines().size(), 2u);
  EXPECT_EQ(h.Value("location"), "");
}

TEST(ResponseHeaders, UnbelievableNumbersCountAsAbsent) {
  ResponseHeaders h =
      Parse({"HTTP/1.0 200 OK", "icy-metaint: 99999999999999999999", "icy-br: -5", ""});
  EXPECT_EQ(h.Metaint(), 0u);
  EXPECT_EQ(h.Bitrate(), 0u);
  EXPECT_EQ(Parse({"HTTP/1.0 abc"}).StatusCode(), 0);
}

TEST(ResponseHeaders, EndlessHeaderIsRefused) {
  ResponseHeaders h;
  ASSERT_TRUE(h.AddLine("HTTP/1.1 200 OK"));
  bool accepted = true;
  for (int i = 0; i < 10000 && accepted; ++i) {
    accepted = h.AddLine("X-Filler: " + std::string(100, 'x'));
  }
  EXPECT_FALSE(accepted);
}

TEST(ResponseHeaders, NulInsideALineDoesNotCutTheBlock) {
  ResponseHeaders h = Parse({"HTTP/1.0 200 OK", std::string_view("a: b\0c", 6), ""});
  EXPECT_EQ(h.Block(), Bytes("HTTP/1.0 200 OK\0a: b c\0\0"));
}

}  // namespace
}  // namespace audio
