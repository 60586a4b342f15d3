#include "playback/ItunesSource.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "directory/Address.h"
#include "directory/Download.h"
#include "directory/ServiceHosts.h"
#include "playback/ArtistMatch.h"
#include "playback/ServiceReply.h"

namespace {

constexpr char kSmallArtwork[] = "100x100bb";
constexpr char kLargeArtwork[] = "600x600bb";

std::string SearchAddress(const TrackQuery& track) {
  std::string address = "https://" TUNEDECK_ITUNES_HOST "/search?term=" +
                        PercentEncode(track.artist + " " + track.title) + "&entity=song&limit=5";
  if (const std::optional<std::string> country = LocaleCountry()) {
    address += "&country=" + *country;
  }
  return address;
}

std::string StringField(const nlohmann::json& object, const char* name) {
  const auto field = object.find(name);
  return field != object.end() && field->is_string() ? field->get<std::string>() : std::string();
}

}  // namespace

std::optional<std::string> LocaleCountry() {
  // The first one set decides, as it does for the messages of every program.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
      continue;
    }
    // language[_TERRITORY][.codeset][@modifier]
    const std::string_view locale(value);
    const std::size_t underscore = locale.find('_');
    const std::string_view territory =
        underscore == std::string_view::npos
            ? std::string_view()
            : locale.substr(underscore + 1,
                            locale.find_first_of(".@", underscore) - underscore - 1);
    if (territory.size() != 2 || !std::all_of(territory.begin(), territory.end(), [](char c) {
          return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        })) {
      return std::nullopt;
    }
    std::string country(territory);
    for (char& c : country) {
      c = static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
    }
    return country;
  }
  return std::nullopt;
}

SourceAnswer ItunesCovers(std::string_view reply, std::string_view artist) {
  const nlohmann::json document = nlohmann::json::parse(reply, nullptr, false);
  if (!document.is_object() || !document.contains("results") || !document["results"].is_array()) {
    return {SourceAnswer::Failed, {}};
  }
  SourceAnswer answer{SourceAnswer::NoCover, {}};
  for (const nlohmann::json& result : document["results"]) {
    if (!result.is_object() || !SameArtist(artist, StringField(result, "artistName"))) {
      continue;
    }
    std::string artwork = StringField(result, "artworkUrl100");
    const std::size_t size = artwork.rfind(kSmallArtwork);
    if (size == std::string::npos) {
      continue;
    }
    artwork.replace(size, sizeof kSmallArtwork - 1, kLargeArtwork);
    answer.kind = SourceAnswer::Found;
    answer.images.push_back(std::move(artwork));
  }
  return answer;
}

SourceAnswer AskItunes(const TrackQuery& track, const http::Limits& limits) {
  const http::Reply reply = AskService(SearchAddress(track), kAgentName, limits);
  if (!reply.Ok()) {
    return {TooMany(reply) ? SourceAnswer::TooMany : SourceAnswer::Failed, {}};
  }
  return ItunesCovers(reply.body, track.artist);
}
