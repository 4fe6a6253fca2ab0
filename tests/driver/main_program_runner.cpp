#include "main_program_runner.h"

#include <cstring>
#include <string_view>

#include "bmp/pixel_layout.h"
#include "driver/main_program.h"
#include "driver/run_state.h"
#include "memory_console.h"
#include "run_ended.h"
#include "runtime/command_line.h"

int32_t RunMainProgramWith(const std::string& program, const std::vector<std::string>& arguments,
                           int32_t columns, int32_t rows) {
  // The arguments must outlive the run, as the process's own do.
  static std::string keptProgram;
  static std::vector<std::string> kept;
  static std::vector<std::string_view> views;
  keptProgram = program;
  kept = arguments;
  views.assign(kept.begin(), kept.end());
  SetArguments(keptProgram, views.data(), static_cast<int>(views.size()));
  ResetRunState();
  StartMemoryConsole(columns, rows);
  try {
    RunMainProgram();
  } catch (const RunEnded& ended) {
    return ended.status;
  }
  return -1;
}
