#pragma once
#include <functional>
#include <string>

// Runs body in a forked child whose standard error is captured; body is
// expected to end the process itself.
struct ChildResult {
  int exitStatus;  // -1 when the child did not exit normally
  std::string standardError;
};

ChildResult RunInChild(const std::function<void()>& body);
