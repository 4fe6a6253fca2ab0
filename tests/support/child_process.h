#pragma once
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

// Runs a program with standard output and standard error captured (so no
// terminal is attached); standard input is empty.
struct ProgramResult {
  int exitStatus;  // -1 when the program did not exit normally
  std::string standardOutput;
  std::string standardError;
};

ProgramResult RunProgram(const std::vector<std::string>& command);
