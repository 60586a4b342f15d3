#include "directory/XmlReader.h"

#include "directory/StationName.h"
#include "platform/Utf8.h"

namespace {

void KeepOnlyWhole(pugi::xml_document& document, const pugi::xml_parse_result& result) {
  // pugixml keeps the part it parsed before an error.
  if (!result) {
    document.reset();
  }
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
        {StationNameShown(node.node().attribute("name").value()), Utf8ToWide(id.value())});
  }
  return stations;
}
