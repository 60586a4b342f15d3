#include "audio/StreamSource.h"

#include "audio/CodecChoice.h"
#include "audio/Playlist.h"

namespace audio {

namespace {

// A playlist entry may itself be a playlist, once.
constexpr int kMaxPlaylistDepth = 2;

using Clock = std::chrono::steady_clock;

class Opener {
 public:
  explicit Opener(const SourceOptions& options) : options_(options) {}

  Failure Open(const std::string& url, int depth, OpenedSource& out) {
    if (Cancelled()) {
      return Failure::Stopped;
    }
    auto connection = std::make_unique<Connection>(url, options_.limits);
    std::vector<std::uint8_t> head;
    // While connecting, keep at most a playlist's worth of the body.
    connection->SetBodySink([&head](std::span<const std::uint8_t> bytes) {
      if (head.size() >= kMaxPlaylistBytes) {
        return false;
      }
      head.insert(head.end(), bytes.begin(), bytes.end());
      return true;
    });
    Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(options_.limits.connectTimeoutMs);

    // The answer's headers; a redirect's are followed by those of the next answer.
    auto final = [&connection] {
      const ResponseHeaders& h = connection->Headers();
      bool redirect =
          h.StatusCode() >= 300 && h.StatusCode() <= 399 && !h.Value("location").empty();
      return h.Complete() && !redirect;
    };
    while (!final()) {
      if (!Step(*connection, deadline) && !final()) {
        return connection->Headers().Complete() ? Failure::HttpStatus : Ended(*connection);
      }
    }
    const ResponseHeaders& headers = connection->Headers();
    int status = headers.StatusCode();
    if (status == 401 || status == 403 || status == 410) {
      return Failure::Refused;
    }
    if (status < 200 || status > 299) {
      return Failure::HttpStatus;
    }

    Codec codec = Codec::Mp3;
    bool playlist = !CodecForType(headers.ContentType(), codec);
    if (playlist && DetectPlaylist(headers.ContentType(), {}) == PlaylistKind::None) {
      // Neither type says what it is: read on until the first bytes do.
      while (head.size() < kSniffBytes && Step(*connection, deadline)) {
      }
      playlist = !SniffCodec(head, codec);
    }
    if (playlist) {
      while (head.size() < kMaxPlaylistBytes && Step(*connection, deadline)) {
      }
      const std::string body(head.begin(), head.end());
      const std::string address = PlaylistAddress(*connection, url);
      if (IsHlsPlaylist(headers.ContentType(), body)) {
        return OpenHls(std::move(connection), body, address, depth, out);
      }
      return FollowPlaylist(body, address, headers, depth, out);
    }
    connection->SetBodySink(nullptr);
    out.connection = std::move(connection);
    out.head = std::move(head);
    out.codec = codec;
    out.url = url;
    return Failure::None;
  }

 private:
  bool Cancelled() const { return options_.cancelled != nullptr && options_.cancelled->load(); }

  // One step of the transfer; false when it ended, the deadline passed or the engine stopped.
  bool Step(Connection& connection, Clock::time_point deadline) {
    if (Cancelled() || Clock::now() >= deadline) {
      timedOut_ = !Cancelled();
      return false;
    }
    return connection.Pump(std::chrono::milliseconds(20));
  }

  // Relative entries resolve against where the playlist came from, after redirects.
  static std::string PlaylistAddress(const Connection& connection, const std::string& requested) {
    std::string effective = connection.EffectiveUrl();
    return effective.empty() ? requested : effective;
  }

  // Why a connection ended before its headers were complete.
  Failure Ended(const Connection& connection) const {
    if (Cancelled()) {
      return Failure::Stopped;
    }
    if (timedOut_) {
      return Failure::Timeout;
    }
    Failure result = connection.Result();
    return result == Failure::None ? Failure::Unreachable : result;
  }

  Failure FollowPlaylist(const std::string& body, const std::string& url,
                         const ResponseHeaders& headers, int depth, OpenedSource& out) {
    if (Cancelled()) {
      return Failure::Stopped;
    }
    PlaylistKind kind = DetectPlaylist(headers.ContentType(), body);
    if (kind == PlaylistKind::None || !options_.followPlaylists || depth >= kMaxPlaylistDepth) {
      return timedOut_ && body.empty() ? Failure::Timeout : Failure::NotAudio;
    }
    Failure last = Failure::NotAudio;
    const std::vector<std::string> entries = ParsePlaylist(kind, body, url);
    for (const std::string& entry : entries) {
      timedOut_ = false;
      last = Open(entry, depth + 1, out);
      if (last == Failure::None) {
        for (const std::string& other : entries) {
          if (&other != &entry) {
            out.alternatives.push_back(other);
          }
        }
        out.alternatives.push_back(url);
      }
      if (last == Failure::None || last == Failure::Stopped) {
        return last;
      }
    }
    return last;
  }

  // A master playlist leads to one of its variants; a media playlist is the stream itself.
  Failure OpenHls(std::unique_ptr<Connection> connection, const std::string& body,
                  const std::string& url, int depth, OpenedSource& out) {
    if (IsMasterPlaylist(body)) {
      std::optional<HlsVariant> variant = ChooseVariant(ParseMasterPlaylist(body, url));
      if (!variant || depth > kMaxPlaylistDepth) {
        return Failure::NotAudio;
      }
      return Open(variant->url, depth + 1, out);
    }
    std::optional<MediaPlaylist> list = ParseMediaPlaylist(body, url);
    if (!list || list->segments.empty()) {
      return Failure::NotAudio;
    }
    if (list->encrypted) {
      return Failure::Unreachable;  // no keys here: as good as gone
    }
    out.connection = std::move(connection);
    out.codec = Codec::Aac;  // until a segment tells otherwise
    out.url = url;
    out.hls = HlsStart{url, std::move(*list)};
    return Failure::None;
  }

  const SourceOptions& options_;
  bool timedOut_ = false;
};

}  // namespace

Failure OpenSource(const std::string& url, const SourceOptions& options, OpenedSource& out) {
  return Opener(options).Open(url, 0, out);
}

}  // namespace audio
