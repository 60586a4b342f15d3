#include "directory/StationByUuid.h"

#include <pugixml.hpp>

#include <filesystem>
#include <system_error>

#include "directory/Download.h"
#include "directory/LogoRules.h"
#include "platform/Utf8.h"

namespace {

constexpr char kStationByUuidPath[] = "/xml/stations/byuuid/";

std::string KeptFavicon(const std::string& answerFile, std::wstring_view uuid) {
  pugi::xml_document answer;
  if (!answer.load_file(answerFile.c_str())) {
    return {};
  }
  const std::string wanted = WideToUtf8(uuid);
  for (const pugi::xml_node& station : answer.child("result").children("station")) {
    if (wanted == station.attribute("stationuuid").value()) {
      return station.attribute("favicon").value();
    }
  }
  return {};
}

}  // namespace

std::string FaviconByUuid(std::wstring_view folder, std::wstring_view uuid,
                          const StationDirectory& directory, const http::Limits& limits) {
  // The uuid is checked as one (StationLogos), so it names a plain file of the logo folder.
  const std::string answerFile = WideToUtf8(LogoFolder(folder) + std::wstring(uuid) + L".station");
  std::error_code error;
  if (!std::filesystem::exists(answerFile, error)) {
    std::filesystem::create_directories(WideToUtf8(LogoFolder(folder)), error);
    const std::vector<std::string> servers =
        directory.servers.empty() ? DiscoverServers(directory.lookups) : directory.servers;
    for (const std::string& server : servers) {
      const std::string address = "https://" + server + kStationByUuidPath + WideToUtf8(uuid);
      if (http::FetchToFile(address, answerFile, kAgentName, limits)) {
        break;
      }
    }
  }
  return KeptFavicon(answerFile, uuid);
}
