#include "screens/screen_file.h"

#include "console/console_lines.h"
#include "screens/exact_size_file.h"

void ReadScreenFile(std::string_view name, uint8_t (&codes)[CellCount]) {
  ShowNamedLine("Reading screen file ", name, "...");
  ReadExactSizeFile(name, codes, CellCount, "a screen file");
}
