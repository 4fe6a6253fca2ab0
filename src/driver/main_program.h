#pragma once

// The main program: banner, the argument check (contract: quiet rejection,
// see docs/design.md), the dirart option, then the conversion run. Never
// returns.
[[noreturn]] void RunMainProgram();
