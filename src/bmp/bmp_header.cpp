#include "bmp/bmp_header.h"

#include "console/console_lines.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"

namespace {

// Every field is read into this buffer, cleared first, so that bytes the
// file does not supply read as 0.
uint8_t readBuffer[4];

void ClearReadBuffer() {
  for (uint8_t& byte : readBuffer) byte = 0;
}

}  // namespace

void ReadSignature(BinaryFile& inputFile, const HeaderField& signature, int32_t& totalBytesRead) {
  ClearReadBuffer();
  uint16_t countRead = 0;
  ReadBlock(inputFile, readBuffer, signature.size, countRead);
  CheckIo();
  if (readBuffer[0] != 'B' || readBuffer[1] != 'M') {
    ShowLine("ERROR: Cannot find BMP header. Aborting...");
    CloseFile(inputFile);
    CheckIo();
    EndRun(RunRejected);
  }
  totalBytesRead += countRead;
}

void ReadHeaderField(BinaryFile& inputFile, HeaderField& field, int32_t& totalBytesRead) {
  ClearReadBuffer();
  uint16_t countRead = 0;
  ReadBlock(inputFile, readBuffer, field.size, countRead);
  CheckIo();
  field.value = LittleEndianToInt32(readBuffer);
  totalBytesRead += countRead;
}

void ReadBmpHeader(BinaryFile& inputFile, int32_t& totalBytesRead) {
  ReadSignature(inputFile, SignatureField, totalBytesRead);
  for (HeaderField& field : FileHeaderFields) ReadHeaderField(inputFile, field, totalBytesRead);
  // The info header follows directly; only its first 40 bytes are read,
  // whatever biSize announces.
  for (HeaderField& field : InfoHeaderFields) ReadHeaderField(inputFile, field, totalBytesRead);
  ShowChar('[');
  ShowSigned(totalBytesRead);
  ShowText(" bytes read] done.");
  ShowLineEnd();
}
