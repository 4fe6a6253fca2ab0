#include "child_process.h"

#include <sys/wait.h>
#include <unistd.h>

ChildResult RunInChild(const std::function<void()>& body) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return {-1, "pipe failed"};
  pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    ::dup2(pipeEnds[1], STDERR_FILENO);
    ::close(pipeEnds[1]);
    body();
    ::_exit(250);  // body was meant to end the process
  }
  ::close(pipeEnds[1]);
  ChildResult result{-1, ""};
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0)
    result.standardError.append(buffer, static_cast<size_t>(got));
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  return result;
}
