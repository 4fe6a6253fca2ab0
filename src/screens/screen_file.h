#pragma once
#include <cstdint>
#include <string_view>

#include "match/screen_layout.h"

// Reads the named screen file into codes after the console line
// Reading screen file "NAME"... A screen file holds exactly CellCount
// screen codes; a file of any other size ends the run with the rejection
// line Error: "NAME" has N bytes, a screen file has exactly 1000. (or has
// more than 1000 bytes), a failed file operation through the I/O check
// with its number.
void ReadScreenFile(std::string_view name, uint8_t (&codes)[CellCount]);
