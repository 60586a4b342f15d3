// The holder of the program's one XML document: the directory's station lists.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

struct Station {
  std::wstring name;  // the text shown
  std::wstring id;    // the directory's station id
};

struct XmlReader {
  pugi::xml_document document;

  // Replaces the document with the file's. A file that cannot be read or is not well-formed
  // leaves the document empty (never a partial tree).
  void Load(const std::string& path);
  // The same for a document in memory.
  void LoadBuffer(std::string_view bytes);

  // One station per element "station" that is a child of an element "stationlist", in document
  // order: the name as shown (StationName.h) and the id whole. An element without an id gives
  // no station (it could be neither played nor kept); one without a name shows an empty text.
  std::vector<Station> SelectStations() const;
};
