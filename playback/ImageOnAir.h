// What the now-playing view, the strip and the media-player service show for the title on air.
#pragma once

#include <string>

struct ImageOnAir {
  std::wstring path;
  bool isStationLogo;  // drawn with its aspect kept, where a cover is stretched
};

// The cover found for the title on air; without one (before the lookup ends, after "buuuu", for
// a station without titles), the chosen station's kept logo; without that, coverImagePath as
// ever. Any thread.
ImageOnAir CurrentImageOnAir();
