#include "playback/MusicBrainzSource.h"

#include <pugixml.hpp>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "directory/Address.h"
#include "directory/Download.h"
#include "directory/ServiceHosts.h"
#include "playback/ArtistMatch.h"
#include "playback/RequestPacer.h"
#include "playback/ServiceReply.h"

// No web address or mail box of the project exists yet; the contact part says so rather than
// pointing somewhere made up.
const char kMusicBrainzAgent[] =
    "tunedeck/" TUNEDECK_VERSION " duvEridaz ( internet radio player; no public contact yet )";

namespace {

RequestPacer musicBrainzPacer(std::chrono::seconds(1));

// A phrase of the search syntax: quoted, with its quote and escape characters escaped.
std::string Phrase(std::string_view text) {
  std::string phrase = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      phrase += '\\';
    }
    phrase += c;
  }
  return phrase + "\"";
}

std::string SearchAddress(const TrackQuery& track) {
  const std::string query =
      "artist:" + Phrase(track.artist) + " AND recording:" + Phrase(track.title);
  return "https://" TUNEDECK_MUSICBRAINZ_HOST "/ws/2/recording?query=" + PercentEncode(query) +
         "&limit=5";
}

// The replies put their elements in a namespace and prefix some attributes; the prefixes vary,
// so elements are matched by their local name.
std::string_view LocalName(const pugi::xml_node& node) {
  const std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& parent, std::string_view localName) {
  for (const pugi::xml_node& child : parent.children()) {
    if (LocalName(child) == localName) {
      return child;
    }
  }
  return {};
}

// A release id goes into the archive's address: only the canonical MBID form is taken.
bool IsMbid(std::string_view id) {
  if (id.size() != 36) {
    return false;
  }
  for (std::size_t i = 0; i < id.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    const char c = id[i];
    if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
      return false;
    }
  }
  return true;
}

// The credit as written ("A feat. B") or any one credited artist is the track's artist.
bool CreditedTo(const pugi::xml_node& recording, std::string_view artist) {
  std::string whole;
  for (const pugi::xml_node& credit : Child(recording, "artist-credit").children()) {
    if (LocalName(credit) != "name-credit") {
      continue;
    }
    const pugi::xml_node name = Child(credit, "name");  // a credited name, when it differs
    const std::string shown =
        name ? name.text().get() : Child(Child(credit, "artist"), "name").text().get();
    if (SameArtist(artist, shown)) {
      return true;
    }
    whole += shown;
    whole += credit.attribute("joinphrase").value();
  }
  return SameArtist(artist, whole);
}

// A release of a credited recording, as its covers are tried.
struct Release {
  std::string id;
  std::string group;  // its release group's id; empty when the reply names none
  bool compilation;
};

// A hit sits on compilations beside other artists' songs; their covers are not the track's.
bool IsCompilation(const pugi::xml_node& group) {
  if (std::string_view(group.attribute("type").value()) == "Compilation") {
    return true;
  }
  for (const pugi::xml_node& type : Child(group, "secondary-type-list").children()) {
    if (LocalName(type) == "secondary-type" &&
        std::string_view(type.text().get()) == "Compilation") {
      return true;
    }
  }
  return false;
}

std::vector<Release> CreditedReleases(const pugi::xml_node& list, std::string_view artist) {
  std::vector<Release> releases;
  for (const pugi::xml_node& recording : list.children()) {
    if (LocalName(recording) != "recording" || !CreditedTo(recording, artist)) {
      continue;
    }
    for (const pugi::xml_node& release : Child(recording, "release-list").children()) {
      const std::string id = release.attribute("id").value();
      if (LocalName(release) != "release" || !IsMbid(id)) {
        continue;
      }
      const pugi::xml_node group = Child(release, "release-group");
      const std::string groupId = group.attribute("id").value();
      releases.push_back({id, IsMbid(groupId) ? groupId : std::string(), IsCompilation(group)});
    }
  }
  // Albums and singles first, each kind in the order found.
  std::stable_partition(releases.begin(), releases.end(),
                        [](const Release& release) { return !release.compilation; });
  return releases;
}

std::string ArchiveCover(const char* kind, const std::string& id) {
  return "https://" TUNEDECK_COVER_ARCHIVE_HOST "/" + std::string(kind) + "/" + id + "/front-500";
}

void AddOnce(std::vector<std::string>& images, std::string image) {
  if (std::find(images.begin(), images.end(), image) == images.end() &&
      images.size() < kMaxReleases) {
    images.push_back(std::move(image));
  }
}

}  // namespace

SourceAnswer MusicBrainzCovers(std::string_view reply, std::string_view artist) {
  pugi::xml_document document;
  if (!document.load_buffer(reply.data(), reply.size())) {
    return {SourceAnswer::Failed, {}};
  }
  const pugi::xml_node list = Child(Child(document, "metadata"), "recording-list");
  if (!list) {
    return {SourceAnswer::Failed, {}};
  }
  const std::vector<Release> releases = CreditedReleases(list, artist);
  SourceAnswer answer{SourceAnswer::NoCover, {}};
  // Each group's own cover first, then its releases one by one.
  for (const Release& first : releases) {
    if (!first.group.empty()) {
      AddOnce(answer.images, ArchiveCover("release-group", first.group));
    }
    for (const Release& release : releases) {
      if (release.group == first.group) {
        AddOnce(answer.images, ArchiveCover("release", release.id));
      }
    }
  }
  if (!answer.images.empty()) {
    answer.kind = SourceAnswer::Found;
  }
  return answer;
}

SourceAnswer AskMusicBrainz(const TrackQuery& track, const http::Limits& limits,
                            std::chrono::steady_clock::time_point deadline) {
  if (!musicBrainzPacer.WaitTurn(deadline)) {
    return {SourceAnswer::Failed, {}};
  }
  const http::Reply reply =
      AskService(SearchAddress(track), kMusicBrainzAgent, limits, kMaxMusicBrainzReplyBytes);
  if (!reply.Ok()) {
    return {TooMany(reply) ? SourceAnswer::TooMany : SourceAnswer::Failed, {}};
  }
  return MusicBrainzCovers(reply.body, track.artist);
}
