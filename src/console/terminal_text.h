#pragma once
#include <cstdint>

// How one 8-bit character, read in the Windows ANSI code page 1252, is shown
// on a UTF-8 terminal: always as exactly one visible cell. Bytes a terminal
// would act on (control bytes, DEL) and bytes 1252 leaves undefined become a
// placeholder, so no text can steer the terminal.
// Writes the UTF-8 form into out (room for 4 bytes) and returns its length.
int EncodeTerminalCell(uint8_t character, char* out);
