// console_probe: runs one command line in this process's console and writes
// back what it left in the console window, so that a test can compare the
// screen cell by cell.
//
//   console_probe.exe CASE CAPTURE
//
// CASE holds setting lines up to a line "---" (the rest is the expected
// capture, which the probe does not read):
//   run LINE        the command line to start, as the process receives it
//   cursor X Y      where the cursor stands when it starts (default 0 0)
//   stdout file     its standard output goes to a new, empty file
//   stderr file     its standard error likewise
//   copy FROM TO    copies the file FROM to TO before the command starts
//   make NAME BYTES creates the file NAME holding BYTES before it starts
//   file NAME       reports the file NAME after the command has ended
//   paint           also capture the cells' attributes
//   # ...           a comment
// In LINE, BYTES, NAME, FROM and TO, and in every captured row, {XX} stands
// for the byte with the hexadecimal value XX; bytes below 32, 123 ({), 127
// and above are always written that way. Relative file names are taken in
// the probe's current folder, which the command inherits.
//
// Before the command starts the probe blanks the screen buffer in the
// attribute 07, sets the console's attribute to 1E and its output code page
// to 437. CAPTURE then holds:
//   exit N          the exit status (or "exit timeout", "exit not-started E")
//   window W H      the window's width and height
//   codepage N      the console's output code page afterwards
//   cursor X Y      the cursor, relative to the window
//   stdout N bytes  with "stdout file": the size of that file
//   file NAME ...   per "file" line: "missing", or "N bytes", followed for a
//                   file of up to 64 bytes by ": " and its bytes, for a longer
//                   one by ", crc32 " and the CRC-32 of its bytes (the one
//                   of zip and PNG) in 8 upper-case hexadecimal digits
//   screen          then the window's rows, trailing blanks and rows cut
//   paint           with "paint": the rows again, one mark per cell:
//                   '#' attribute 1E, '.' attribute 07, '?' any other
//                   (trailing '.' and empty rows cut)
//   stderr          with "stderr file": its bytes, a captured line for each
//                   line feed (the line feed itself not shown, a carriage
//                   return shown as {0D}); text after the last line feed is
//                   followed by a line "{no line feed}"
//
// Exit status 0 when the capture is written; otherwise 3 when the probe
// found no console (Wine's console did not come up), 2 for anything else,
// with the reason on standard error and in CAPTURE.failed.
#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr WORD BlankAttribute = 0x07;
constexpr WORD TextAttribute = 0x1E;
constexpr UINT StartCodePage = 437;
constexpr DWORD WaitMilliseconds = 60000;
constexpr int ProbeFailed = 2;
constexpr int NoConsole = 3;

struct Settings {
  std::string commandLine;
  SHORT cursorX = 0;
  SHORT cursorY = 0;
  bool redirectStdout = false;
  bool redirectStderr = false;
  bool paint = false;
  std::vector<std::string> reportedFiles;
};

std::optional<std::string> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

std::string DecodeBytes(const std::string& text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{' && i + 3 < text.size() && text[i + 3] == '}' && IsHex(text[i + 1]) &&
        IsHex(text[i + 2])) {
      bytes += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 3;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

std::string EncodeBytes(std::string_view bytes) {
  std::string text;
  for (char byte : bytes) {
    unsigned char c = static_cast<unsigned char>(byte);
    char code[8];
    std::snprintf(code, sizeof code, "{%02X}", c);
    text += c < 32 || c == '{' || c >= 127 ? std::string(code) : std::string(1, byte);
  }
  return text;
}

// Reads the settings up to "---"; copies and makes files on the way.
bool ReadCase(const std::string& caseText, Settings& settings, std::string& problem) {
  std::istringstream lines(caseText);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line == "---") {
      problem = "no run line";
      return !settings.commandLine.empty();
    }
    size_t space = line.find(' ');
    std::string word = line.substr(0, space);
    std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    size_t split = rest.find(' ');
    std::string first = DecodeBytes(rest.substr(0, split));
    std::string second = split == std::string::npos ? "" : DecodeBytes(rest.substr(split + 1));
    bool done = true;
    if (word == "run")
      settings.commandLine = DecodeBytes(rest);
    else if (word == "cursor")
      done = std::sscanf(rest.c_str(), "%hd %hd", &settings.cursorX, &settings.cursorY) == 2;
    else if (line == "stdout file")
      settings.redirectStdout = true;
    else if (line == "stderr file")
      settings.redirectStderr = true;
    else if (line == "paint")
      settings.paint = true;
    else if (word == "file")
      settings.reportedFiles.push_back(DecodeBytes(rest));
    else if (word == "copy")
      done = split != std::string::npos && CopyFileA(first.c_str(), second.c_str(), FALSE);
    else if (word == "make")
      done = split != std::string::npos && WriteBytes(first, second);
    else
      done = false;
    if (!done) {
      problem = "cannot follow the line " + line + " (last system error " +
                std::to_string(GetLastError()) + ")";
      return false;
    }
  }
  problem = "no line ---";
  return false;
}

// Blanks the screen buffer and sets the console up as the case starts.
void PrepareConsole(HANDLE console, const CONSOLE_SCREEN_BUFFER_INFO& info,
                    const Settings& settings) {
  DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
  DWORD done = 0;
  FillConsoleOutputCharacterA(console, ' ', cells, {0, 0}, &done);
  FillConsoleOutputAttribute(console, BlankAttribute, cells, {0, 0}, &done);
  SetConsoleTextAttribute(console, TextAttribute);
  SetConsoleOutputCP(StartCodePage);
  SetConsoleCursorPosition(console, {static_cast<SHORT>(info.srWindow.Left + settings.cursorX),
                                     static_cast<SHORT>(info.srWindow.Top + settings.cursorY)});
}

constexpr int StartTries = 5;

// Starts the command in this console, waits for it and returns its exit
// text. Redirected outputs go to CAPTURE.stdout and CAPTURE.stderr.
std::string RunCommand(const Settings& settings, const std::string& capturePath) {
  const bool redirected[2] = {settings.redirectStdout, settings.redirectStderr};
  const char* const suffixes[2] = {".stdout", ".stderr"};
  HANDLE outputs[2] = {GetStdHandle(STD_OUTPUT_HANDLE), GetStdHandle(STD_ERROR_HANDLE)};
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  for (int i = 0; i < 2; ++i) {
    if (!redirected[i]) continue;
    outputs[i] =
        CreateFileA((capturePath + suffixes[i]).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (outputs[i] == INVALID_HANDLE_VALUE)
      return "not-started redirection " + std::to_string(GetLastError());
  }
  bool redirect = redirected[0] || redirected[1];
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (redirect) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outputs[0];
    startup.hStdError = outputs[1];
  }
  std::string line = settings.commandLine;  // CreateProcessA may write into it
  PROCESS_INFORMATION process = {};
  std::string exitText;
  // Wine now and then fails to start a process on a busy machine, with an
  // internal error, before any of the program runs; a program that cannot
  // start at all fails every try.
  bool started = false;
  for (int tries = 0; !started && tries < StartTries; ++tries) {
    line = settings.commandLine;
    started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, redirect, 0, nullptr,
                             nullptr, &startup, &process) != 0;
    if (!started && GetLastError() != ERROR_INTERNAL_ERROR) break;
  }
  if (!started) {
    exitText = "not-started " + std::to_string(GetLastError());
  } else if (WaitForSingleObject(process.hProcess, WaitMilliseconds) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 255);
    WaitForSingleObject(process.hProcess, WaitMilliseconds);
    exitText = "timeout";
  } else {
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    exitText = std::to_string(status);
  }
  if (process.hProcess != nullptr) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (int i = 0; i < 2; ++i)
    if (redirected[i]) CloseHandle(outputs[i]);
  return exitText;
}

// CRC-32 as zip and PNG compute it.
uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (char byte : bytes) {
    crc ^= static_cast<unsigned char>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string DescribeFile(const std::string& name) {
  std::string text = "file " + EncodeBytes(name) + " ";
  std::optional<std::string> bytes = FileBytes(name);
  if (!bytes) return text + "missing\n";
  text += std::to_string(bytes->size()) + " bytes";
  if (bytes->size() <= 64) return text + ": " + EncodeBytes(*bytes) + "\n";
  char crc[32];
  std::snprintf(crc, sizeof crc, ", crc32 %08X\n", static_cast<unsigned>(Crc32(*bytes)));
  return text + crc;
}

std::string StderrLines(const std::string& bytes) {
  std::string text = "stderr\n";
  size_t at = 0;
  for (size_t end; (end = bytes.find('\n', at)) != std::string::npos; at = end + 1)
    text += EncodeBytes(std::string_view(bytes).substr(at, end - at)) + "\n";
  if (at < bytes.size())
    text += EncodeBytes(std::string_view(bytes).substr(at)) + "\n{no line feed}\n";
  return text;
}

std::string WindowLines(HANDLE console) {
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  GetConsoleScreenBufferInfo(console, &info);
  const SMALL_RECT& window = info.srWindow;
  char text[128];
  std::snprintf(text, sizeof text, "window %d %d\ncodepage %u\ncursor %d %d\n",
                window.Right - window.Left + 1, window.Bottom - window.Top + 1,
                GetConsoleOutputCP(), info.dwCursorPosition.X - window.Left,
                info.dwCursorPosition.Y - window.Top);
  return text;
}

// Rows of text, one a line, without the empty rows at the end.
std::string WithoutEmptyRowsAtTheEnd(std::string rows) {
  rows.erase(rows.find_last_not_of('\n') + 1);
  return rows.empty() ? rows : rows + "\n";
}

std::string ScreenLines(HANDLE console, bool paint) {
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  GetConsoleScreenBufferInfo(console, &info);
  const SMALL_RECT& window = info.srWindow;
  DWORD width = static_cast<DWORD>(window.Right - window.Left + 1);
  std::vector<char> characters(width);
  std::vector<WORD> attributes(width);
  std::string rows;
  std::string marks;
  // Characters are read back in the ANSI code page, the one they were drawn in.
  UINT codePage = GetConsoleOutputCP();
  SetConsoleOutputCP(GetACP());
  for (SHORT y = window.Top; y <= window.Bottom; ++y) {
    DWORD got = 0;
    ReadConsoleOutputCharacterA(console, characters.data(), width, {window.Left, y}, &got);
    std::string row = EncodeBytes(std::string_view(characters.data(), got));
    rows += row.erase(row.find_last_not_of(' ') + 1) + "\n";
    ReadConsoleOutputAttribute(console, attributes.data(), width, {window.Left, y}, &got);
    std::string mark;
    for (DWORD i = 0; i < got; ++i)
      mark += attributes[i] == TextAttribute ? '#' : attributes[i] == BlankAttribute ? '.' : '?';
    marks += mark.erase(mark.find_last_not_of('.') + 1) + "\n";
  }
  SetConsoleOutputCP(codePage);
  std::string text = "screen\n" + WithoutEmptyRowsAtTheEnd(rows);
  return paint ? text + "paint\n" + WithoutEmptyRowsAtTheEnd(marks) : text;
}

// A command may send Ctrl+C to the whole console, this probe included; the
// probe stays to report what the command left behind.
BOOL WINAPI KeepProbeRunning(DWORD) { return TRUE; }

// The message goes to standard error and, since that may be a console that
// shows nothing, also to CAPTURE.failed.
int Fail(const std::string& message, const std::string& capturePath, int status = ProbeFailed) {
  std::fprintf(stderr, "console_probe: %s\n", message.c_str());
  WriteBytes(capturePath + ".failed", "console_probe: " + message + "\n");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: console_probe CASE CAPTURE\n");
    return ProbeFailed;
  }
  std::string capturePath = argv[2];
  std::optional<std::string> caseText = FileBytes(argv[1]);
  if (!caseText) return Fail(std::string("cannot read ") + argv[1], capturePath);
  Settings settings;
  std::string problem;
  if (!ReadCase(*caseText, settings, problem)) return Fail(argv[1] + (": " + problem), capturePath);

  HANDLE console =
      CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  if (console == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(console, &info))
    return Fail("no console to run in", capturePath, NoConsole);
  PrepareConsole(console, info, settings);
  SetConsoleCtrlHandler(KeepProbeRunning, TRUE);

  std::string capture = "exit " + RunCommand(settings, capturePath) + "\n";
  capture += WindowLines(console);
  if (settings.redirectStdout)
    capture += "stdout " + std::to_string(FileBytes(capturePath + ".stdout").value_or("").size()) +
               " bytes\n";
  for (const std::string& name : settings.reportedFiles) capture += DescribeFile(name);
  capture += ScreenLines(console, settings.paint);
  if (settings.redirectStderr)
    capture += StderrLines(FileBytes(capturePath + ".stderr").value_or(""));
  if (!WriteBytes(capturePath, capture)) return Fail("cannot write " + capturePath, capturePath);
  return 0;
}
