#pragma once
#include <string_view>

#include "export/asm_text.h"
#include "export/export_formats.h"
#include "export/prg_image.h"

// What the output file is to be, settled from the command line.
struct ExportSettings {
  OutputFormat format;    // never Unknown here
  AsmDialect dialect;     // assembler source only
  ScreenColours colours;  // ink for the program and the stream; the rest the program only
};

// Reads the screen file (exactly 1000 bytes), builds the whole output in
// memory and only then creates the output file and writes it in one block,
// so an output that exists stays as it was when the screen is missing,
// unreadable or of the wrong size. A wrong size ends the run with status 1
// and a line on standard error, a failed file operation through CheckIo
// with its I/O error number. Returns after "done.".
void ExportScreenFile(std::string_view screenName, std::string_view outputName,
                      const ExportSettings& settings);

// Standard error lines of a run that turns its input down, in pieces:
// values are shown in quotes with their first 255 characters. The line
// that ends the message ends the run with status 1.
void ErrorText(std::string_view text);
void ErrorQuoted(std::string_view value);
[[noreturn]] void EndRejectedLine(std::string_view text);
