// The command line on Windows: the process gets one text, which the program
// cuts into words itself; argument 0 is the full path of the program file,
// not the name as typed.
#include <windows.h>

#include "runtime/arguments_platform.h"
#include "runtime/command_line.h"

namespace {

// Windows passes at most 32767 characters. Any count above 4 is turned away,
// so words past the first few thousand need no room.
constexpr size_t MaxLine = 32768;
constexpr int MaxWords = 4096;

char wordStorage[MaxLine];
std::string_view words[MaxWords];
char programPath[MaxLine];

}  // namespace

void LoadArguments(int, char**) {
  const char* line = GetCommandLineA();
  std::string_view text(line != nullptr ? line : "");
  if (text.size() > MaxLine) text = text.substr(0, MaxLine);
  int count = SplitCommandLine(text, wordStorage, words, MaxWords);

  DWORD length = GetModuleFileNameA(nullptr, programPath, static_cast<DWORD>(sizeof programPath));
  if (length >= sizeof programPath) length = 0;

  // The first word is the program as it was typed; it is replaced by the path.
  int remaining = count > 0 ? count - 1 : 0;
  SetArguments(std::string_view(programPath, length), words + 1, remaining);
}

// The command line arrives in the ANSI code page: a name is shown as its bytes.
ShownName ShowName(std::string_view name) { return ShownName{MakeText(name), name.size()}; }
