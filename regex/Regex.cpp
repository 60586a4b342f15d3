#include "regex/Regex.h"

#include <cstdlib>

Regex::~Regex() {
  std::free(program);
  std::free(matchCopy);
}
