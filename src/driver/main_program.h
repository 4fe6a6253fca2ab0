#pragma once

// The main program: banner, the argument check, the dirart option, then the
// conversion run. Never returns.
[[noreturn]] void RunMainProgram();
