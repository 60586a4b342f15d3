#include "tests/support/SimulatedInternet.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "directory/ServiceHosts.h"
#include "platform/HttpClient.h"

namespace fixture {
namespace {

constexpr char kStationHost[] = "stations.tunedeck.test";
constexpr char kCoverHost[] = "covers.tunedeck.test";

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream parts(line);
  std::string field;
  while (std::getline(parts, field, '|')) {
    fields.push_back(field);
  }
  return fields;
}

Icecast::OggSong OggSongOf(const std::string& song, int hz, std::chrono::seconds length) {
  const std::size_t dash = song.find(" - ");
  Icecast::OggSong ogg;
  ogg.artist = dash == std::string::npos ? song : song.substr(0, dash);
  ogg.title = dash == std::string::npos ? std::string() : song.substr(dash + 3);
  ogg.hz = hz;
  ogg.seconds = static_cast<double>(length.count());
  return ogg;
}

}  // namespace

bool SimulatedInternet::Station::ogg() const {
  return mount.ends_with(".ogg");
}

std::vector<SimulatedInternet::Station> ReadStations(const std::string& path) {
  std::ifstream file(path);
  if (!file) {
    throw std::runtime_error("cannot read " + path);
  }
  std::vector<SimulatedInternet::Station> stations;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') {
      continue;
    }
    const std::vector<std::string> fields = SplitFields(line);
    if (fields.size() < 4) {
      throw std::runtime_error("a station needs a mount, a tone, a name and a title: " + line);
    }
    SimulatedInternet::Station station;
    station.mount = fields[0];
    station.hz = std::stoi(fields[1]);
    station.name = fields[2];
    station.titles.assign(fields.begin() + 3, fields.end());
    stations.push_back(std::move(station));
  }
  return stations;
}

SimulatedInternet::SimulatedInternet() : SimulatedInternet(Options{}) {}

SimulatedInternet::SimulatedInternet(const Options& options)
    : stations_(ReadStations(FixturePath("internet/stations.txt"))),
      web_(HttpFixture::Options{.routesFile = FixturePath("internet/routes.json")}),
      icecast_(options.burstBytes) {
  for (const Station& station : stations_) {
    if (station.ogg()) {
      std::vector<Icecast::OggSong> songs;
      for (const std::string& title : station.titles) {
        songs.push_back(OggSongOf(title, station.hz, options.oggSongLength));
      }
      icecast_.StartOggSongs(station.mount, songs);
    } else {
      icecast_.StartMp3Tone(station.mount, station.hz, static_cast<int>(options.mp3Length.count()),
                            station.name);
      NextTitle(station.mount);
    }
  }
}

void SimulatedInternet::MapHosts() const {
  for (const char* host : {kDirectoryHost, kTrackInfoHost, kCoverHost}) {
    http::MapHost(host, kServicePort, "127.0.0.1", web_.port());
  }
  http::MapHost(kStationHost, 80, "127.0.0.1", icecast_.port());
  // The keyless cover sources are not played here. Their HTTPS requests go to the plain HTTP
  // server, where the handshake fails at once: nothing leaves loopback.
  for (const char* host : {kItunesHost, kMusicBrainzHost, kCoverArchiveHost}) {
    http::MapHost(host, kSecurePort, "127.0.0.1", web_.port());
  }
}

void SimulatedInternet::SetTitle(const std::string& mount, const std::string& song) {
  icecast_.SetTitle(mount, song);
}

std::string SimulatedInternet::NextTitle(const std::string& mount) {
  for (const Station& station : stations_) {
    if (station.mount == mount && !station.ogg()) {
      std::size_t& next = titleIndex_[mount];
      const std::string song = station.titles[next % station.titles.size()];
      ++next;
      SetTitle(mount, song);
      return song;
    }
  }
  throw std::logic_error("no MP3 station on " + mount);
}

}  // namespace fixture
