// Reading the header: the signature, the byte count, and the values that a
// short or unusual file yields.
#include <gtest/gtest.h>

#include "bmp/bmp_header.h"
#include "bmp/header_fields.h"
#include "bmp_run.h"
#include "bmp_test_files.h"
#include "memory_console.h"
#include "run_ended.h"

namespace {

const std::string SignatureLine = "ERROR: Cannot find BMP header. Aborting...";

struct SignatureCase {
  const char* name;
  std::vector<uint8_t> bytes;
};

void PrintTo(const SignatureCase& c, std::ostream* os) { *os << c.name; }

class SignatureRejection : public testing::TestWithParam<SignatureCase> {};

TEST_P(SignatureRejection, PrintsTheLineClosesTheInputAndEndsWithOne) {
  BmpRun run = RunBmpBytes(GetParam().bytes, BmpStages::All);
  EXPECT_EQ(run.endStatus, 1);
  EXPECT_EQ(run.lines, std::vector<std::string>{SignatureLine});
  EXPECT_EQ(run.inputState, FileState::Closed);
}

std::vector<uint8_t> WithSignature(uint8_t first, uint8_t second) {
  std::vector<uint8_t> bytes = WellFormedBmp();
  bytes[0] = first;
  bytes[1] = second;
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, SignatureRejection,
    testing::Values(SignatureCase{"Empty", {}}, SignatureCase{"OneByte", {'B'}},
                    SignatureCase{"LowerCase", WithSignature(0x62, 0x6D)},
                    SignatureCase{"Swapped", WithSignature(0x4D, 0x42)},
                    SignatureCase{"BThenZero", WithSignature(0x42, 0x00)},
                    SignatureCase{"BThenLowerM", WithSignature(0x42, 0x6D)},
                    SignatureCase{"LowerBThenM", WithSignature(0x62, 0x4D)}),
    [](const testing::TestParamInfo<SignatureCase>& info) { return info.param.name; });

TEST(BmpHeader, WellFormedHeaderPrintsOnlyTheCountLine) {
  BmpRun run = RunBmpBytes(WellFormedBmp(), BmpStages::HeaderAndValidation);
  EXPECT_FALSE(run.endStatus.has_value());
  EXPECT_EQ(run.totalBytesRead, 54);
  EXPECT_EQ(run.lines, std::vector<std::string>{"[54 bytes read] done."});
  EXPECT_EQ(HeaderBfSize(), 8062);
  EXPECT_EQ(HeaderBfOffBits(), 62);
  EXPECT_EQ(InfoHeaderFields[BiSize].value, 40);
  EXPECT_EQ(InfoHeaderFields[BiClrImportant].value, 2);
}

// The file cut after `length` bytes of a well-formed image, run to the end:
// the count shows what was there and validation judges the zero-filled rest.
struct ShortHeaderCase {
  const char* name;
  size_t length;
  std::optional<int32_t> endStatus;
  std::vector<std::string> lines;
};

void PrintTo(const ShortHeaderCase& c, std::ostream* os) { *os << c.name; }

class ShortHeader : public testing::TestWithParam<ShortHeaderCase> {};

TEST_P(ShortHeader, CountsWhatWasReadAndJudgesZeros) {
  const ShortHeaderCase& c = GetParam();
  std::vector<uint8_t> bytes = WellFormedBmp();
  bytes.resize(c.length);
  BmpRun run = RunBmpBytes(bytes, BmpStages::All);
  EXPECT_EQ(run.endStatus, c.endStatus);
  EXPECT_EQ(run.lines, c.lines);
  EXPECT_EQ(run.totalBytesRead, static_cast<int32_t>(c.length < 54 ? c.length : 54));
  // Validation leaves the input open; ending the run releases it.
  if (c.endStatus) {
    EXPECT_EQ(run.inputState, FileState::Input);
  }
}

const std::vector<std::string> NoPixelsLoaded = {
    "8000 bytes bitmap data.", "Starting at position: 62 byte",
    "Hires: Image is in black/white mode.", "0 bytes PixelData read."};

std::vector<std::string> Lines(std::vector<std::string> first,
                               const std::vector<std::string>& rest = {}) {
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, ShortHeader,
    testing::Values(
        ShortHeaderCase{"SignatureOnly", 2, 1, {"[2 bytes read] done.", WidthLine(0)}},
        ShortHeaderCase{"HalfOfBfSize", 4, 1, {"[4 bytes read] done.", WidthLine(0)}},
        ShortHeaderCase{"BmAndEightBytes", 10, 1, {"[10 bytes read] done.", WidthLine(0)}},
        ShortHeaderCase{"OneByteOfWidth", 19, 1, {"[19 bytes read] done.", WidthLine(64)}},
        ShortHeaderCase{"TwoBytesOfWidth", 20, 1, {"[20 bytes read] done.", HeightLine(0)}},
        ShortHeaderCase{"OneByteOfHeight", 23, 1, {"[23 bytes read] done.", ColoursLine(0)}},
        ShortHeaderCase{"BeforeBitCount", 28, 1, {"[28 bytes read] done.", ColoursLine(0)}},
        ShortHeaderCase{"OneByteOfBitCount", 29, std::nullopt,
                        Lines({"[29 bytes read] done."}, NoPixelsLoaded)},
        ShortHeaderCase{"WholeHeaderNoPixels", 54, std::nullopt,
                        Lines({"[54 bytes read] done."}, NoPixelsLoaded)}),
    [](const testing::TestParamInfo<ShortHeaderCase>& info) { return info.param.name; });

TEST(BmpHeader, FourByteFieldWithTwoBytesPresentTakesThoseTwo) {
  BmpHeaderValues values;
  values.bfSize = 0x12345678;
  std::vector<uint8_t> bytes = BuildHeader(values);
  bytes.resize(4);
  BmpRun run = RunBmpBytes(bytes, BmpStages::Header);
  EXPECT_EQ(run.lines, std::vector<std::string>{"[4 bytes read] done."});
  EXPECT_EQ(HeaderBfSize(), 0x5678);
  EXPECT_EQ(HeaderBfOffBits(), 0);
}

// One field's bytes replaced in an otherwise well-formed header.
struct FieldBytesCase {
  const char* name;
  size_t offset;
  std::vector<uint8_t> bytes;
  const HeaderField* field;
  int32_t value;
  std::vector<std::string> validationLines;  // empty when the header passes
};

void PrintTo(const FieldBytesCase& c, std::ostream* os) { *os << c.name; }

class FieldBytes : public testing::TestWithParam<FieldBytesCase> {};

TEST_P(FieldBytes, DecodeLittleEndianAsSigned32Bit) {
  const FieldBytesCase& c = GetParam();
  std::vector<uint8_t> file = WellFormedBmp();
  std::copy(c.bytes.begin(), c.bytes.end(), file.begin() + static_cast<ptrdiff_t>(c.offset));
  BmpRun run = RunBmpBytes(file, BmpStages::HeaderAndValidation);
  EXPECT_EQ(c.field->value, c.value);
  EXPECT_EQ(run.lines, Lines({"[54 bytes read] done."}, c.validationLines));
  EXPECT_EQ(run.endStatus, c.validationLines.empty() ? std::nullopt : std::optional<int32_t>(1));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, FieldBytes,
    testing::Values(
        FieldBytesCase{"TopDownHeight", 22, {0x38, 0xFF, 0xFF, 0xFF}, &InfoHeaderFields[BiHeight],
                       -200, {HeightLine(-200)}},
        FieldBytesCase{"WidthAllOnes", 18, {0xFF, 0xFF, 0xFF, 0xFF}, &InfoHeaderFields[BiWidth],
                       -1, {WidthLine(-1)}},
        // The low 16 bits say 320; the whole value does not.
        FieldBytesCase{"WidthWithHighBit", 18, {0x40, 0x01, 0x00, 0x80},
                       &InfoHeaderFields[BiWidth], -2147483328, {WidthLine(-2147483328)}},
        FieldBytesCase{"WidthAbove16Bits", 18, {0x40, 0x01, 0x01, 0x00},
                       &InfoHeaderFields[BiWidth], 65856, {WidthLine(65856)}},
        FieldBytesCase{"BitCountFFFF", 28, {0xFF, 0xFF}, &InfoHeaderFields[BiBitCount], 65535,
                       {ColoursLine(65535)}},
        FieldBytesCase{"BitCountHighByte", 28, {0x01, 0x01}, &InfoHeaderFields[BiBitCount], 257,
                       {ColoursLine(257)}},
        FieldBytesCase{"CompressionHighBit", 30, {0x00, 0x00, 0x00, 0x80},
                       &InfoHeaderFields[BiCompression], -2147483647 - 1,
                       {"Compression enabled - This is currently not supported!"}},
        FieldBytesCase{"NegativeBfSize", 2, {0x00, 0x00, 0x00, 0x80}, &FileHeaderFields[BfSize],
                       -2147483647 - 1, {}},
        FieldBytesCase{"LargestBfOffBits", 10, {0xFF, 0xFF, 0xFF, 0x7F},
                       &FileHeaderFields[BfOffBits], 2147483647, {}},
        FieldBytesCase{"ReservedFFFF", 6, {0xFF, 0xFF}, &FileHeaderFields[BfReserved1], 65535, {}},
        FieldBytesCase{"PlanesFFFF", 26, {0xFF, 0xFF}, &InfoHeaderFields[BiPlanes], 65535, {}},
        FieldBytesCase{"InfoHeaderOf124Bytes", 14, {0x7C, 0, 0, 0}, &InfoHeaderFields[BiSize],
                       124, {}},
        FieldBytesCase{"ClrImportantLast", 50, {0x01, 0x02, 0x03, 0x04},
                       &InfoHeaderFields[BiClrImportant], 0x04030201, {}}),
    [](const testing::TestParamInfo<FieldBytesCase>& info) { return info.param.name; });

// Four values checked in a fixed order: only the first failure is reported.
struct ValidationCase {
  const char* name;
  uint32_t compression, width, height, bitCount;
  std::vector<std::string> validationLines;
};

void PrintTo(const ValidationCase& c, std::ostream* os) { *os << c.name; }

class ValidationOrder : public testing::TestWithParam<ValidationCase> {};

TEST_P(ValidationOrder, ReportsTheFirstFailingCheck) {
  const ValidationCase& c = GetParam();
  BmpHeaderValues values;
  values.biCompression = c.compression;
  values.biWidth = c.width;
  values.biHeight = c.height;
  values.biBitCount = c.bitCount;
  BmpRun run = RunBmpBytes(BuildBmp(values, 8, PixelBytes), BmpStages::HeaderAndValidation);
  EXPECT_EQ(run.lines, Lines({"[54 bytes read] done."}, c.validationLines));
  EXPECT_EQ(run.endStatus, c.validationLines.empty() ? std::nullopt : std::optional<int32_t>(1));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, ValidationOrder,
    testing::Values(
        ValidationCase{"CompressionBeforeAll", 1, 321, 201, 24,
                       {"Compression enabled - This is currently not supported!"}},
        ValidationCase{"Rle4Compression", 2, 320, 200, 4,
                       {"Compression enabled - This is currently not supported!"}},
        ValidationCase{"WidthBeforeHeight", 0, 321, 201, 24, {WidthLine(321)}},
        ValidationCase{"SwappedDimensions", 0, 200, 320, 1, {WidthLine(200)}},
        ValidationCase{"HeightBeforeBitCount", 0, 320, 201, 24, {HeightLine(201)}},
        ValidationCase{"BitCount24", 0, 320, 200, 24, {ColoursLine(24)}},
        ValidationCase{"BitCount8", 0, 320, 200, 8, {ColoursLine(8)}},
        ValidationCase{"BitCount0", 0, 320, 200, 0, {ColoursLine(0)}},
        ValidationCase{"BitCount1Passes", 0, 320, 200, 1, {}},
        ValidationCase{"BitCount4Passes", 0, 320, 200, 4, {}}),
    [](const testing::TestParamInfo<ValidationCase>& info) { return info.param.name; });

// A read that fails, as opposed to a short one, ends the run with its error
// number; here the file was bound but never opened.
TEST(BmpHeader, FailingReadEndsThroughTheIoCheck) {
  StartMemoryConsole(200, 30);
  BinaryFile inputFile;
  BindFileName(inputFile, "never-opened.bmp");
  int32_t totalBytesRead = 0;
  std::optional<int32_t> status;
  try {
    ReadBmpHeader(inputFile, totalBytesRead);
  } catch (const RunEnded& ended) {
    status = ended.status;
  }
  EXPECT_EQ(status, 103);
  EXPECT_EQ(totalBytesRead, 0);
  EXPECT_EQ(MemoryConsoleWindowText(), "");
}

}  // namespace
