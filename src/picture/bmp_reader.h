#pragma once
#include <cstddef>
#include <cstdint>

#include "picture/picture_decoder.h"

// BMP files stored plainly (rows of 1 to 32 bits a pixel, uncompressed or
// with bit fields) are read by the program itself, on every platform: a
// row at a time straight from the file, so that their size costs no
// memory, and with the same pixels everywhere. Compressed ones (run
// lengths, embedded JPEG or PNG) go to the platform's decoder.

// True for a BMP whose header (the start of the file) this reader takes.
bool IsPlainBmp(const uint8_t* head, size_t size);

// Decodes such a BMP into the sink; Damaged where its colour table or rows
// are cut short.
DecodeOutcome DecodePlainBmp(const PictureBytes& file, PictureSink sink);
