// The album-art pattern over an album element of a track-info reply (about 1 KB, a match) and
// over a 64 KB reply without a large image (no match): this engine beside std::regex and PCRE2
// (interpreted, no JIT), each compiled once outside the timed loop. Compilation is timed apart.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <benchmark/benchmark.h>
#include <pcre2.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "regex/Regex.h"

namespace {

constexpr const char* kAlbumArtPattern = "<image size=\"large\">[^<]+<";

std::string AlbumElement() {
  std::ifstream file(TUNEDECK_FIXTURES "/regex/album.xml", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The album element's lines repeated to 64 KB, every large image taken out.
std::string ReplyWithoutLargeImage() {
  std::istringstream album(AlbumElement());
  std::string lines;
  for (std::string line; std::getline(album, line);) {
    if (line.find("size=\"large\"") == std::string::npos) {
      lines += line + "\n";
    }
  }
  std::string reply;
  while (reply.size() < 64 * 1024) {
    reply += lines;
  }
  return reply;
}

const std::string& Subject(bool match) {
  static const std::string album = AlbumElement();
  static const std::string reply = ReplyWithoutLargeImage();
  return match ? album : reply;
}

void ExpectResult(benchmark::State& state, bool found, bool match) {
  if (found != match) {
    state.SkipWithError("unexpected search result");
  }
}

void Tunedeck(benchmark::State& state, bool match) {
  const std::string& subject = Subject(match);
  Regex re;
  re.Compile(kAlbumArtPattern);
  for (auto _ : state) {
    benchmark::DoNotOptimize(re.Execute(subject.c_str()));
  }
  ExpectResult(state, re.Execute(subject.c_str()) >= 0, match);
  state.SetBytesProcessed(state.iterations() * subject.size());
}

void StdRegex(benchmark::State& state, bool match) {
  const std::string& subject = Subject(match);
  const std::regex re(kAlbumArtPattern);
  std::smatch found;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::regex_search(subject, found, re));
  }
  ExpectResult(state, std::regex_search(subject, found, re), match);
  state.SetBytesProcessed(state.iterations() * subject.size());
}

pcre2_code* CompilePcre2() {
  int error;
  PCRE2_SIZE offset;
  return pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kAlbumArtPattern), PCRE2_ZERO_TERMINATED,
                       PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY, &error, &offset, nullptr);
}

void Pcre2Interpreted(benchmark::State& state, bool match) {
  const std::string& subject = Subject(match);
  pcre2_code* code = CompilePcre2();
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
  const auto* bytes = reinterpret_cast<PCRE2_SPTR>(subject.c_str());
  for (auto _ : state) {
    benchmark::DoNotOptimize(pcre2_match(code, bytes, subject.size(), 0, 0, data, nullptr));
  }
  ExpectResult(state, pcre2_match(code, bytes, subject.size(), 0, 0, data, nullptr) > 0, match);
  state.SetBytesProcessed(state.iterations() * subject.size());
  pcre2_match_data_free(data);
  pcre2_code_free(code);
}

BENCHMARK_CAPTURE(Tunedeck, AlbumElementMatch, true);
BENCHMARK_CAPTURE(StdRegex, AlbumElementMatch, true);
BENCHMARK_CAPTURE(Pcre2Interpreted, AlbumElementMatch, true);
BENCHMARK_CAPTURE(Tunedeck, Reply64KbNoMatch, false);
BENCHMARK_CAPTURE(StdRegex, Reply64KbNoMatch, false);
BENCHMARK_CAPTURE(Pcre2Interpreted, Reply64KbNoMatch, false);

// The album-art lookup compiles its pattern at every lookup.
void TunedeckCompile(benchmark::State& state) {
  Regex re;
  for (auto _ : state) {
    benchmark::DoNotOptimize(re.Compile(kAlbumArtPattern));
  }
}

void StdRegexCompile(benchmark::State& state) {
  for (auto _ : state) {
    std::regex re(kAlbumArtPattern);
    benchmark::DoNotOptimize(re);
  }
}

void Pcre2Compile(benchmark::State& state) {
  for (auto _ : state) {
    pcre2_code* code = CompilePcre2();
    benchmark::DoNotOptimize(code);
    pcre2_code_free(code);
  }
}

BENCHMARK(TunedeckCompile);
BENCHMARK(StdRegexCompile);
BENCHMARK(Pcre2Compile);

}  // namespace
