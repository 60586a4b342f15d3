#include "directory/XmlReader.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "directory/PlayableCodecs.h"
#include "directory/StationId.h"
#include "directory/StationName.h"
#include "platform/Utf8.h"

namespace {

void KeepOnlyWhole(pugi::xml_document& document, const pugi::xml_parse_result& result) {
  // pugixml keeps the part it parsed before an error.
  if (!result) {
    document.reset();
  }
}

bool IsPlayable(const pugi::xml_node& station) {
  return IsPlayableCodec(station.attribute("codec").value()) &&
         // HLS stations play as well as plain streams.
         (std::string_view(station.attribute("hls").value()) == "0" ||
          std::string_view(station.attribute("hls").value()) == "1") &&
         std::string_view(station.attribute("lastcheckok").value()) == "1" &&
         IsStationUuid(std::string_view(station.attribute("stationuuid").value()));
}

}  // namespace

void XmlReader::Load(const std::string& path) {
  KeepOnlyWhole(document, document.load_file(path.c_str()));
}

void XmlReader::LoadBuffer(std::string_view bytes) {
  KeepOnlyWhole(document, document.load_buffer(bytes.data(), bytes.size()));
}

std::vector<Station> XmlReader::SelectStations() const {
  const pugi::xpath_node_set nodes = document.select_nodes("//stationlist/station");
  std::vector<Station> stations;
  stations.reserve(nodes.size());
  for (const pugi::xpath_node& node : nodes) {
    const pugi::xml_attribute id = node.node().attribute("id");
    if (id.empty() || *id.value() == '\0') {
      continue;
    }
    stations.push_back(
        {StationNameShown(node.node().attribute("name").value()), Utf8ToWide(id.value()), {}});
  }
  for (RankedStation& ranked : SelectOpenDirectoryStations()) {
    stations.push_back(std::move(ranked.station));
  }
  return stations;
}

std::vector<RankedStation> XmlReader::SelectOpenDirectoryStations() const {
  std::vector<RankedStation> stations;
  for (const pugi::xml_node& station : document.child("result").children("station")) {
    if (IsPlayable(station)) {
      stations.push_back({{StationNameShown(station.attribute("name").value()),
                           Utf8ToWide(station.attribute("stationuuid").value()),
                           station.attribute("favicon").value()},
                          std::max(0LL, station.attribute("clickcount").as_llong(0))});
    }
  }
  return stations;
}

bool XmlReader::IsOpenDirectoryReply() const {
  return !document.child("result").empty();
}
