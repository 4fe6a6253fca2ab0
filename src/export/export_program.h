#pragma once

// The export program: the command line, then the screen file of argument 1
// written into argument 2 in the format its extension or --format names.
// Never returns.
[[noreturn]] void RunExportProgram();
