// Children through the command interpreter: every word in double quotes
// (names hold none), and the whole line in one more pair, which the
// interpreter takes off again.
#include <windows.h>

#include "runtime/child_platform.h"

std::FILE* PlatformStartChild(const std::string& path, const std::vector<std::string>& words) {
  std::string command = "\"\"" + path + "\"";
  for (const std::string& word : words) command += " \"" + word + "\"";
  return ::_popen((command + " 2>&1\"").c_str(), "rb");
}

int PlatformEndChild(std::FILE* stream) { return ::_pclose(stream); }

bool PlatformErrorIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}
