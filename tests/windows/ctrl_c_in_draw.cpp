// ctrl_c_in_draw: begins a draw through the real console layer, which
// switches the console to the ANSI code page, and sends Ctrl+C to its
// console before the draw ends. The layer's control handler must switch the
// code page back and pass the event on; the case that starts this
// program reads the code page afterwards.
//
// Handlers run newest first, so the one registered here before the layer's
// runs after it, in the place of the system's default handling, and ends the
// process with a status of its own (the default status differs between
// Windows and Wine versions). Any other status says what went wrong.
#include <windows.h>

#include "console/console_platform.h"

namespace {

constexpr UINT EndedByEvent = 7;
constexpr int NoSwitchToSee = 3;  // the console already read the ANSI code page
constexpr int DrawNotSwitched = 4;
constexpr int EventNotSent = 5;
constexpr int EventNeverPassedOn = 6;
constexpr DWORD WaitForEventMilliseconds = 20000;

BOOL WINAPI EndAfterLayer(DWORD) { ExitProcess(EndedByEvent); }

}  // namespace

int main() {
  SetConsoleCtrlHandler(EndAfterLayer, TRUE);
  PlatformStartConsole();
  if (GetConsoleOutputCP() == GetACP()) return NoSwitchToSee;
  PlatformBeginDraw();
  if (GetConsoleOutputCP() != GetACP()) return DrawNotSwitched;
  // Group 0: every process of this console, the probe that started us too.
  if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) return EventNotSent;
  Sleep(WaitForEventMilliseconds);
  return EventNeverPassedOn;
}
