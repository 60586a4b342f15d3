// Values from outside on their way into addresses and file names.
#include <gtest/gtest.h>

#include "directory/Address.h"
#include "directory/FilePaths.h"
#include "directory/ServiceHosts.h"

namespace {

TEST(Address, GenreKeyIsPercentEncodedInTheQuery) {
  EXPECT_EQ(AddressWith(kDirectoryQueryFormat, L"Top 40"),
            L"http://yp.shoutcast.com/sbin/newxml.phtml?genre=Top%2040&br=128&mt=audio/mpeg");
  EXPECT_EQ(AddressWith(kDirectoryQueryFormat, L"R&B"),
            L"http://yp.shoutcast.com/sbin/newxml.phtml?genre=R%26B&br=128&mt=audio/mpeg");
}

TEST(Address, EveryByteOutsideTheUnreservedSetIsEncoded) {
  EXPECT_EQ(PercentEncode(L"a-z_0.9~"), L"a-z_0.9~");
  EXPECT_EQ(PercentEncode(L"#?/=+%"), L"%23%3F%2F%3D%2B%25");
  EXPECT_EQ(PercentEncode(L"\u00E9"), L"%C3%A9");
  EXPECT_EQ(AddressWith(kTuneInFormat, L"12 34"),
            L"http://yp.shoutcast.com/sbin/tunein-station.pls?id=12%2034");
}

TEST(FileNames, KeysThatWouldLeaveTheFolderAreNotPlain) {
  EXPECT_TRUE(IsPlainFileName(L"Top 40"));
  EXPECT_TRUE(IsPlainFileName(L"R&B"));
  EXPECT_TRUE(IsPlainFileName(L"..hidden"));
  for (const wchar_t* name : {L"", L".", L"..", L"../radios.txt", L"a/b", L"a\\b", L"tab\there"}) {
    EXPECT_FALSE(IsPlainFileName(name));
  }
}

TEST(FileNames, PathMustFit259Characters) {
  EXPECT_EQ(FileInFolder(L"/app/", L"Jazz"), L"/app/Jazz");
  EXPECT_TRUE(FileInFolder(L"/app/", std::wstring(254, L'k')));
  EXPECT_FALSE(FileInFolder(L"/app/", std::wstring(255, L'k')));
  EXPECT_FALSE(FileInFolder(L"/app/", L".."));
}

}  // namespace
