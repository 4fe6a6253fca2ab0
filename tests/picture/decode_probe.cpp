// Decodes one picture file and prints what the sink saw, for the cases and
// for comparing the platforms' decoders:
//
//   decode_probe FILE [LEAST_SIDE [ROWS_FILE]]
//
// prints "OUTCOME WIDTH HEIGHT ORIENTATION CRC R G B A": the size and
// orientation given to the sink's start (0 0 0 without one), the CRC-32 of
// every RGBA byte of the rows, and the first pixel. LEAST_SIDE is passed on
// to the decoder (no shrinking unless given). The rows themselves are
// written to ROWS_FILE when it is named. Exit status 0 when the line was
// printed; 2 when a file cannot be read or written, or the sink saw rows
// out of order, too few or too many.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "picture/decode_rules.h"
#include "picture/picture_decoder.h"

namespace {

constexpr const char* OutcomeNames[] = {"Decoded", "NotAPicture", "Damaged", "NoPixels",
                                        "TooLarge"};

struct SinkRecord {
  int32_t width = 0;
  int32_t height = 0;
  int32_t orientation = 0;
  int32_t starts = 0;
  int32_t nextRow = 0;
  bool rowsInOrder = true;
  uint32_t crc = 0xFFFFFFFF;
  uint8_t first[4] = {};
  std::FILE* rows = nullptr;
};

uint32_t CrcOfByte(uint32_t value) {
  for (int bit = 0; bit < 8; ++bit) {
    value = value & 1 ? 0xEDB88320 ^ (value >> 1) : value >> 1;
  }
  return value;
}

void Start(void* context, int32_t width, int32_t height, PictureOrientation orientation) {
  auto& record = *static_cast<SinkRecord*>(context);
  record.width = width;
  record.height = height;
  record.orientation = orientation;
  record.starts += 1;
}

void Row(void* context, int32_t y, const uint8_t* rgba) {
  auto& record = *static_cast<SinkRecord*>(context);
  record.rowsInOrder = record.rowsInOrder && record.starts == 1 && y == record.nextRow &&
                       y < record.height;
  record.nextRow = y + 1;
  if (y == 0) {
    std::copy(rgba, rgba + 4, record.first);
  }
  if (record.rows != nullptr) {
    std::fwrite(rgba, 4, static_cast<size_t>(record.width), record.rows);
  }
  for (int32_t i = 0; i < record.width * 4; ++i) {
    record.crc = CrcOfByte((record.crc ^ rgba[i]) & 0xFF) ^ (record.crc >> 8);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: decode_probe FILE [LEAST_SIDE [ROWS_FILE]]\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "decode_probe: cannot read %s\n", argv[1]);
    return 2;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  const int32_t leastSide = argc >= 3 ? std::atoi(argv[2]) : MaxPictureSide;
  SinkRecord record;
  if (argc == 4 && (record.rows = std::fopen(argv[3], "wb")) == nullptr) {
    std::fprintf(stderr, "decode_probe: cannot write %s\n", argv[3]);
    return 2;
  }
  const DecodeOutcome outcome =
      DecodePictureInMemory(bytes.data(), bytes.size(), leastSide, {Start, Row, &record});
  const bool complete = outcome != DecodeOutcome::Decoded || record.nextRow == record.height;
  if (record.rows != nullptr && std::fclose(record.rows) != 0) {
    std::fprintf(stderr, "decode_probe: cannot write %s\n", argv[3]);
    return 2;
  }
  if (!record.rowsInOrder || record.starts > 1 || !complete) {
    std::fprintf(stderr, "decode_probe: %d starts, rows in order: %d, %d of %d rows\n",
                 record.starts, record.rowsInOrder, record.nextRow, record.height);
    return 2;
  }
  std::printf("%s %d %d %d %08x %u %u %u %u\n", OutcomeNames[static_cast<int>(outcome)],
              record.width, record.height, record.orientation, ~record.crc, record.first[0],
              record.first[1], record.first[2], record.first[3]);
  return 0;
}
