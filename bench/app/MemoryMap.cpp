#include "bench/app/MemoryMap.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace bench {
namespace {

// glibc's arenas other than the main one live in heaps of this size, aligned to it.
constexpr unsigned long long kArenaHeapBytes = 64ull << 20;

struct Mapping {
  unsigned long long start = 0;
  unsigned long long end = 0;
  std::string permissions;
  std::string path;  // empty for anonymous memory; "[heap]", "[stack]" and the like
  double pssKb = 0;
  double privateKb = 0;
  double writtenKb = 0;
};

std::vector<Mapping> ReadMappings(const std::string& pid) {
  std::vector<Mapping> mappings;
  std::ifstream smaps("/proc/" + pid + "/smaps");
  std::string line;
  while (std::getline(smaps, line)) {
    const std::size_t colon = line.find(':');
    const bool field = colon != std::string::npos && colon < line.find(' ');
    if (!field) {
      std::istringstream words(line);
      Mapping mapping;
      std::string range, offset, device, inode;
      words >> range >> mapping.permissions >> offset >> device >> inode;
      std::getline(words >> std::ws, mapping.path);
      const std::size_t dash = range.find('-');
      mapping.start = std::stoull(range.substr(0, dash), nullptr, 16);
      mapping.end = std::stoull(range.substr(dash + 1), nullptr, 16);
      mappings.push_back(mapping);
      continue;
    }
    if (mappings.empty())
      continue;
    const std::string key = line.substr(0, colon);
    Mapping& mapping = mappings.back();
    auto kb = [&] { return std::stod(line.substr(colon + 1)); };
    if (key == "Pss")
      mapping.pssKb = kb();
    if (key == "Private_Clean")
      mapping.privateKb += kb();
    if (key == "Private_Dirty") {
      mapping.writtenKb = kb();
      mapping.privateKb += mapping.writtenKb;
    }
  }
  return mappings;
}

// What an anonymous mapping holds: a thread's stack sits right above its guard page; an arena's
// heap starts at a multiple of its size.
std::string AnonymousKind(const std::vector<Mapping>& mappings, std::size_t i) {
  const Mapping& mapping = mappings[i];
  if (mapping.path == "[heap]")
    return "main malloc heap";
  if (mapping.path == "[stack]")
    return "main thread's stack";
  if (!mapping.path.empty())
    return "other " + mapping.path;
  if (mapping.start % kArenaHeapBytes == 0)
    return "other malloc arenas";
  const bool belowIsGuard = i > 0 && mappings[i - 1].end == mapping.start &&
                            mappings[i - 1].permissions == "---p" && mappings[i - 1].path.empty();
  if (belowIsGuard)
    return "thread stacks";
  return "other anonymous (large allocations: images, buffers)";
}

std::vector<MemoryPart> Sorted(const std::map<std::string, MemoryPart>& parts) {
  std::vector<MemoryPart> sorted;
  for (const auto& [name, part] : parts)
    sorted.push_back(part);
  std::sort(sorted.begin(), sorted.end(),
            [](const MemoryPart& a, const MemoryPart& b) { return a.pssKb > b.pssKb; });
  return sorted;
}

void Add(std::map<std::string, MemoryPart>& parts, const std::string& name, const Mapping& m) {
  MemoryPart& part = parts[name];
  part.name = name;
  part.pssKb += m.pssKb;
  part.writtenKb += m.writtenKb;
}

}  // namespace

MemoryMap ReadMemoryMap(const std::string& pid) {
  const std::vector<Mapping> mappings = ReadMappings(pid);
  std::map<std::string, MemoryPart> anonymous, files;
  MemoryMap map;
  for (std::size_t i = 0; i < mappings.size(); ++i) {
    const Mapping& mapping = mappings[i];
    map.pssKb += mapping.pssKb;
    map.privateKb += mapping.privateKb;
    if (mapping.path.empty() || mapping.path[0] == '[') {
      map.anonymousKb += mapping.pssKb;
      Add(anonymous, AnonymousKind(mappings, i), mapping);
    } else {
      map.fileKb += mapping.pssKb;
      Add(files, mapping.path.substr(mapping.path.rfind('/') + 1), mapping);
    }
  }
  map.anonymous = Sorted(anonymous);
  map.files = Sorted(files);
  return map;
}

void PrintMemoryMap(const char* title, const MemoryMap& map, double smallKb) {
  std::printf("%s: PSS %.2f MB (private %.2f MB): anonymous %.2f MB, files %.2f MB\n", title,
              map.pssKb / 1024, map.privateKb / 1024, map.anonymousKb / 1024, map.fileKb / 1024);
  for (const MemoryPart& part : map.anonymous) {
    if (part.pssKb == 0)
      continue;
    std::printf("  %7.0f kB  %s\n", part.pssKb, part.name.c_str());
  }
  double smallSum = 0;
  int smallCount = 0;
  for (const MemoryPart& part : map.files) {
    if (part.pssKb < smallKb) {
      smallSum += part.pssKb;
      ++smallCount;
      continue;
    }
    std::printf("  %7.0f kB  %s (written %.0f kB)\n", part.pssKb, part.name.c_str(),
                part.writtenKb);
  }
  std::printf("  %7.0f kB  %d other files\n", smallSum, smallCount);
}

}  // namespace bench
