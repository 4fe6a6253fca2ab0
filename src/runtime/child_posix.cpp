// Children through the shell: every word single-quoted, so that no
// character of a name means anything to it.
#include <sys/wait.h>
#include <unistd.h>

#include "runtime/child_platform.h"

namespace {

void AppendQuoted(std::string& command, const std::string& word) {
  command.push_back('\'');
  for (char c : word) {
    if (c == '\'') {
      command.append("'\\''");
    } else {
      command.push_back(c);
    }
  }
  command.push_back('\'');
}

}  // namespace

std::FILE* PlatformStartChild(const std::string& path, const std::vector<std::string>& words) {
  std::string command("exec ");
  AppendQuoted(command, path);
  for (const std::string& word : words) {
    command.push_back(' ');
    AppendQuoted(command, word);
  }
  command.append(" 2>&1");
  return ::popen(command.c_str(), "r");
}

int PlatformEndChild(std::FILE* stream) {
  const int status = ::pclose(stream);
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool PlatformErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }
