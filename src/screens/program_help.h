#pragma once
#include <span>
#include <string_view>

// One line of a program's usage: lead, then, where namesProgram is set, the
// program's path as it was started (its first 255 characters as names are
// shown), then text.
struct UsageLine {
  std::string_view lead;
  bool namesProgram;
  std::string_view text;
};

// What a program says about itself: its name for the version line and its
// usage. Every usage ends with two lines on --help and --version.
struct ProgramHelp {
  std::string_view name;
  std::span<const UsageLine> usage;
};

// When a word of the command line is --help, writes the usage to standard
// output; otherwise, when one is --version, writes the line NAME VERSION
// there. Either ends the run with status 0, whether standard output is a
// terminal or not. Returns when neither word is given.
void AnswerHelpOrVersion(const ProgramHelp& help);

// Writes the usage to standard error and ends the run with status 1: the
// answer to a command line the program cannot take.
[[noreturn]] void RejectCommandLine(const ProgramHelp& help);

// Both end the run through the I/O check, with that failure's number, when
// the stream cannot take the text.
