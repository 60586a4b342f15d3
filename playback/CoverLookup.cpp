#include "playback/CoverLookup.h"

#include <optional>
#include <string>
#include <vector>

#include "directory/Download.h"
#include "directory/WebClient.h"
#include "playback/CoverMemory.h"
#include "playback/FolderFile.h"
#include "playback/ItunesSource.h"
#include "playback/MusicBrainzSource.h"
#include "playback/TrackInfoSource.h"

namespace {

constexpr wchar_t kCoverFile[] = L"folder.jpg";

// The source's answer; nothing when it is paused or the lookup's time is up. "Too many" pauses
// the source; a refused key is remembered.
std::optional<SourceAnswer> Ask(CoverSourceId source, const TrackQuery& track,
                                const LookupDeadline& deadline) {
  const std::optional<http::Limits> limits = deadline.LimitsWithin(webClient.downloadLimits);
  if (!limits || coverMemory.Paused(source)) {
    return std::nullopt;
  }
  SourceAnswer answer;
  switch (source) {
    case CoverSourceId::TrackInfo:
      answer = AskTrackInfo(track, *limits);
      break;
    case CoverSourceId::Itunes:
      answer = AskItunes(track, *limits);
      break;
    case CoverSourceId::MusicBrainz:
      answer = AskMusicBrainz(track, *limits, deadline.end());
      break;
  }
  if (answer.kind == SourceAnswer::TooMany) {
    coverMemory.Pause(source);
  } else if (answer.kind == SourceAnswer::KeyRefused) {
    coverMemory.RefuseKey();
  }
  return answer;
}

// Downloads the first of the addresses that comes whole into folder.jpg.
bool DownloadFirst(const std::vector<std::string>& images, const LookupDeadline& deadline) {
  for (const std::string& image : images) {
    const std::optional<http::Limits> limits = deadline.LimitsWithin(webClient.downloadLimits);
    if (!limits) {
      return false;
    }
    if (DownloadToFile(webClient, kCoverFile, image, *limits) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool FetchCover(const TrackQuery& track) {
  if (const std::optional<std::string> known = coverMemory.Cover(track.artist, track.title)) {
    return !known->empty() && ReplaceFolderFile(webClient.folder, kCoverFile, *known);
  }
  const LookupDeadline deadline;
  bool fetched = false;
  // True once every source asked has said that it knows no cover: worth remembering.
  bool settled = true;
  const std::optional<SourceAnswer> trackInfo =
      coverMemory.KeyRefused() ? std::nullopt : Ask(CoverSourceId::TrackInfo, track, deadline);
  if (trackInfo && trackInfo->kind == SourceAnswer::NoCover) {
    // The service answered: the track has no album, or the album no image.
  } else if (trackInfo && trackInfo->kind == SourceAnswer::Found) {
    // An album whose image cannot be fetched counts as no cover.
    fetched = DownloadFirst(trackInfo->images, deadline);
    settled = false;
  } else {
    for (const CoverSourceId source : {CoverSourceId::Itunes, CoverSourceId::MusicBrainz}) {
      const std::optional<SourceAnswer> answer = Ask(source, track, deadline);
      settled = settled && answer && answer->kind == SourceAnswer::NoCover;
      if (answer && answer->kind == SourceAnswer::Found &&
          DownloadFirst(answer->images, deadline)) {
        fetched = true;
        break;
      }
    }
  }
  if (fetched) {
    if (std::optional<std::string> cover =
            ReadFolderFile(webClient.folder, kCoverFile, CoverMemory::kMaxCoverBytes)) {
      coverMemory.Remember(track.artist, track.title, std::move(*cover));
    }
  } else if (settled) {
    coverMemory.Remember(track.artist, track.title, {});
  }
  return fetched;
}
