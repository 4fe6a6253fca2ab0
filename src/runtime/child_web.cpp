// A page starts no other programs: the batch's workers are the page's own
// Web Worker instead.
#include "runtime/child_platform.h"

std::FILE* PlatformStartChild(const std::string&, const std::vector<std::string>&) {
  return nullptr;
}

int PlatformEndChild(std::FILE*) { return -1; }

bool PlatformErrorIsTerminal() { return false; }
