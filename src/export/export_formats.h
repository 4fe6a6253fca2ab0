#pragma once
#include <cstdint>
#include <string_view>

enum class OutputFormat : uint8_t {
  Unknown,
  Program,
  AssemblerSource,
  PrintStream,
  PetmateDocument
};

// The format an output name asks for with its extension, in any case:
// .prg, .asm or .s, .seq, .petmate. Any other extension, or none, gives
// Unknown.
OutputFormat FormatFromName(std::string_view name);

// The format a --format word names: prg, asm, seq or petmate, in lower case.
OutputFormat FormatFromWord(std::string_view word);
