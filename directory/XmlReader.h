// The holder of the program's one XML document: the directory's station lists.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

struct Station {
  std::wstring name;    // the text shown
  std::wstring id;      // the first directory's id, or the open directory's station uuid
  std::string favicon;  // the open directory's address of the station's logo; may be empty
};

// An open directory's station with how often it was played lately ("clickcount").
struct RankedStation {
  Station station;
  long long clicks = 0;
};

struct XmlReader {
  pugi::xml_document document;

  // Replaces the document with the file's. A file that cannot be read or is not well-formed
  // leaves the document empty (never a partial tree).
  void Load(const std::string& path);
  // The same for a document in memory.
  void LoadBuffer(std::string_view bytes);

  // The stations of both directories' replies, each in document order, the name as shown
  // (StationName.h). The first directory's shape: each element "station" that is a child of an
  // element "stationlist", with its id whole; one without an id gives no station (it could be
  // neither played nor kept), one without a name shows an empty text. The open directory's shape:
  // each "station" under the root "result" that the engine can play (a codec of PlayableCodecs.h,
  // not HLS, its last check passed), with its "stationuuid" as the id and its "favicon"; one
  // without a uuid gives none.
  std::vector<Station> SelectStations() const;
  // The open directory's stations of SelectStations, each with its click count (0 when the
  // reply gives none that can be read).
  std::vector<RankedStation> SelectOpenDirectoryStations() const;
  // True when the document is an open directory's reply ("result" at the root).
  bool IsOpenDirectoryReply() const;
};
