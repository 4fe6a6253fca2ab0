// The page shows its progress itself: there is no console window to draw
// in, and the console lines go nowhere.
#include "console/console_platform.h"

void PlatformStartConsole() {}

bool PlatformQueryScreenInfo(ConsoleScreenInfo&) { return false; }

void PlatformBeginDraw() {}

void PlatformEndDraw() {}

void PlatformWriteCells(int32_t, int32_t, const uint8_t*, uint32_t, uint8_t) {}

void PlatformScrollWindowUp(int32_t, int32_t, int32_t, int32_t, uint8_t) {}

void PlatformSetCursor(int32_t, int32_t) {}
