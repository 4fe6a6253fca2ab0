#pragma once
#include <cstdint>

#include "bmp/header_fields.h"
#include "files/binary_file.h"

// Reads the 54 header bytes field by field from the just opened input file,
// adds every byte obtained to totalBytesRead and prints the count line. A
// file that ends early leaves the missing values 0. Ends the run, closing
// the input, when the file does not start with "BM".
void ReadBmpHeader(BinaryFile& inputFile, int32_t& totalBytesRead);

// The steps of ReadBmpHeader: the signature check and the reading of one
// table entry.
void ReadSignature(BinaryFile& inputFile, const HeaderField& signature, int32_t& totalBytesRead);
void ReadHeaderField(BinaryFile& inputFile, HeaderField& field, int32_t& totalBytesRead);

// Ends the run on the first header value the converter cannot take:
// compression, width, height, then bit count (1 and 4 pass).
void ValidateHeader();
