// The page has no command line: its controls give the settings directly.
// Names are shown as given, as UTF-8.
#include "runtime/arguments_platform.h"
#include "runtime/command_line.h"

void LoadArguments(int, char**) { SetArguments("", nullptr, 0); }

ShownName ShowName(std::string_view name) {
  return {MakeText(name), name.size()};
}
