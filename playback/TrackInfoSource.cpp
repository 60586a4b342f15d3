#include "playback/TrackInfoSource.h"

#include <pugixml.hpp>

#include <optional>
#include <string_view>

#include "directory/WebClient.h"
#include "platform/Utf8.h"
#include "playback/FolderFile.h"
#include "playback/ParseTrackInfo.h"
#include "playback/ServiceReply.h"
#include "playback/TrackInfoQuery.h"
#include "shell/TextBuffer.h"

namespace {

constexpr int kInvalidKey = 10;
constexpr int kSuspendedKey = 26;
constexpr int kRateLimitExceeded = 29;

// The code of the service's error element, when the reply is one of its error replies.
std::optional<int> ErrorCode(const std::string& body) {
  pugi::xml_document document;
  if (!document.load_buffer(body.data(), body.size())) {
    return std::nullopt;
  }
  const pugi::xml_node root = document.child("lfm");
  const pugi::xml_node error = root.child("error");
  if (!error && std::string_view(root.attribute("status").value()) != "failed") {
    return std::nullopt;
  }
  return error.attribute("code").as_int(0);
}

}  // namespace

SourceAnswer AskTrackInfo(const TrackQuery& track, const http::Limits& limits) {
  const std::string address = TrackInfoAddress(track.artist, track.title);
  if (address.size() > kMaxTextCharacters) {  // percent-encoded: one byte, one character
    return {SourceAnswer::Failed, {}};
  }
  const http::Reply reply = AskService(address, kAgentName, limits);
  if (!reply.arrived) {
    return {SourceAnswer::Failed, {}};
  }
  if (const std::optional<int> code = ErrorCode(reply.body)) {
    if (*code == kInvalidKey || *code == kSuspendedKey) {
      return {SourceAnswer::KeyRefused, {}};
    }
    return {*code == kRateLimitExceeded || TooMany(reply) ? SourceAnswer::TooMany
                                                          : SourceAnswer::Failed,
            {}};
  }
  if (!reply.Ok()) {
    return {TooMany(reply) ? SourceAnswer::TooMany : SourceAnswer::Failed, {}};
  }
  if (!ReplaceFolderFile(webClient.folder, L"tmp.txt", reply.body)) {
    return {SourceAnswer::Failed, {}};
  }
  WCHAR image[260] = {};
  if (ParseTrackInfo(webClient, L"tmp", image) != 0 || image[0] == L'\0') {
    return {SourceAnswer::NoCover, {}};
  }
  return {SourceAnswer::Found, {WideToUtf8(image)}};
}
