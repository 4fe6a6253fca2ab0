#pragma once
#include <cstdint>
#include <string_view>

// The largest file the programs beside the converter read whole: a colour
// file, 1002 bytes.
inline constexpr uint16_t LargestExactSizeFile = 1002;

// Reads the named file into bytes, which holds size bytes (at most
// LargestExactSizeFile). A file of any other size ends the run with the
// rejection line Error: "NAME" has N bytes, KIND has exactly SIZE. (or has
// more than SIZE bytes), a failed file operation through the I/O check with
// its number.
void ReadExactSizeFile(std::string_view name, uint8_t* bytes, uint16_t size,
                       std::string_view kind);
