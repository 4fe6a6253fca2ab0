// Ending the run in the browser. The page's entry (src/web) checks every
// setting before it runs the shared code, so no rejection reaches here; a
// run that ends anyway is a fault of that check, and aborting the module
// makes the page's worker report it rather than go on with half a result.
#include <cstdlib>

#include "runtime/process_platform.h"

void PlatformExitProcess(int32_t) { std::abort(); }

int PlatformCaptureCallChain(uintptr_t*, int) { return 0; }
