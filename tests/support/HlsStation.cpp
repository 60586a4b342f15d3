#include "tests/support/HlsStation.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <vector>

namespace fixture {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kToneSegments = 18;  // cycled; the encoder's first and last are left out
constexpr std::size_t kPacket = 188;
constexpr unsigned kId3Pid = 0x102;

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    throw std::runtime_error("failed: " + command);
  }
}

// The tone, cut into segments of `seconds` of each kind: [kind][i], i < kToneSegments; for
// fragmented MP4, [kind][kToneSegments] is the initialisation section.
const std::vector<Bytes>& ToneSegments(SegmentKind kind, int seconds) {
  static TempDir dir;
  static std::mutex lock;
  static std::map<int, std::array<std::vector<Bytes>, 3>> made;
  std::lock_guard hold(lock);
  if (made.count(seconds) == 0) {
    const std::string folder = dir.File(std::to_string(seconds));
    const std::string length = std::to_string(seconds);
    const std::string tone =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
        "sine=frequency=440:sample_rate=44100:duration=" +
        std::to_string((kToneSegments + 3) * seconds) + " -ac 2 -c:a aac -b:a 128k ";
    Run("mkdir -p '" + folder + "' && cd '" + folder + "' && " + tone + "-f hls -hls_time " +
        length +
        " -hls_list_size 0 -hls_segment_type mpegts "
        "-hls_segment_filename 'ts%d.ts' list.m3u8");
    Run("cd '" + folder + "' && " + tone + "-f segment -segment_time " + length +
        " -segment_format adts 'adts%d.aac'");
    Run("cd '" + folder + "' && " + tone + "-f hls -hls_time " + length +
        " -hls_list_size 0 -hls_segment_type fmp4 "
        "-hls_fmp4_init_filename init.mp4 -hls_segment_filename 'mp4%d.m4s' mp4.m3u8");
    std::array<std::vector<Bytes>, 3>& segments = made[seconds];
    for (int i = 1; i <= kToneSegments; ++i) {
      const std::string n = std::to_string(i);
      segments[0].push_back(ReadAll(folder + "/ts" + n + ".ts"));
      segments[1].push_back(ReadAll(folder + "/adts" + n + ".aac"));
      segments[2].push_back(ReadAll(folder + "/mp4" + n + ".m4s"));
    }
    segments[2].push_back(ReadAll(folder + "/init.mp4"));
  }
  return made[seconds][static_cast<std::size_t>(kind)];
}

void AppendSyncSafe(Bytes& out, std::size_t n) {
  for (int shift = 21; shift >= 0; shift -= 7) {
    out.push_back(static_cast<std::uint8_t>((n >> shift) & 0x7F));
  }
}

Bytes Frame(const std::string& id, const Bytes& body) {
  Bytes frame(id.begin(), id.end());
  AppendSyncSafe(frame, body.size());
  frame.push_back(0);
  frame.push_back(0);
  frame.insert(frame.end(), body.begin(), body.end());
  return frame;
}

Bytes TextFrame(const std::string& id, const std::string& text) {
  Bytes body{3};  // UTF-8
  body.insert(body.end(), text.begin(), text.end());
  return Frame(id, body);
}

// An ID3v2.4 tag as HLS packagers write it: the segment's time, the artist and the title.
Bytes Id3Tag(std::uint64_t pts, const std::string& artist, const std::string& title) {
  const std::string owner = "com.apple.streaming.transportStreamTimestamp";
  Bytes priv(owner.begin(), owner.end());
  priv.push_back(0);
  for (int shift = 56; shift >= 0; shift -= 8) {
    priv.push_back(static_cast<std::uint8_t>(pts >> shift));
  }
  Bytes frames = Frame("PRIV", priv);
  for (const Bytes& f : {TextFrame("TPE1", artist), TextFrame("TIT2", title)}) {
    frames.insert(frames.end(), f.begin(), f.end());
  }
  Bytes tag{'I', 'D', '3', 4, 0, 0};
  AppendSyncSafe(tag, frames.size());
  tag.insert(tag.end(), frames.begin(), frames.end());
  return tag;
}

std::uint32_t Crc32Mpeg(const std::uint8_t* p, std::size_t n) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= std::uint32_t(p[i]) << 24;
    for (int b = 0; b < 8; ++b) {
      crc = (crc & 0x80000000) != 0 ? (crc << 1) ^ 0x04C11DB7 : crc << 1;
    }
  }
  return crc;
}

unsigned Pid(const std::uint8_t* packet) {
  return unsigned(packet[1] & 0x1F) << 8 | packet[2];
}

// The PMT section of `packet` with one more stream: ID3 metadata (stream type 0x15 with its
// metadata descriptor) on kId3Pid. ffmpeg's PMT has no adaptation field and a zero pointer.
void AddMetadataStream(std::uint8_t* packet) {
  std::uint8_t* section = packet + 5;
  std::size_t length = std::size_t(section[1] & 0x0F) << 8 | section[2];
  std::uint8_t* crc = section + 3 + length - 4;
  const std::uint8_t entry[] = {0x15,
                                0xE0 | (kId3Pid >> 8),
                                kId3Pid & 0xFF,
                                0xF0,
                                15,
                                0x26,
                                13,
                                0xFF,
                                0xFF,
                                'I',
                                'D',
                                '3',
                                ' ',
                                0xFF,
                                'I',
                                'D',
                                '3',
                                ' ',
                                0x00,
                                0x0F};
  std::copy(std::begin(entry), std::end(entry), crc);
  length += sizeof entry;
  section[1] = static_cast<std::uint8_t>((section[1] & 0xF0) | (length >> 8));
  section[2] = static_cast<std::uint8_t>(length & 0xFF);
  const std::uint32_t sum = Crc32Mpeg(section, 3 + length - 4);
  std::uint8_t* end = section + 3 + length - 4;
  for (int i = 0; i < 4; ++i) {
    end[i] = static_cast<std::uint8_t>(sum >> (24 - 8 * i));
  }
}

// The first PTS of the PES packets on `pid`.
std::uint64_t FirstPts(const Bytes& ts, unsigned pid) {
  for (std::size_t at = 0; at + kPacket <= ts.size(); at += kPacket) {
    const std::uint8_t* p = &ts[at];
    if (Pid(p) == pid && (p[1] & 0x40) != 0) {
      const std::uint8_t* pes = p + 4 + (((p[3] >> 4) & 2) != 0 ? 1 + p[4] : 0);
      const std::uint8_t* t = pes + 9;
      return (std::uint64_t(t[0] >> 1 & 7) << 30) | (std::uint64_t(t[1]) << 22) |
             (std::uint64_t(t[2] >> 1) << 15) | (std::uint64_t(t[3]) << 7) | (t[4] >> 1);
    }
  }
  return 0;
}

// One TS packet of `pid` carrying a whole PES of `tag` at `pts` (stream id private_stream_1),
// stuffed to size by its adaptation field.
Bytes Id3Packet(const Bytes& tag, std::uint64_t pts) {
  Bytes pes{0, 0, 1, 0xBD};
  const std::size_t pesLength = 3 + 5 + tag.size();
  pes.push_back(static_cast<std::uint8_t>(pesLength >> 8));
  pes.push_back(static_cast<std::uint8_t>(pesLength));
  pes.insert(pes.end(), {0x84, 0x80, 5});
  pes.push_back(static_cast<std::uint8_t>(0x21 | ((pts >> 29) & 0x0E)));
  pes.push_back(static_cast<std::uint8_t>(pts >> 22));
  pes.push_back(static_cast<std::uint8_t>(0x01 | ((pts >> 14) & 0xFE)));
  pes.push_back(static_cast<std::uint8_t>(pts >> 7));
  pes.push_back(static_cast<std::uint8_t>(0x01 | ((pts << 1) & 0xFE)));
  pes.insert(pes.end(), tag.begin(), tag.end());
  if (pes.size() > kPacket - 6) {
    throw std::runtime_error("ID3 tag too long for one packet");
  }
  const std::size_t stuffing = kPacket - 4 - pes.size();  // adaptation field, length byte incl.
  Bytes packet{0x47, 0x40 | (kId3Pid >> 8), kId3Pid & 0xFF, 0x30,
               static_cast<std::uint8_t>(stuffing - 1)};
  if (stuffing > 1) {
    packet.push_back(0x00);
    packet.insert(packet.end(), stuffing - 2, 0xFF);
  }
  packet.insert(packet.end(), pes.begin(), pes.end());
  return packet;
}

std::string Artist(std::uint64_t sequence) {
  return "Artist " + std::to_string(sequence / HlsStation::kSegmentsPerTitle);
}
std::string Title(std::uint64_t sequence) {
  return "Song " + std::to_string(sequence / HlsStation::kSegmentsPerTitle);
}

// A tone segment for `sequence` with its title in the ID3 stream, after the program map.
Bytes TitledTransportStream(Bytes ts, std::uint64_t sequence) {
  unsigned pmtPid = 0;
  std::size_t pmtAt = 0;
  for (std::size_t at = 0; at + kPacket <= ts.size(); at += kPacket) {
    const std::uint8_t* p = &ts[at];
    if (Pid(p) == 0) {
      pmtPid = unsigned(p[15] & 0x1F) << 8 | p[16];
    } else if (pmtPid != 0 && Pid(p) == pmtPid) {
      pmtAt = at;
      break;
    }
  }
  if (pmtAt == 0) {
    throw std::runtime_error("no program map in the tone segment");
  }
  AddMetadataStream(&ts[pmtAt]);
  const std::uint64_t pts = FirstPts(ts, 0x100);
  const Bytes packet = Id3Packet(Id3Tag(pts, Artist(sequence), Title(sequence)), pts);
  ts.insert(ts.begin() + static_cast<std::ptrdiff_t>(pmtAt + kPacket), packet.begin(),
            packet.end());
  return ts;
}

void AppendUint(Bytes& out, std::uint64_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

// A tone fragment for `sequence` with its title in an ID3 `emsg` box (version 1, timed at the
// fragment's start) before its first moof.
Bytes TitledFragment(Bytes mp4, std::uint64_t sequence) {
  const std::string tfdt = "tfdt";
  const auto at = std::search(mp4.begin(), mp4.end(), tfdt.begin(), tfdt.end());
  const std::string moof = "moof";
  const auto moofAt = std::search(mp4.begin(), mp4.end(), moof.begin(), moof.end());
  if (at == mp4.end() || moofAt == mp4.end() || at[4] != 1) {
    throw std::runtime_error("no 64-bit decode time or moof in the tone fragment");
  }
  std::uint64_t start = 0;
  for (int i = 0; i < 8; ++i) {
    start = start << 8 | at[8 + i];
  }
  const Bytes tag = Id3Tag(start * 90000 / 44100, Artist(sequence), Title(sequence));
  const std::string scheme = "https://aomedia.org/emsg/ID3";
  Bytes body{1, 0, 0, 0};
  AppendUint(body, 44100, 4);
  AppendUint(body, start, 8);
  AppendUint(body, 0xFFFFFFFF, 4);
  AppendUint(body, sequence, 4);
  body.insert(body.end(), scheme.begin(), scheme.end());
  body.insert(body.end(), {0, '1', 0});
  body.insert(body.end(), tag.begin(), tag.end());
  Bytes box;
  AppendUint(box, body.size() + 8, 4);
  box.insert(box.end(), {'e', 'm', 's', 'g'});
  box.insert(box.end(), body.begin(), body.end());
  mp4.insert(moofAt - 4, box.begin(), box.end());
  return mp4;
}

Bytes TitledPackedAudio(const Bytes& adts, std::uint64_t sequence, int seconds) {
  Bytes segment = Id3Tag(sequence * seconds * 90000, Artist(sequence), Title(sequence));
  segment.insert(segment.end(), adts.begin(), adts.end());
  return segment;
}

}  // namespace

HlsStation::HlsStation(HttpFixture& server, std::string playlistPath, SegmentKind kind,
                       int segmentSeconds)
    : server_(server),
      playlistPath_(std::move(playlistPath)),
      segmentPrefix_(playlistPath_.substr(0, playlistPath_.rfind('/') + 1) + "seg"),
      kind_(kind),
      segmentSeconds_(segmentSeconds) {
  ToneSegments(kind_, segmentSeconds_);
}

HlsStation::~HlsStation() {
  Stop();
}

std::string HlsStation::StreamTitle(std::uint64_t sequence) {
  return "StreamTitle='" + Artist(sequence) + " - " + Title(sequence) + "';";
}

std::string HlsStation::SegmentPath(std::uint64_t sequence) const {
  constexpr const char* kExtensions[] = {".ts", ".aac", ".m4s"};
  return segmentPrefix_ + std::to_string(sequence) + kExtensions[static_cast<int>(kind_)];
}

std::string HlsStation::SegmentFile(std::uint64_t sequence) {
  const std::string file = dir_.File(std::to_string(sequence));
  std::FILE* exists = std::fopen(file.c_str(), "rb");
  if (exists != nullptr) {
    std::fclose(exists);
    return file;
  }
  const Bytes& tone = ToneSegments(kind_, segmentSeconds_)[sequence % kToneSegments];
  switch (kind_) {
    case SegmentKind::TransportStream:
      WriteAll(file, TitledTransportStream(tone, sequence));
      break;
    case SegmentKind::PackedAudio:
      WriteAll(file, TitledPackedAudio(tone, sequence, segmentSeconds_));
      break;
    case SegmentKind::FragmentedMp4:
      WriteAll(file, TitledFragment(tone, sequence));
      break;
  }
  return file;
}

void HlsStation::PublishLocked(const Window& window) {
  window_ = window;
  const std::string length = std::to_string(segmentSeconds_);
  std::string body = "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:" + length +
                     "\n#EXT-X-MEDIA-SEQUENCE:" + std::to_string(window.first) + "\n";
  if (window.encrypted) {
    body += "#EXT-X-KEY:METHOD=AES-128,URI=\"key.bin\"\n";
  }
  if (kind_ == SegmentKind::FragmentedMp4) {
    Route init;
    init.path = segmentPrefix_ + "init.mp4";
    init.headers = {{"Content-Type", "video/mp4"}};
    init.bodyFile = dir_.File("init.mp4");
    WriteAll(init.bodyFile, ToneSegments(kind_, segmentSeconds_)[kToneSegments]);
    server_.AddRoute(init);
    body += "#EXT-X-MAP:URI=\"seginit.mp4\"\n";
  }
  for (std::uint64_t s = window.first; s < window.first + std::uint64_t(window.count); ++s) {
    Route segment;
    segment.path = SegmentPath(s);
    segment.headers = {
        {"Content-Type", kind_ == SegmentKind::TransportStream ? "video/mp2t" : "audio/aac"}};
    if (missing_.count(s) != 0) {
      segment.status = 404;
      segment.body = "not found";
    } else {
      segment.bodyFile = SegmentFile(s);
    }
    server_.AddRoute(segment);
    body += "#EXTINF:" + length + ".0,\n" + segment.path.substr(segment.path.rfind('/') + 1) + "\n";
  }
  if (window.ended) {
    body += "#EXT-X-ENDLIST\n";
  }
  if (silent_) {
    return;
  }
  Route list;
  list.path = playlistPath_;
  list.headers = {{"Content-Type", window.type}};
  list.body = body;
  server_.AddRoute(list);
}

void HlsStation::Publish(const Window& window) {
  std::lock_guard hold(lock_);
  PublishLocked(window);
}

void HlsStation::Slide(const Window& window) {
  Stop();
  Publish(window);
  sliding_ = true;
  slider_ = std::thread([this] {
    auto next = std::chrono::steady_clock::now();
    while (sliding_) {
      next += std::chrono::seconds(segmentSeconds_);
      std::this_thread::sleep_until(next);  // a live encoder's pace, not a wait on the engine
      std::lock_guard hold(lock_);
      Window w = window_;
      ++w.first;
      PublishLocked(w);
    }
  });
}

void HlsStation::Stop() {
  sliding_ = false;
  if (slider_.joinable()) {
    slider_.join();
  }
}

void HlsStation::Missing(std::uint64_t sequence) {
  std::lock_guard hold(lock_);
  missing_.insert(sequence);
}

void HlsStation::Silence() {
  std::lock_guard hold(lock_);
  silent_ = true;
  Route list;
  list.path = playlistPath_;
  list.status = 503;
  list.body = "down";
  server_.AddRoute(list);
}

void HlsStation::Speak() {
  std::lock_guard hold(lock_);
  silent_ = false;
  PublishLocked(window_);
}

}  // namespace fixture
