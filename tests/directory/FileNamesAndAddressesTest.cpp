// Values from outside on their way into addresses and file names.
#include <gtest/gtest.h>

#include "directory/Address.h"
#include "directory/FilePaths.h"
#include "directory/OpenDirectory.h"
#include "directory/ServiceHosts.h"
#include "directory/StationId.h"

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

TEST(Address, OpenDirectoryIsAskedForTheGenreKeyInLowerCase) {
  EXPECT_EQ(OpenDirectoryQuery("de1.api.radio-browser.info", L"Top 40"),
            L"https://de1.api.radio-browser.info/xml/stations/search?tag=top%2040&tagExact=true"
            L"&hidebroken=true&order=clickcount&reverse=true&limit=1000");
  EXPECT_EQ(OpenDirectoryQuery("at1.api.radio-browser.info", L"R&B"),
            L"https://at1.api.radio-browser.info/xml/stations/search?tag=r%26b&tagExact=true"
            L"&hidebroken=true&order=clickcount&reverse=true&limit=1000");
}

TEST(StationIds, DigitsAreDirectoryIdsAndOnlyTheFullUuidFormIsAStationUuid) {
  EXPECT_TRUE(IsDirectoryStationId(L"1001"));
  EXPECT_TRUE(IsStationUuid(L"9617a958-0601-11e8-ae97-52543BE04C81"));
  for (const wchar_t* id :
       {L"", L"12a", L"-1", L"12 34", L"9617a958-0601-11e8-ae97-52543be04c81"}) {
    EXPECT_FALSE(IsDirectoryStationId(id)) << id;
  }
  for (const wchar_t* id :
       {L"", L"1001", L"9617a958-0601-11e8-ae97-52543be04c8",
        L"9617a958-0601-11e8-ae97-52543be04c811", L"9617a958x0601-11e8-ae97-52543be04c81",
        L"9617a958-0601-11e8-ae97-52543be04g81"}) {
    EXPECT_FALSE(IsStationUuid(std::wstring_view(id))) << id;
  }
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
