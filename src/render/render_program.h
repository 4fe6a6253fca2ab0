#pragma once

// The renderer's main program: the argument check, then the rendering of
// argument 1 into argument 2. Never returns.
[[noreturn]] void RunRenderProgram();
