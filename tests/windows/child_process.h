#pragma once
#include <string>

// Starting a helper program of the test build with an exact command line.
struct ChildRun {
  bool started;
  unsigned long exitStatus;
  std::string output;  // its standard output
  std::string errors;  // its standard error
};

// The full path of a program that sits in the same folder as this one.
std::string ProgramBesideThisOne(const char* fileName);

// Runs program with commandLine as the whole command line it receives,
// without a console, and collects what it writes.
ChildRun RunChild(const std::string& program, const std::string& commandLine);
