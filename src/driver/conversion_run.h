#pragma once
#include <string_view>

// One conversion: read and check the image, match its cells, write the
// 1000 screen codes, show the report. Returns after "done."; every failure
// ends the process inside. The names are given whole: one too long to keep
// is refused when its file would be opened, never cut to another name.
void RunConversion(std::string_view inputName, std::string_view outputName,
                   std::string_view limitText);
