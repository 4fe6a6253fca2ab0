#include "program_runs.h"

#include <cstring>
#include <random>
#include <string_view>

#include "bmp/pixel_layout.h"
#include "driver/main_program.h"
#include "driver/run_state.h"
#include "memory_console.h"
#include "render/render_program.h"
#include "run_ended.h"
#include "runtime/command_line.h"

namespace {

constexpr int32_t Columns = 250;  // wide enough for a line with a long temporary path
constexpr int32_t Rows = 60;

MainRun RunMain(const std::string& name, const std::vector<std::string>& arguments,
                void (*program)()) {
  static std::vector<std::string> kept;
  static std::string_view views[16];
  kept = arguments;
  for (size_t i = 0; i < kept.size() && i < 16; ++i) views[i] = kept[i];
  SetArguments(name, views, static_cast<int>(kept.size()));
  ResetRunState();
  StartMemoryConsole(Columns, Rows);
  MainRun run;
  try {
    program();
  } catch (const RunEnded& ended) {
    run.status = ended.status;
  }
  for (int32_t r = 0; r < Rows; ++r) run.rows.push_back(MemoryConsoleWindowRow(r));
  return run;
}

}  // namespace

MainRun RunRenderer(const std::vector<std::string>& arguments) {
  return RunMain("cellglyph-render", arguments, RunRenderProgram);
}

MainRun RunConverter(const std::vector<std::string>& arguments) {
  return RunMain("cellglyph", arguments, RunMainProgram);
}

std::string RandomScreen(uint32_t seed, int codeCount) {
  std::mt19937 generator(seed);
  std::string screen(1000, '\0');
  for (char& code : screen) code = static_cast<char>(generator() % static_cast<uint32_t>(codeCount));
  return screen;
}

std::string WithLowerTwins(std::string screen) {
  static const uint8_t twins[][2] = {{96, 32},   {67, 64},   {93, 66},   {116, 101}, {106, 103},
                                     {224, 160}, {195, 192}, {221, 194}, {244, 229}, {234, 231}};
  for (char& code : screen)
    for (const auto& [higher, lower] : twins)
      if (static_cast<uint8_t>(code) == higher) code = static_cast<char>(lower);
  return screen;
}
