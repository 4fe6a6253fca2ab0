// The command line on Linux and macOS: the shell has split it already, and
// argument 0 is the full path of the program file. Names are UTF-8 here.
#include <climits>
#include <cstdint>
#include <unistd.h>
#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

#include "runtime/arguments_platform.h"
#include "runtime/code_page_1252.h"
#include "runtime/command_line.h"

namespace {

constexpr int MaxWords = 4096;  // any count above 4 is turned away anyway
std::string_view words[MaxWords];
char programPath[PATH_MAX + 1];

std::string_view FindProgramPath(const char* fallback) {
#if defined(__APPLE__)
  uint32_t size = sizeof programPath;
  if (_NSGetExecutablePath(programPath, &size) == 0) return programPath;
#else
  ssize_t length = ::readlink("/proc/self/exe", programPath, PATH_MAX);
  if (length > 0) return std::string_view(programPath, static_cast<size_t>(length));
#endif
  return fallback != nullptr ? fallback : "";
}

}  // namespace

void LoadArguments(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc && count < MaxWords; ++i) words[count++] = argv[i];
  SetArguments(FindProgramPath(argc > 0 ? argv[0] : nullptr), words, count);
}

// A name whose every character exists in code page 1252 is shown as itself,
// one cell a character, as on Windows. Any other is shown byte by byte.
ShownName ShowName(std::string_view name) {
  ShownName shown{};
  if (!Utf8ToCodePage1252(name, shown.text, shown.length)) {
    shown.text = MakeText(name);
    shown.length = name.size();
  }
  return shown;
}
