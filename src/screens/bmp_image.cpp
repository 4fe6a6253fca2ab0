#include "screens/bmp_image.h"

#include <cstring>

namespace {

// Writes value little-endian into size bytes at offset; returns the offset
// after them, so the fields can be laid down one after the other.
int PutField(uint8_t* image, int offset, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) image[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  return offset + size;
}

constexpr uint32_t PixelsPerMetre = 2835;  // 72 dots per inch

}  // namespace

void BuildBmpImage(const uint8_t* pixelRows, uint8_t* image) {
  int at = 0;
  image[at++] = 'B';
  image[at++] = 'M';
  at = PutField(image, at, ImageFileSize, 4);     // bfSize
  at = PutField(image, at, 0, 2);                 // bfReserved1
  at = PutField(image, at, 0, 2);                 // bfReserved2
  at = PutField(image, at, ImagePixelOffset, 4);  // bfOffBits
  at = PutField(image, at, 40, 4);                // biSize
  at = PutField(image, at, PixelColumns, 4);      // biWidth
  at = PutField(image, at, PixelRows, 4);         // biHeight: positive, rows bottom-up
  at = PutField(image, at, 1, 2);                 // biPlanes
  at = PutField(image, at, 1, 2);                 // biBitCount
  at = PutField(image, at, 0, 4);                 // biCompression: none
  at = PutField(image, at, PixelDataSize, 4);     // biSizeImage
  at = PutField(image, at, PixelsPerMetre, 4);    // biXPelsPerMeter
  at = PutField(image, at, PixelsPerMetre, 4);    // biYPelsPerMeter
  at = PutField(image, at, 2, 4);                 // biClrUsed
  at = PutField(image, at, 2, 4);                 // biClrImportant
  // Colour table, blue green red and a zero byte each: 0 black, 1 white.
  at = PutField(image, at, 0x000000, 4);
  at = PutField(image, at, 0xFFFFFF, 4);

  // 40 bytes a row is already a multiple of 4: rows need no padding.
  for (int row = 0; row < PixelRows; ++row)
    std::memcpy(image + ImagePixelOffset + (PixelRows - 1 - row) * PixelRowBytes,
                pixelRows + row * PixelRowBytes, PixelRowBytes);
}
