#pragma once
#include <cstdint>
#include <string_view>

#include "outputs/asm_text.h"
#include "outputs/output_formats.h"

// What the output file is to be, settled from the command line.
struct ExportSettings {
  OutputFormat format;  // never Unknown here
  AsmDialect dialect;   // assembler source only
  // The colours of the options, or the start-up colours. With a colour
  // file the ink is not used, and the background and border only where
  // their options were given.
  uint8_t ink;
  uint8_t background;
  uint8_t border;
  bool backgroundGiven;
  bool borderGiven;
  bool colourFileGiven;
  std::string_view colourFileName;
  CharacterSet set;
};

// Reads the screen file (see ReadScreenFile) and the colour file where one
// is given (see ReadColourFile), builds the whole output in memory and only
// then creates the output file and writes it in one block, so an output
// that exists stays as it was when an input is missing, unreadable or
// turned down. A failed file operation ends the run through CheckIo with
// its I/O error number. Returns after "done.".
void ExportScreenFile(std::string_view screenName, std::string_view outputName,
                      const ExportSettings& settings);
