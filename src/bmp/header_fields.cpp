#include "bmp/header_fields.h"

HeaderField SignatureField = {2, 0};

HeaderField FileHeaderFields[FileHeaderEntryCount] = {
    {4, 0},  // bfSize
    {2, 0},  // bfReserved1
    {2, 0},  // bfReserved2
    {4, 0},  // bfOffBits
};

HeaderField InfoHeaderFields[InfoHeaderEntryCount] = {
    {4, 0},  // biSize
    {4, 0},  // biWidth
    {4, 0},  // biHeight
    {2, 0},  // biPlanes
    {2, 0},  // biBitCount
    {4, 0},  // biCompression
    {4, 0},  // biSizeImage
    {4, 0},  // biXPelsPerMeter
    {4, 0},  // biYPelsPerMeter
    {4, 0},  // biClrUsed
    {4, 0},  // biClrImportant
};

void ClearHeaderValues() {
  SignatureField.value = 0;
  for (HeaderField& field : FileHeaderFields) field.value = 0;
  for (HeaderField& field : InfoHeaderFields) field.value = 0;
}

int32_t LittleEndianToInt32(const uint8_t (&bytes)[4]) {
  uint32_t sum = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                 static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return static_cast<int32_t>(sum);
}
