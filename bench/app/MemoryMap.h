// Where a process's proportional memory (PSS) goes, from its /proc/PID/smaps: the malloc heaps,
// thread stacks and other anonymous memory apart, then each file it maps (the executable, each
// library, each font) with the part of it that the process wrote (relocations, data).
#pragma once

#include <string>
#include <vector>

namespace bench {

struct MemoryPart {
  std::string name;
  double pssKb = 0;
  double writtenKb = 0;  // private dirty: pages of its own, not shared with any process
};

struct MemoryMap {
  double pssKb = 0;
  double privateKb = 0;  // clean and dirty pages no other process maps (the same in any company)
  double anonymousKb = 0;
  double fileKb = 0;
  std::vector<MemoryPart> anonymous;  // main heap, other malloc arenas, thread stacks, the rest
  std::vector<MemoryPart> files;      // largest first
};

// The map of a running process ("self" or a pid); empty when it cannot be read.
MemoryMap ReadMemoryMap(const std::string& pid);

// Prints the map, files below `smallKb` PSS summed in one line.
void PrintMemoryMap(const char* title, const MemoryMap& map, double smallKb = 150);

}  // namespace bench
