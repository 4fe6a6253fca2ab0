#include "picture/resampling.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "picture/srgb_linear.h"

namespace {

// Where one picture pixel along an axis goes: target pixels and weights.
struct Contribution {
  int16_t target;
  float weight;
};

// Every target pixel takes at most 2R + 1 picture pixels, R the tent's
// radius, at most the picture's length over the target's (see FitPicture:
// the scale is never below that), or 1. Summed over a target of at most 320
// pixels that stays below twice the picture's side plus three a target pixel.
constexpr int MaxContributions = 2 * MaxPictureSide + 3 * PixelColumns + 16;

struct AxisTable {
  int32_t first[MaxPictureSide + 1];  // picture pixel u uses entries first[u] to first[u + 1] - 1
  Contribution entries[MaxContributions];
};

AxisTable acrossTable;
AxisTable downTable;

// The tent's weights for one target pixel, over the picture pixels lowest to
// highest. Returns how many were set; they sum to 1.
int TentWeights(const AxisFit& fit, int32_t target, int32_t sourceLength, int32_t& lowest,
                float* weights, int capacity) {
  const double centre = (target + 0.5 - fit.targetStart) / fit.scale + fit.sourceStart;
  const double radius = std::max(1.0, 1.0 / fit.scale);
  lowest = std::max(int32_t{0}, static_cast<int32_t>(std::ceil(centre - radius - 0.5)));
  const int32_t highest =
      std::min(sourceLength - 1, static_cast<int32_t>(std::floor(centre + radius - 0.5)));
  int count = 0;
  double sum = 0;
  for (int32_t u = lowest; u <= highest && count < capacity; ++u) {
    const double weight = std::max(0.0, 1.0 - std::abs(u + 0.5 - centre) / radius);
    weights[count++] = static_cast<float>(weight);
    sum += weight;
  }
  if (sum <= 0) {  // the centre sits on the picture's edge: take the nearest pixel
    lowest = std::clamp(static_cast<int32_t>(centre), int32_t{0}, sourceLength - 1);
    weights[0] = 1;
    return 1;
  }
  for (int i = 0; i < count; ++i) weights[i] = static_cast<float>(weights[i] / sum);
  return count;
}

// Fills the table the other way round: for each picture pixel, the target
// pixels it adds to. Built in two sweeps over the targets, counting first.
void BuildAxisTable(const AxisFit& fit, int32_t sourceLength, AxisTable& table) {
  constexpr int Capacity = 2 * MaxPictureSide + 3;
  static float weights[Capacity];
  std::fill(table.first, table.first + sourceLength + 1, 0);
  for (int32_t target = fit.targetStart; target < fit.targetStart + fit.targetLength; ++target) {
    int32_t lowest = 0;
    const int count = TentWeights(fit, target, sourceLength, lowest, weights, Capacity);
    for (int i = 0; i < count; ++i) ++table.first[lowest + i + 1];
  }
  for (int32_t u = 0; u < sourceLength; ++u) table.first[u + 1] += table.first[u];
  static int32_t filled[MaxPictureSide];
  std::fill(filled, filled + sourceLength, 0);
  for (int32_t target = fit.targetStart; target < fit.targetStart + fit.targetLength; ++target) {
    int32_t lowest = 0;
    const int count = TentWeights(fit, target, sourceLength, lowest, weights, Capacity);
    for (int i = 0; i < count; ++i) {
      const int32_t u = lowest + i;
      table.entries[table.first[u] + filled[u]++] = {static_cast<int16_t>(target), weights[i]};
    }
  }
}

struct Resampling {
  ResamplingSettings settings;
  ScreenPicture* target;
  PictureFit fit;
  int32_t storedWidth;
  int32_t storedHeight;
  PictureOrientation orientation;
  int32_t rowsArrived;
  bool started;
};

Resampling run;

// One row's sums along the axis that its pixels run across once turned
// upright: screen columns for orientations 1 to 4, screen rows for 5 to 8.
float lineSums[ChannelCount][PixelColumns];

bool SwapsAxes(PictureOrientation orientation) { return orientation >= 5 && orientation <= 8; }

void Start(void*, int32_t width, int32_t height, PictureOrientation orientation) {
  run.storedWidth = width;
  run.storedHeight = height;
  run.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
  const bool swapped = SwapsAxes(run.orientation);
  const int32_t uprightWidth = swapped ? height : width;
  const int32_t uprightHeight = swapped ? width : height;
  run.fit = FitPicture(uprightWidth, uprightHeight, PixelColumns, PixelRows,
                       run.settings.fit);
  BuildAxisTable(run.fit.across, uprightWidth, acrossTable);
  BuildAxisTable(run.fit.down, uprightHeight, downTable);
  for (auto& plane : run.target->planes) std::fill(std::begin(plane), std::end(plane), 0.0f);
  run.rowsArrived = 0;
  run.started = true;
}

// The pixel laid over the background, in linear light.
void Composite(const uint8_t* rgba, float* pixel) {
  const float alpha = rgba[3] / 255.0f;
  for (int channel = 0; channel < ChannelCount; ++channel)
    pixel[channel] = alpha * LinearOfByte[rgba[channel]] +
                     (1 - alpha) * run.settings.background[channel];
}

// Adds a stored row whose pixels run along `along` and which as a whole sits
// at index `fixed` of the crossing axis. alongFlipped: the row runs
// backwards in the upright picture.
void AddRow(const uint8_t* rgba, const AxisTable& along, const AxisTable& crossing, int32_t fixed,
            bool alongFlipped, bool rowRunsDown) {
  const int32_t firstCross = crossing.first[fixed];
  const int32_t endCross = crossing.first[fixed + 1];
  if (firstCross == endCross) return;  // cut off by the fit
  const int lineLength = rowRunsDown ? PixelRows : PixelColumns;
  for (auto& sums : lineSums) std::fill(sums, sums + lineLength, 0.0f);
  for (int32_t x = 0; x < run.storedWidth; ++x) {
    const int32_t u = alongFlipped ? run.storedWidth - 1 - x : x;
    const int32_t first = along.first[u];
    const int32_t end = along.first[u + 1];
    if (first == end) continue;
    float pixel[ChannelCount];
    Composite(rgba + 4 * x, pixel);
    for (int32_t entry = first; entry < end; ++entry) {
      const Contribution& c = along.entries[entry];
      for (int channel = 0; channel < ChannelCount; ++channel)
        lineSums[channel][c.target] += c.weight * pixel[channel];
    }
  }
  for (int32_t entry = firstCross; entry < endCross; ++entry) {
    const Contribution& c = crossing.entries[entry];
    for (int channel = 0; channel < ChannelCount; ++channel) {
      float* plane = run.target->planes[channel];
      if (rowRunsDown) {
        for (int y = 0; y < PixelRows; ++y)
          plane[y * PixelColumns + c.target] += c.weight * lineSums[channel][y];
      } else {
        float* row = plane + c.target * PixelColumns;
        for (int x = 0; x < PixelColumns; ++x) row[x] += c.weight * lineSums[channel][x];
      }
    }
  }
}

void Row(void*, int32_t y, const uint8_t* rgba) {
  if (!run.started || y != run.rowsArrived || y >= run.storedHeight) return;
  ++run.rowsArrived;
  const PictureOrientation o = run.orientation;
  const int32_t fromBottom = run.storedHeight - 1 - y;
  if (!SwapsAxes(o)) {
    const int32_t v = (o == 3 || o == 4) ? fromBottom : y;
    AddRow(rgba, acrossTable, downTable, v, o == 2 || o == 3, false);
  } else {
    const int32_t u = (o == 5 || o == 8) ? y : fromBottom;
    AddRow(rgba, downTable, acrossTable, u, o == 7 || o == 8, true);
  }
}

bool Inside(const AxisFit& fit, int32_t index) {
  return index >= fit.targetStart && index < fit.targetStart + fit.targetLength;
}

}  // namespace

PictureSink StartResampling(const ResamplingSettings& settings, ScreenPicture& target) {
  run = Resampling{};
  run.settings = settings;
  run.target = &target;
  return {Start, Row, nullptr};
}

bool FinishResampling() {
  if (!run.started || run.rowsArrived != run.storedHeight) return false;
  for (int y = 0; y < PixelRows; ++y) {
    for (int x = 0; x < PixelColumns; ++x) {
      if (Inside(run.fit.across, x) && Inside(run.fit.down, y)) continue;
      for (int channel = 0; channel < ChannelCount; ++channel)
        run.target->planes[channel][y * PixelColumns + x] = run.settings.background[channel];
    }
  }
  return true;
}
