#include "bmp_test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

uint8_t TestPixelByte(size_t p) { return static_cast<uint8_t>(1 + p % 251); }

std::vector<uint8_t> BuildBmp(const BmpHeaderValues& v, size_t gap, size_t pixelCount) {
  std::vector<uint8_t> bytes = {v.signature[0], v.signature[1]};
  const struct {
    uint32_t value;
    int size;
  } fields[] = {
      {v.bfSize, 4},
      {v.bfReserved1, 2},
      {v.bfReserved2, 2},
      {v.bfOffBits, 4},
      {v.biSize, 4},
      {v.biWidth, 4},
      {v.biHeight, 4},
      {v.biPlanes, 2},
      {v.biBitCount, 2},
      {v.biCompression, 4},
      {v.biSizeImage, 4},
      {v.biXPelsPerMeter, 4},
      {v.biYPelsPerMeter, 4},
      {v.biClrUsed, 4},
      {v.biClrImportant, 4},
  };
  for (const auto& [value, size] : fields)
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  bytes.insert(bytes.end(), gap, 0xEE);
  for (size_t p = 0; p < pixelCount; ++p) bytes.push_back(TestPixelByte(p));
  return bytes;
}

std::vector<uint8_t> WellFormedBmp() {
  std::vector<uint8_t> bytes = BuildBmp(BmpHeaderValues{});
  std::fill(bytes.begin() + 54, bytes.begin() + 62, 0);
  std::fill(bytes.begin() + 58, bytes.begin() + 61, 255);
  return bytes;  // the colour table: black, then white
}

std::string WriteTestFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::streamsize size = static_cast<std::streamsize>(bytes.size());
  out.write(reinterpret_cast<const char*>(bytes.data()), size);
  EXPECT_TRUE(out.good()) << "cannot write " << path;
  return path;
}
