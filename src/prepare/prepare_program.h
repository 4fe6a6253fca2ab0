#pragma once

// cellglyph-prepare's command line: the picture, the BMP to write, then
// options in any order.
void RunPrepareProgram();
