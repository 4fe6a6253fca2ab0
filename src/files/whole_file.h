#pragma once
#include <cstdint>
#include <string_view>

// A small file read or written in one block, each step followed by the I/O
// check, so that a failure ends the run with its number.

// Reads at most capacity bytes of the named file into buffer and returns
// how many it obtained. Asking for one byte more than expected shows a file
// that is too long.
uint16_t ReadWholeFile(std::string_view name, void* buffer, uint16_t capacity);

// Creates the named file, or empties it, and writes count bytes. Callers
// build the whole content first, so that an existing file is only touched
// once there is something complete to put in its place.
void WriteWholeFile(std::string_view name, const void* bytes, int32_t count);
