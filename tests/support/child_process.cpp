#include "child_process.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
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

namespace {

// Reads both pipes to their ends without letting either fill up.
void DrainPipes(int outputPipe, int errorPipe, std::string& output, std::string& error) {
  struct pollfd open[2] = {{outputPipe, POLLIN, 0}, {errorPipe, POLLIN, 0}};
  int remaining = 2;
  char buffer[65536];
  while (remaining > 0) {
    if (::poll(open, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (open[i].fd < 0 || open[i].revents == 0) continue;
      ssize_t got = ::read(open[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        (i == 0 ? output : error).append(buffer, static_cast<size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        ::close(open[i].fd);
        open[i].fd = -1;
        --remaining;
      }
    }
  }
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& command) {
  int outputPipe[2];
  int errorPipe[2];
  if (::pipe(outputPipe) != 0 || ::pipe(errorPipe) != 0) return {-1, "", "pipe failed"};
  pid_t child = ::fork();
  if (child == 0) {
    int empty = ::open("/dev/null", O_RDONLY);
    ::dup2(empty, STDIN_FILENO);
    ::dup2(outputPipe[1], STDOUT_FILENO);
    ::dup2(errorPipe[1], STDERR_FILENO);
    ::close(outputPipe[0]);
    ::close(errorPipe[0]);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(outputPipe[1]);
  ::close(errorPipe[1]);
  ProgramResult result{-1, "", ""};
  DrainPipes(outputPipe[0], errorPipe[0], result.standardOutput, result.standardError);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  return result;
}
