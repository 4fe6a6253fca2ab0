#pragma once
#include <cstdint>

// The BMP header as the program reads it: one description per field, in file
// order, each holding its length in the file and the value read for it.
struct HeaderField {
  uint8_t size;   // bytes in the file: 2 or 4
  int32_t value;  // little-endian, zero-filled where the file ends early
};

// Entries of FileHeaderFields, in file order.
enum FileHeaderEntry : int {
  BfSize = 0,
  BfReserved1,
  BfReserved2,
  BfOffBits,
  FileHeaderEntryCount
};

// Entries of InfoHeaderFields, in file order.
enum InfoHeaderEntry : int {
  BiSize = 0,
  BiWidth,
  BiHeight,
  BiPlanes,
  BiBitCount,
  BiCompression,
  BiSizeImage,
  BiXPelsPerMeter,
  BiYPelsPerMeter,
  BiClrUsed,
  BiClrImportant,
  InfoHeaderEntryCount
};

// The tables of one run: their sizes are fixed, their values are written by
// the header reader. bfType: only its size is used, the signature is tested
// where it is read.
extern HeaderField SignatureField;
extern HeaderField FileHeaderFields[FileHeaderEntryCount];
extern HeaderField InfoHeaderFields[InfoHeaderEntryCount];

// Sets every value back to 0, as at program start.
void ClearHeaderValues();

// The values the program consults, by name.
inline int32_t HeaderBfSize() { return FileHeaderFields[BfSize].value; }
inline int32_t HeaderBfOffBits() { return FileHeaderFields[BfOffBits].value; }
inline int32_t HeaderBiWidth() { return InfoHeaderFields[BiWidth].value; }
inline int32_t HeaderBiHeight() { return InfoHeaderFields[BiHeight].value; }
inline int32_t HeaderBiBitCount() { return InfoHeaderFields[BiBitCount].value; }
inline int32_t HeaderBiCompression() { return InfoHeaderFields[BiCompression].value; }

// b0 + b1 * 2^8 + b2 * 2^16 + b3 * 2^24 modulo 2^32, as a two's-complement
// value: a top byte of 0x80 or more gives a negative number.
int32_t LittleEndianToInt32(const uint8_t (&bytes)[4]);
