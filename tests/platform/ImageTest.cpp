// PNG and JPEG files drawn stretched into a rectangle; files that are missing, empty, garbage,
// truncated or claim huge dimensions draw nothing; a file drawn again is decoded again only once
// it changed or the cache had to let it go.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/DeviceContext.h"
#include "platform/Image.h"
#include "platform/ImageCache.h"
#include "platform/Utf8.h"
#include "tests/platform/GdiTestSupport.h"

namespace {

std::wstring Fixture(const char* name) {
  return Utf8ToWide(std::string(TUNEDECK_FIXTURES) + "/platform/" + name);
}

bool Near(Pixel p, Pixel want, int tolerance) {
  return std::abs(p.r - want.r) <= tolerance && std::abs(p.g - want.g) <= tolerance &&
         std::abs(p.b - want.b) <= tolerance && p.a == want.a;
}

using ImageTest = SurfaceTest<200, 150>;

TEST_F(ImageTest, PngIsStretchedOverTheWholeRectangle) {
  // halves.png is 40 x 20: red on the left, blue on the right.
  ASSERT_TRUE(DrawImageStretched(hdc_, Fixture("halves.png").c_str(), {20, 10, 180, 130}));
  EXPECT_EQ(At(20, 10), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(At(90, 70), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(At(110, 70), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(At(179, 129), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(At(19, 70), kBlack);
  EXPECT_EQ(At(180, 70), kBlack);
  EXPECT_EQ(At(100, 130), kBlack);
  const Pixel seam = At(100, 70);  // smooth filtering blends across the middle
  EXPECT_GT(seam.r, 0);
  EXPECT_GT(seam.b, 0);
}

TEST_F(ImageTest, JpegIsStretchedOverTheWholeRectangle) {
  // top-green.jpg is 40 x 20: green above, white below.
  ASSERT_TRUE(DrawImageStretched(hdc_, Fixture("top-green.jpg").c_str(), {0, 0, 100, 100}));
  EXPECT_TRUE(Near(At(50, 10), {0, 255, 0, 255}, 12)) << ::testing::PrintToString(At(50, 10));
  EXPECT_TRUE(Near(At(50, 90), {255, 255, 255, 255}, 12)) << ::testing::PrintToString(At(50, 90));
  EXPECT_TRUE(Near(At(99, 99), {255, 255, 255, 255}, 12));
  EXPECT_EQ(At(100, 50), kBlack);
}

TEST_F(ImageTest, GreyAndCmykJpegsDrawInColour) {
  ASSERT_TRUE(DrawImageStretched(hdc_, Fixture("grey.jpg").c_str(), {0, 0, 20, 20}));
  EXPECT_TRUE(Near(At(10, 10), {128, 128, 128, 255}, 2)) << ::testing::PrintToString(At(10, 10));
  ASSERT_TRUE(DrawImageStretched(hdc_, Fixture("red-cmyk.jpg").c_str(), {20, 0, 40, 20}));
  EXPECT_TRUE(Near(At(30, 10), {255, 0, 0, 255}, 40)) << ::testing::PrintToString(At(30, 10));
}

TEST_F(ImageTest, LargeJpegShrinksIntoAThumbnail) {
  ASSERT_TRUE(DrawImageStretched(hdc_, Fixture("cover-300.jpg").c_str(), {12, 10, 62, 90}));
  EXPECT_FALSE(At(12, 10) == kBlack);
  EXPECT_FALSE(At(61, 89) == kBlack);
  EXPECT_EQ(At(62, 50), kBlack);
  EXPECT_EQ(At(11, 50), kBlack);
}

TEST_F(ImageTest, TransparentPartsOfAPngLetTheBackgroundShow) {
  ASSERT_TRUE(
      DrawImageStretched(hdc_, Fixture("transparent-bottom.png").c_str(), {0, 0, 100, 100}));
  EXPECT_EQ(At(50, 20), (Pixel{0, 255, 0, 255}));
  EXPECT_EQ(At(50, 80), kBlack);
}

TEST_F(ImageTest, DrawsAtTheContextsOriginAndInsideItsClip) {
  const cairo_rectangle_int_t visible{0, 0, 100, 150};
  cairo_region_t* clip = cairo_region_create_rectangle(&visible);
  HDC shifted = CreateSurfaceDC(surface_, {50, 0}, clip);
  cairo_region_destroy(clip);
  ASSERT_TRUE(DrawImageStretched(shifted, Fixture("halves.png").c_str(), {0, 0, 100, 50}));
  EXPECT_EQ(At(50, 25), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(At(90, 25), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(At(120, 25), kBlack);  // the blue half lies outside the clip
  EXPECT_EQ(At(49, 25), kBlack);
  DestroySurfaceDC(shifted);
}

TEST_F(ImageTest, UnreadableFilesDrawNothing) {
  for (const char* name : {"no-such-file.png", "empty.jpg", "garbage.png", "truncated.png",
                           "truncated.jpg", "huge-dimensions.png", "huge-dimensions.jpg"}) {
    EXPECT_FALSE(DrawImageStretched(hdc_, Fixture(name).c_str(), {0, 0, 200, 150})) << name;
  }
  EXPECT_FALSE(DrawImageStretched(hdc_, Fixture("").c_str(), {0, 0, 200, 150}));  // a folder
  EXPECT_TRUE(FindInk(surface_).empty());
}

TEST_F(ImageTest, EmptyRectangleNullPathOrDeadContextDrawNothing) {
  EXPECT_FALSE(DrawImageStretched(hdc_, Fixture("halves.png").c_str(), {50, 50, 50, 80}));
  EXPECT_FALSE(DrawImageStretched(hdc_, Fixture("halves.png").c_str(), {60, 50, 50, 80}));
  EXPECT_FALSE(DrawImageStretched(hdc_, nullptr, {0, 0, 10, 10}));
  EXPECT_FALSE(DrawImageStretched(nullptr, Fixture("halves.png").c_str(), {0, 0, 10, 10}));
  EXPECT_TRUE(FindInk(surface_).empty());
}

TEST_F(ImageTest, NonAsciiPathsAreFound) {
  // The file system speaks UTF-8; a wide path with Cyrillic in it must still reach the file.
  const std::string dir = ::testing::TempDir() + "обложка-" + std::to_string(::getpid());
  ASSERT_EQ(std::system(("mkdir -p '" + dir + "' && cp '" + std::string(TUNEDECK_FIXTURES) +
                         "/platform/halves.png' '" + dir + "/кадр.png'")
                            .c_str()),
            0);
  EXPECT_TRUE(DrawImageStretched(hdc_, Utf8ToWide(dir + "/кадр.png").c_str(), {0, 0, 40, 20}));
  EXPECT_EQ(At(5, 5), (Pixel{255, 0, 0, 255}));
  std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(ImageCache, UnchangedFileIsDecodedOnceAndAFileWrittenAnewOrLetGoIsDecodedAgain) {
  namespace fs = std::filesystem;
  const std::string fixtures = std::string(TUNEDECK_FIXTURES) + "/platform/";
  const fs::path dir = ::testing::TempDir() + "image-cache-" + std::to_string(::getpid());
  fs::create_directories(dir);
  const std::string logo = (dir / "logo").string();
  fs::copy_file(fixtures + "halves.png", logo);
  const CairoSurfacePtr first = image::CachedImageFile(logo, 40, 20);
  ASSERT_TRUE(first);
  EXPECT_EQ(image::CachedImageFile(logo, 40, 20).get(), first.get());

  // Replaced as a download replaces it: another file under the same name.
  fs::copy_file(fixtures + "top-green.jpg", dir / "new");
  fs::rename(dir / "new", logo);
  const CairoSurfacePtr replaced = image::CachedImageFile(logo, 40, 20);
  ASSERT_TRUE(replaced);
  EXPECT_NE(replaced.get(), first.get());
  EXPECT_EQ(image::CachedImageFile(logo, 40, 20).get(), replaced.get());

  // A 300 x 300 cover asked at sizes it does not shrink to is kept whole (350 kB) each time:
  // the cache lets the least recently drawn go before it holds more than its bound.
  const std::string cover = fixtures + "cover-300.jpg";
  const CairoSurfacePtr oldest = image::CachedImageFile(cover, 300, 300);
  for (int side = 301; side < 301 + static_cast<int>(image::kCacheBytes / (300 * 300 * 4));
       ++side) {
    EXPECT_TRUE(image::CachedImageFile(cover, side, side));
  }
  EXPECT_NE(image::CachedImageFile(cover, 300, 300).get(), oldest.get());
  fs::remove_all(dir);
}

}  // namespace
