#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Building BMP files byte by byte for the tests, and writing them to files
// that the loader can open.

// The 54 header bytes of a well-formed 320 x 200 1-bit image unless a test
// changes a value. Values are written as raw little-endian bytes of the
// field's size, so any bit pattern can be given.
struct BmpHeaderValues {
  uint8_t signature[2] = {'B', 'M'};
  uint32_t bfSize = 8062, bfReserved1 = 0, bfReserved2 = 0, bfOffBits = 62;
  uint32_t biSize = 40, biWidth = 320, biHeight = 200, biPlanes = 1, biBitCount = 1;
  uint32_t biCompression = 0, biSizeImage = 8000, biXPelsPerMeter = 2835, biYPelsPerMeter = 2835;
  uint32_t biClrUsed = 2, biClrImportant = 2;
};

// Byte p of the test picture's pixel data in file order: never 0, and no two
// rows alike, so a byte that was not read or landed in the wrong row shows.
uint8_t TestPixelByte(size_t p);

// The header, then `gap` bytes of 0xEE up to the pixel data (the colour table
// and any larger info header), then `pixelCount` bytes of the test picture.
std::vector<uint8_t> BuildBmp(const BmpHeaderValues& values, size_t gap = 8,
                              size_t pixelCount = 8000);

// A well-formed image: header, black and white colour table, 8000 bytes.
std::vector<uint8_t> WellFormedBmp();

// Writes the bytes to the file at path; returns the path.
std::string WriteTestFile(const std::string& path, const std::vector<uint8_t>& bytes);
