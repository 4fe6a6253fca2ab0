#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Runs body in a forked child whose standard error is captured; body is
// expected to end the process itself.
struct ChildResult {
  int exitStatus;  // -1 when the child did not exit normally
  std::string standardError;
};

ChildResult RunInChild(const std::function<void()>& body);

// Runs a program with standard input empty and standard output and error
// each captured, closed, or a pipe whose reader is already gone.
enum class Stream {
  Captured,  // a pipe the test reads
  Closed,    // no descriptor at all
  Broken,    // a pipe whose reading end is gone before the program starts
};

struct Launch {
  std::vector<std::string> command;
  Stream output = Stream::Captured;
  Stream error = Stream::Captured;
  bool inputClosed = false;      // otherwise standard input is empty
  uint64_t fileSizeLimit = 0;    // bytes; 0 for none
  unsigned timeoutSeconds = 30;  // a program that hangs is ended by SIGALRM
};

struct ProgramResult {
  int exitStatus = -1;  // -1 when the program did not exit normally
  int signal = 0;       // the signal that ended it, if one did
  std::string standardOutput;
  std::string standardError;
};

ProgramResult RunProgram(const Launch& launch);
ProgramResult RunProgram(const std::vector<std::string>& command);
