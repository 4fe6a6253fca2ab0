// Any bytes as a picture file for the platform's decoder. The first byte is
// the least side asked for (0 to 255), the rest the file. Beyond crashes and
// sanitizer findings, the sink must see what the seam promises: one start
// before the rows, every row once, in order, of a size within the limits,
// and a second decode that shrinks less must agree with the first.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <malloc.h>

#include "fuzz_require.h"
#include "picture/decode_rules.h"
#include "picture/picture_decoder.h"

namespace {

// A second decode only after a small first one, so that one input costs
// at most a few million pixels (a JPEG grows 64-fold, unshrunk).
constexpr int64_t MostPixelsToDecodeAgain = int64_t{1} << 18;

struct SinkRecord {
  int32_t width = 0;
  int32_t height = 0;
  PictureOrientation orientation = 0;
  int32_t starts = 0;
  int32_t rows = 0;
  uint32_t sum = 0;  // of every byte, weighted by its place, to compare decodes
};

void Start(void* context, int32_t width, int32_t height, PictureOrientation orientation) {
  auto& record = *static_cast<SinkRecord*>(context);
  Require(record.starts == 0, "start called twice");
  Require(CheckPictureSize(width, height) == DecodeOutcome::Decoded, "start with a size refused");
  Require(orientation >= 1 && orientation <= 8, "orientation outside 1 to 8");
  record = {width, height, orientation, 1, 0, 0};
}

void Row(void* context, int32_t y, const uint8_t* rgba) {
  auto& record = *static_cast<SinkRecord*>(context);
  Require(record.starts == 1, "row before start");
  Require(y == record.rows && y < record.height, "row out of order");
  // Every byte is read: a row shorter than the width shows as an overflow.
  for (int32_t x = 0; x < record.width; ++x, rgba += 4) {
    Require(rgba[3] != 0 || (rgba[0] | rgba[1] | rgba[2]) == 0, "transparent pixel with colour");
    for (int32_t i = 0; i < 4; ++i) {
      record.sum = record.sum * 31 + rgba[i];
    }
  }
  record.rows += 1;
}

DecodeOutcome Decode(const uint8_t* bytes, size_t size, int32_t leastSide, SinkRecord& record) {
  const DecodeOutcome outcome =
      DecodePictureInMemory(bytes, size, leastSide, {Start, Row, &record});
  Require(outcome <= DecodeOutcome::TooLarge, "outcome outside the enumeration");
  if (outcome == DecodeOutcome::Decoded) {
    Require(record.starts == 1 && record.rows == record.height, "decoded without every row");
  } else {
    Require(record.starts == 0 || outcome == DecodeOutcome::Damaged,
            "started, then refused other than as damaged");
  }
  return outcome;
}

int32_t Shorter(const SinkRecord& record) {
  return record.width < record.height ? record.width : record.height;
}

int TestInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  const int32_t leastSide = data[0];
  SinkRecord first;
  if (Decode(data + 1, size - 1, leastSide, first) != DecodeOutcome::Decoded ||
      int64_t{first.width} * first.height > MostPixelsToDecodeAgain) {
    return 0;
  }
  // A larger least side shrinks as much or less: the picture is no smaller,
  // and where it is larger the first one was shrunk, so its shorter side
  // had to stay at least the least side. Of the same size, it is the same.
  SinkRecord second;
  const DecodeOutcome again = Decode(data + 1, size - 1, leastSide * 4 + 64, second);
  Require(again == DecodeOutcome::Decoded || again == DecodeOutcome::TooLarge,
          "decoded once, not again");
  if (again == DecodeOutcome::Decoded) {
    Require(second.width >= first.width && second.height >= first.height,
            "smaller with a larger least side");
    Require(second.orientation == first.orientation, "orientation changed");
    if (second.width != first.width || second.height != first.height) {
      Require(Shorter(first) >= leastSide, "shrunk below the least side");
    } else {
      Require(second.sum == first.sum, "pixels differ between two decodes");
    }
  }
  return 0;
}

}  // namespace

// The program decodes one picture a process; the fuzzer decodes many in
// one. What an input freed goes back to the system before the next, so
// that the memory budget (-rss_limit_mb) is held by each input's own peak,
// not by the heap left fragmented by the ones before.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int result = TestInput(data, size);
  malloc_trim(0);
  return result;
}
