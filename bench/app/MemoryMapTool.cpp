// memory_map PID...: where each running process's PSS goes, as the playing benchmark prints it
// for the player (to look at the installed program, or a peer, the same way).
#include <cstdio>

#include "bench/app/MemoryMap.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: memory_map PID...\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    const bench::MemoryMap map = bench::ReadMemoryMap(argv[i]);
    if (map.pssKb == 0) {
      std::fprintf(stderr, "memory_map: cannot read /proc/%s/smaps\n", argv[i]);
      return 1;
    }
    bench::PrintMemoryMap(argv[i], map);
  }
  return 0;
}
