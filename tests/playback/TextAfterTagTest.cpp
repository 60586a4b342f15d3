// Removing an opening tag from the text of an element.
#include <gtest/gtest.h>

#include <cwchar>

#include "playback/TextAfterTag.h"

namespace {

TEST(TextAfterTag, CopiesTheTextAfterTheFirstTagEnd) {
  WCHAR destination[64] = L"old text that must go";
  TextAfterTag(L"<image size=\"large\">http://x/a>b.jpg", destination);
  EXPECT_STREQ(destination, L"http://x/a>b.jpg");
}

TEST(TextAfterTag, WorksInPlace) {
  WCHAR buffer[64] = L"<image size=\"large\">http://covers.example/1.jpg";
  TextAfterTag(buffer, buffer);
  EXPECT_STREQ(buffer, L"http://covers.example/1.jpg");
}

TEST(TextAfterTag, TagAtTheEndOrNoTagGivesEmptyText) {
  WCHAR buffer[16] = L"<image>";
  TextAfterTag(buffer, buffer);
  EXPECT_STREQ(buffer, L"");
  WCHAR noTag[16] = L"no tag here";
  TextAfterTag(noTag, noTag);
  EXPECT_STREQ(noTag, L"");
}

}  // namespace
