// Time to match one 320 x 200 image (1000 cells) with each matcher, in both
// modes, on a random image and a mostly blank one. "production" is
// MatchCells as the program runs it, which also passes over repeated cells;
// "portable" and "avx2" search every cell with that path alone. After the
// table a summary gives each matcher's speed-up over the bit-by-bit
// reference (medians when run with --benchmark_repetitions).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>

#include "bmp/pixel_layout.h"
#include "match/avx2_search.h"
#include "match/cell_matcher.h"
#include "match/glyph_search.h"
#include "match/row_pattern.h"
#include "match/screen_layout.h"
#include "reference_matcher.h"

namespace {

uint8_t PixelData[PixelDataSize];
uint8_t ScreenCodes[CellCount];
int16_t SameBitsGrid[CellRows][CellColumns];

enum class Image { Random, MostlyBlank };

const char* ImageName(Image image) { return image == Image::Random ? "random" : "mostly_blank"; }
const char* ModeName(bool dirart) { return dirart ? "dirart" : "normal"; }

void LoadImage(Image image) {
  std::mt19937_64 random(2017);
  for (uint8_t& byte : PixelData) byte = static_cast<uint8_t>(random());
  if (image == Image::Random) return;
  // One cell in twenty keeps its random content; the rest is background.
  for (int cell = 0; cell < CellCount; ++cell) {
    if (random() % 20 == 0) continue;
    for (int line = 0; line < 8; ++line) PixelData[((cell / 40) * 8 + line) * 40 + cell % 40] = 0;
  }
}

void CopyCell(int cell, uint8_t lines[8]) {
  for (int line = 0; line < 8; ++line) lines[line] = PixelData[((cell / 40) * 8 + line) * 40 + cell % 40];
}

void MatchWithReference(bool dirart) {
  for (int cell = 0; cell < CellCount; ++cell) {
    uint8_t lines[8];
    CopyCell(cell, lines);
    const GlyphMatch match = ReferenceFindBestGlyph(lines, dirart);
    ScreenCodes[cell] = match.glyph;
    SameBitsGrid[cell / 40][cell % 40] = match.samebits;
  }
}

template <GlyphSearch search>
void MatchWith(bool dirart) {
  for (int cell = 0; cell < CellCount; ++cell) {
    uint8_t lines[8];
    CopyCell(cell, lines);
    const GlyphMatch match = search(PackRows(lines), dirart);
    ScreenCodes[cell] = match.glyph;
    SameBitsGrid[cell / 40][cell % 40] = match.samebits;
  }
}

void MatchWithProduction(bool dirart) {
  MatchCells(PixelData, dirart, ScreenCodes, SameBitsGrid);
}

using ImageMatcher = void (*)(bool dirart);

struct Matcher {
  const char* name;
  ImageMatcher match;
  bool needsAvx2;
};

const Matcher matchers[] = {
    {"reference", MatchWithReference, false},
    {"production", MatchWithProduction, false},
    {"portable", MatchWith<SearchGlyphsPortable>, false},
    {"avx2", MatchWith<SearchGlyphsAvx2>, true},
};

void RunMatcher(benchmark::State& state, const Matcher& matcher, bool dirart, Image image) {
  if (matcher.needsAvx2 && !CpuHasAvx2()) {
    state.SkipWithError("this processor has no AVX2");
    return;
  }
  LoadImage(image);
  for (auto _ : state) {
    matcher.match(dirart);
    benchmark::DoNotOptimize(ScreenCodes);
    benchmark::DoNotOptimize(SameBitsGrid);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * CellCount);
}

std::string BenchmarkName(const Matcher& matcher, bool dirart, Image image) {
  return std::string(matcher.name) + "/" + ModeName(dirart) + "/" + ImageName(image);
}

// Keeps each benchmark's time per image while the console shows the table.
class TimeKeeper : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> microseconds;
  std::set<std::string> medians;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // With repetitions the median stands for the benchmark; it shrugs off
      // the odd repetition slowed down by other work on the machine.
      if (run.error_occurred) continue;
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate ? run.aggregate_name == "median" : !medians.count(name)) {
        microseconds[name] = run.GetAdjustedRealTime();
      }
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") medians.insert(name);
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void PrintSpeedups(const TimeKeeper& keeper) {
  std::printf("\nSpeed-up over the reference (reference time / matcher time), one image:\n");
  for (const bool dirart : {false, true}) {
    for (const Image image : {Image::Random, Image::MostlyBlank}) {
      const auto reference = keeper.microseconds.find(BenchmarkName(matchers[0], dirart, image));
      if (reference == keeper.microseconds.end()) continue;
      std::printf("  %-6s %-12s reference %9.1f us", ModeName(dirart), ImageName(image), reference->second);
      for (const Matcher& matcher : matchers) {
        if (&matcher == &matchers[0]) continue;
        const auto found = keeper.microseconds.find(BenchmarkName(matcher, dirart, image));
        if (found == keeper.microseconds.end()) continue;
        std::printf("  %s %.1f us = %.0fx", matcher.name, found->second, reference->second / found->second);
      }
      std::printf("\n");
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (const Matcher& matcher : matchers) {
    for (const bool dirart : {false, true}) {
      for (const Image image : {Image::Random, Image::MostlyBlank}) {
        benchmark::RegisterBenchmark(BenchmarkName(matcher, dirart, image).c_str(),
                                     [&matcher, dirart, image](benchmark::State& state) {
                                       RunMatcher(state, matcher, dirart, image);
                                     })
            ->Unit(benchmark::kMicrosecond);
      }
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TimeKeeper keeper;
  benchmark::RunSpecifiedBenchmarks(&keeper);
  PrintSpeedups(keeper);
  benchmark::Shutdown();
  return 0;
}
