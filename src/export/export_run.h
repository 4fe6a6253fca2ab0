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

// Reads the screen file (see ReadScreenFile), builds the whole output in
// memory and only then creates the output file and writes it in one block,
// so an output that exists stays as it was when the screen is missing,
// unreadable or of the wrong size. A failed file operation ends the run
// through CheckIo with its I/O error number. Returns after "done.".
void ExportScreenFile(std::string_view screenName, std::string_view outputName,
                      const ExportSettings& settings);
