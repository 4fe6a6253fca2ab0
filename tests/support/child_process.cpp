#include "child_process.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
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

// Reads the pipes that exist to their ends without letting either fill up.
void Drain(int outputPipe, int errorPipe, ProgramResult& result) {
  struct pollfd open[2] = {{outputPipe, POLLIN, 0}, {errorPipe, POLLIN, 0}};
  char buffer[65536];
  while (open[0].fd >= 0 || open[1].fd >= 0) {
    if (::poll(open, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (open[i].fd < 0 || open[i].revents == 0) continue;
      ssize_t got = ::read(open[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        (i == 0 ? result.standardOutput : result.standardError)
            .append(buffer, static_cast<size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        ::close(open[i].fd);
        open[i].fd = -1;
      }
    }
  }
}

// Sets up one standard descriptor of the child-to-be. Returns the test's
// reading end for a captured stream, else -1.
int PrepareStream(Stream stream, int pipeEnds[2]) {
  pipeEnds[0] = pipeEnds[1] = -1;
  if (stream == Stream::Closed) return -1;
  if (::pipe(pipeEnds) != 0) return -1;
  if (stream == Stream::Broken) {
    // Closed before the fork: no process at all can read it any more.
    ::close(pipeEnds[0]);
    pipeEnds[0] = -1;
  }
  return pipeEnds[0];
}

void PlaceInChild(Stream stream, const int pipeEnds[2], int descriptor) {
  if (stream == Stream::Closed) {
    ::close(descriptor);
    return;
  }
  ::dup2(pipeEnds[1], descriptor);
  ::close(pipeEnds[1]);
  if (pipeEnds[0] >= 0) ::close(pipeEnds[0]);
}

}  // namespace

ProgramResult RunProgram(const Launch& launch) {
  int outputPipe[2];
  int errorPipe[2];
  int outputRead = PrepareStream(launch.output, outputPipe);
  int errorRead = PrepareStream(launch.error, errorPipe);
  pid_t child = ::fork();
  if (child == 0) {
    // The program has to cope with the default dispositions, whatever the
    // test runner set.
    ::signal(SIGPIPE, SIG_DFL);
    ::signal(SIGXFSZ, SIG_DFL);
    if (launch.fileSizeLimit != 0) {
      struct rlimit limit = {launch.fileSizeLimit, launch.fileSizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::alarm(launch.timeoutSeconds);
    int empty = ::open("/dev/null", O_RDONLY);
    ::dup2(empty, STDIN_FILENO);
    ::close(empty);
    if (launch.inputClosed) ::close(STDIN_FILENO);
    PlaceInChild(launch.output, outputPipe, STDOUT_FILENO);
    PlaceInChild(launch.error, errorPipe, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& word : launch.command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  for (int* ends : {outputPipe, errorPipe})
    if (ends[1] >= 0) ::close(ends[1]);
  ProgramResult result;
  Drain(outputRead, errorRead, result);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

ProgramResult RunProgram(const std::vector<std::string>& command) {
  Launch launch;
  launch.command = command;
  return RunProgram(launch);
}
