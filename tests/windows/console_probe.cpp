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

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr WORD BlankAttribute = 0x07;
constexpr WORD TextAttribute = 0x1E;
constexpr UINT StartCodePage = 437;
constexpr DWORD WaitMilliseconds = 60000;

struct Settings {
  std::string commandLine;
  bool haveCommand = false;
  SHORT cursorX = 0;
  SHORT cursorY = 0;
  bool redirectStdout = false;
  bool redirectStderr = false;
  bool paint = false;
  std::vector<std::string> copies;  // pairs: from, to
  std::vector<std::string> makes;   // pairs: name, bytes
  std::vector<std::string> reportedFiles;
};

struct RunResult {
  std::string exitText;
  LONGLONG stdoutBytes = 0;
  std::string stderrBytes;
};

bool ReadWholeFile(const char* path, std::string& text) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  std::fclose(file);
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string DecodeBytes(const std::string& text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{' && i + 3 < text.size() && text[i + 3] == '}' &&
        HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 3;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

std::string EncodeBytes(const char* bytes, size_t count) {
  static const char hex[] = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 32 || c == '{' || c >= 127) {
      text += '{';
      text += hex[c >> 4];
      text += hex[c & 15];
      text += '}';
    } else {
      text += static_cast<char>(c);
    }
  }
  return text;
}

bool ParseSettings(const std::string& caseText, Settings& settings, std::string& problem) {
  size_t at = 0;
  while (at < caseText.size()) {
    size_t end = caseText.find('\n', at);
    if (end == std::string::npos) end = caseText.size();
    std::string line = caseText.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "---") {
      if (!settings.haveCommand) problem = "no run line";
      return settings.haveCommand;
    }
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("run ", 0) == 0) {
      settings.commandLine = DecodeBytes(line.substr(4));
      settings.haveCommand = true;
    } else if (line.rfind("cursor ", 0) == 0) {
      int x = 0;
      int y = 0;
      if (std::sscanf(line.c_str() + 7, "%d %d", &x, &y) != 2) {
        problem = "bad line: " + line;
        return false;
      }
      settings.cursorX = static_cast<SHORT>(x);
      settings.cursorY = static_cast<SHORT>(y);
    } else if (line == "stdout file") {
      settings.redirectStdout = true;
    } else if (line == "stderr file") {
      settings.redirectStderr = true;
    } else if (line.rfind("copy ", 0) == 0 || line.rfind("make ", 0) == 0) {
      size_t space = line.find(' ', 5);
      if (space == std::string::npos || space == 5) {
        problem = "bad line: " + line;
        return false;
      }
      std::vector<std::string>& list = line[0] == 'c' ? settings.copies : settings.makes;
      list.push_back(DecodeBytes(line.substr(5, space - 5)));
      list.push_back(DecodeBytes(line.substr(space + 1)));
    } else if (line.rfind("file ", 0) == 0) {
      settings.reportedFiles.push_back(DecodeBytes(line.substr(5)));
    } else if (line == "paint") {
      settings.paint = true;
    } else {
      problem = "unknown line: " + line;
      return false;
    }
  }
  problem = "no line ---";
  return false;
}

void PrepareConsole(HANDLE console, const Settings& settings) {
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  GetConsoleScreenBufferInfo(console, &info);
  DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
  DWORD done = 0;
  COORD origin = {0, 0};
  FillConsoleOutputCharacterA(console, ' ', cells, origin, &done);
  FillConsoleOutputAttribute(console, BlankAttribute, cells, origin, &done);
  SetConsoleTextAttribute(console, TextAttribute);
  SetConsoleOutputCP(StartCodePage);
  COORD cursor = {static_cast<SHORT>(info.srWindow.Left + settings.cursorX),
                  static_cast<SHORT>(info.srWindow.Top + settings.cursorY)};
  SetConsoleCursorPosition(console, cursor);
}

HANDLE CreateRedirection(const std::string& path) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

LONGLONG FileSize(HANDLE file) {
  LARGE_INTEGER size = {};
  GetFileSizeEx(file, &size);
  return size.QuadPart;
}

// Starts the command in this console and waits for it. Redirected outputs go
// to CAPTURE.stdout and CAPTURE.stderr.
RunResult RunCommand(const Settings& settings, const std::string& capturePath) {
  RunResult result;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  HANDLE output = INVALID_HANDLE_VALUE;
  HANDLE error = INVALID_HANDLE_VALUE;
  bool redirect = settings.redirectStdout || settings.redirectStderr;
  if (settings.redirectStdout) output = CreateRedirection(capturePath + ".stdout");
  if (settings.redirectStderr) error = CreateRedirection(capturePath + ".stderr");
  if ((settings.redirectStdout && output == INVALID_HANDLE_VALUE) ||
      (settings.redirectStderr && error == INVALID_HANDLE_VALUE)) {
    result.exitText = "not-started redirection " + std::to_string(GetLastError());
    return result;
  }
  if (redirect) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = settings.redirectStdout ? output : GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = settings.redirectStderr ? error : GetStdHandle(STD_ERROR_HANDLE);
  }
  std::vector<char> line(settings.commandLine.begin(), settings.commandLine.end());
  line.push_back('\0');
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, redirect, 0, nullptr, nullptr,
                      &startup, &process)) {
    result.exitText = "not-started " + std::to_string(GetLastError());
  } else {
    if (WaitForSingleObject(process.hProcess, WaitMilliseconds) != WAIT_OBJECT_0) {
      TerminateProcess(process.hProcess, 255);
      WaitForSingleObject(process.hProcess, WaitMilliseconds);
      result.exitText = "timeout";
    } else {
      DWORD status = 0;
      GetExitCodeProcess(process.hProcess, &status);
      result.exitText = std::to_string(status);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (output != INVALID_HANDLE_VALUE) {
    result.stdoutBytes = FileSize(output);
    CloseHandle(output);
  }
  if (error != INVALID_HANDLE_VALUE) {
    CloseHandle(error);
    ReadWholeFile((capturePath + ".stderr").c_str(), result.stderrBytes);
  }
  return result;
}

bool PrepareFiles(const Settings& settings, std::string& problem) {
  for (size_t i = 0; i + 1 < settings.copies.size(); i += 2) {
    if (!CopyFileA(settings.copies[i].c_str(), settings.copies[i + 1].c_str(), FALSE)) {
      problem = "cannot copy " + settings.copies[i] + ": error " + std::to_string(GetLastError());
      return false;
    }
  }
  for (size_t i = 0; i + 1 < settings.makes.size(); i += 2) {
    FILE* file = std::fopen(settings.makes[i].c_str(), "wb");
    if (file == nullptr) {
      problem = "cannot make " + settings.makes[i];
      return false;
    }
    const std::string& bytes = settings.makes[i + 1];
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  return true;
}

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (char byte : bytes) {
    crc ^= static_cast<unsigned char>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string DescribeFile(const std::string& name) {
  constexpr size_t ShownBytes = 64;
  std::string text = "file " + EncodeBytes(name.data(), name.size()) + " ";
  std::string bytes;
  if (!ReadWholeFile(name.c_str(), bytes)) return text + "missing\n";
  text += std::to_string(bytes.size()) + " bytes";
  if (bytes.size() <= ShownBytes) {
    text += ": " + EncodeBytes(bytes.data(), bytes.size());
  } else {
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(Crc32(bytes)));
    text += std::string(", crc32 ") + crc;
  }
  return text + "\n";
}

std::string StderrLines(const std::string& bytes) {
  std::string text = "stderr\n";
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) {
      text += EncodeBytes(bytes.data() + at, bytes.size() - at) + "\n{no line feed}\n";
      break;
    }
    text += EncodeBytes(bytes.data() + at, end - at) + "\n";
    at = end + 1;
  }
  return text;
}

void DropTrailingEmptyRows(std::vector<std::string>& rows) {
  while (!rows.empty() && rows.back().empty()) rows.pop_back();
}

std::string CaptureWindow(HANDLE console, bool paint) {
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  GetConsoleScreenBufferInfo(console, &info);
  const SMALL_RECT& window = info.srWindow;
  DWORD width = static_cast<DWORD>(window.Right - window.Left + 1);
  std::string text;
  text += "window " + std::to_string(width) + " " + std::to_string(window.Bottom - window.Top + 1) + "\n";
  text += "codepage " + std::to_string(GetConsoleOutputCP()) + "\n";
  text += "cursor " + std::to_string(info.dwCursorPosition.X - window.Left) + " " +
          std::to_string(info.dwCursorPosition.Y - window.Top) + "\n";

  // Characters are read back in the ANSI code page, the one they were drawn in.
  UINT codePage = GetConsoleOutputCP();
  SetConsoleOutputCP(GetACP());
  std::vector<std::string> rows;
  std::vector<std::string> marks;
  std::vector<char> characters(width);
  std::vector<WORD> attributes(width);
  for (SHORT y = window.Top; y <= window.Bottom; ++y) {
    COORD start = {window.Left, y};
    DWORD got = 0;
    ReadConsoleOutputCharacterA(console, characters.data(), width, start, &got);
    std::string row = EncodeBytes(characters.data(), got);
    row.erase(row.find_last_not_of(' ') + 1);
    rows.push_back(row);
    got = 0;
    ReadConsoleOutputAttribute(console, attributes.data(), width, start, &got);
    std::string mark;
    for (DWORD i = 0; i < got; ++i)
      mark += attributes[i] == TextAttribute ? '#' : attributes[i] == BlankAttribute ? '.' : '?';
    mark.erase(mark.find_last_not_of('.') + 1);
    marks.push_back(mark);
  }
  SetConsoleOutputCP(codePage);

  DropTrailingEmptyRows(rows);
  text += "screen\n";
  for (const std::string& row : rows) text += row + "\n";
  if (paint) {
    DropTrailingEmptyRows(marks);
    text += "paint\n";
    for (const std::string& mark : marks) text += mark + "\n";
  }
  return text;
}

constexpr int ProbeFailed = 2;
constexpr int NoConsole = 3;

// The message goes to standard error and, since that may be a console that
// shows nothing, also to CAPTURE.failed.
int Fail(const std::string& message, const char* capturePath, int status = ProbeFailed) {
  std::fprintf(stderr, "console_probe: %s\n", message.c_str());
  if (capturePath != nullptr) {
    FILE* file = std::fopen((std::string(capturePath) + ".failed").c_str(), "wb");
    if (file != nullptr) {
      std::fprintf(file, "console_probe: %s\n", message.c_str());
      std::fclose(file);
    }
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: console_probe CASE CAPTURE", nullptr);
  const char* capturePath = argv[2];
  std::string caseText;
  if (!ReadWholeFile(argv[1], caseText))
    return Fail(std::string("cannot read ") + argv[1], capturePath);
  Settings settings;
  std::string problem;
  if (!ParseSettings(caseText, settings, problem))
    return Fail(argv[1] + (": " + problem), capturePath);

  HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
  CONSOLE_SCREEN_BUFFER_INFO check = {};
  if (console == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(console, &check))
    return Fail("no console to run in", capturePath, NoConsole);

  if (!PrepareFiles(settings, problem)) return Fail(problem, capturePath);
  PrepareConsole(console, settings);
  RunResult run = RunCommand(settings, capturePath);

  std::string capture = "exit " + run.exitText + "\n";
  std::string window = CaptureWindow(console, settings.paint);
  size_t screenAt = window.find("screen\n");
  capture += window.substr(0, screenAt);
  if (settings.redirectStdout) capture += "stdout " + std::to_string(run.stdoutBytes) + " bytes\n";
  for (const std::string& name : settings.reportedFiles) capture += DescribeFile(name);
  capture += window.substr(screenAt);
  if (settings.redirectStderr) capture += StderrLines(run.stderrBytes);

  FILE* out = std::fopen(capturePath, "wb");
  if (out == nullptr) return Fail(std::string("cannot write ") + capturePath, capturePath);
  std::fwrite(capture.data(), 1, capture.size(), out);
  std::fclose(out);
  return 0;
}
