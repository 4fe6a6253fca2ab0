#include "terminal_session.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vterm.h>

#include <cerrno>
#include <chrono>

namespace {

std::string EncodeUtf8(uint32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

bool IsPlain(const VTermScreenCell& cell) {
  const VTermScreenCellAttrs& a = cell.attrs;
  return VTERM_COLOR_IS_DEFAULT_FG(&cell.fg) && VTERM_COLOR_IS_DEFAULT_BG(&cell.bg) && !a.bold &&
         !a.underline && !a.italic && !a.blink && !a.reverse && !a.strike;
}

std::string CellsToText(const VTermScreenCell* cells, int count, bool& plain) {
  std::string line;
  for (int i = 0; i < count; ++i) {
    if (cells[i].chars[0] == 0) {
      if (cells[i].width != 0) line += ' ';  // an empty cell; 0 follows a wide one
    } else {
      for (int k = 0; k < VTERM_MAX_CHARS_PER_CELL && cells[i].chars[k] != 0; ++k)
        line += EncodeUtf8(cells[i].chars[k]);
    }
    if (!IsPlain(cells[i])) plain = false;
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

struct Session {
  TerminalScreen* screen;
};

int PushLine(int columns, const VTermScreenCell* cells, void* user) {
  Session* session = static_cast<Session*>(user);
  session->screen->scrolledOff.push_back(
      CellsToText(cells, columns, session->screen->defaultColoursOnly));
  return 1;
}

void WriteAll(int descriptor, const char* bytes, size_t count) {
  while (count > 0) {
    ssize_t n = ::write(descriptor, bytes, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
}

}  // namespace

TerminalScreen RunInTerminal(const std::vector<std::string>& command,
                             const TerminalOptions& options) {
  TerminalScreen screen;
  VTerm* vt = vterm_new(options.rows, options.columns);
  vterm_set_utf8(vt, 1);
  VTermScreen* vscreen = vterm_obtain_screen(vt);
  Session session{&screen};
  VTermScreenCallbacks callbacks = {};
  callbacks.sb_pushline = PushLine;
  vterm_screen_set_callbacks(vscreen, &callbacks, &session);
  vterm_screen_reset(vscreen, 1);
  vterm_input_write(vt, options.before.data(), options.before.size());

  struct winsize size = {};
  size.ws_col = static_cast<unsigned short>(options.columns);
  size.ws_row = static_cast<unsigned short>(options.rows);
  int master = -1;
  pid_t child = ::forkpty(&master, nullptr, nullptr, &size);
  if (child == 0) {
    if (!options.workingFolder.empty() && ::chdir(options.workingFolder.c_str()) != 0) _exit(127);
    if (!options.standardInput.empty()) {
      int input = ::open(options.standardInput.c_str(), O_RDONLY);
      if (input >= 0) ::dup2(input, STDIN_FILENO);
    }
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    _exit(127);
  }

  WriteAll(master, options.typedAhead.data(), options.typedAhead.size());

  // Read until the program is gone and the terminal has nothing more.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  char buffer[4096];
  while (std::chrono::steady_clock::now() < deadline) {
    struct pollfd waiting = {master, POLLIN, 0};
    int ready = ::poll(&waiting, 1, 100);
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) {
      if (::waitpid(child, nullptr, WNOHANG | WNOWAIT) == child) {
        // Exited; collect anything still in flight on the next round.
        struct pollfd last = {master, POLLIN, 0};
        if (::poll(&last, 1, 50) <= 0) break;
      }
      continue;
    }
    ssize_t got = ::read(master, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // EIO once the program's side is closed
    screen.output.append(buffer, static_cast<size_t>(got));
    vterm_input_write(vt, buffer, static_cast<size_t>(got));
    char reply[256];
    size_t replyLength = vterm_output_read(vt, reply, sizeof reply);
    if (replyLength > 0 && options.answerCursorQuery) WriteAll(master, reply, replyLength);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) == child && WIFEXITED(status))
    screen.exitStatus = WEXITSTATUS(status);
  ::close(master);

  for (int row = 0; row < options.rows; ++row) {
    std::vector<VTermScreenCell> cells(static_cast<size_t>(options.columns));
    for (int column = 0; column < options.columns; ++column)
      vterm_screen_get_cell(vscreen, VTermPos{row, column}, &cells[static_cast<size_t>(column)]);
    screen.rows.push_back(CellsToText(cells.data(), options.columns, screen.defaultColoursOnly));
  }
  VTermPos cursor;
  vterm_state_get_cursorpos(vterm_obtain_state(vt), &cursor);
  screen.cursorRow = cursor.row;
  screen.cursorColumn = cursor.col;
  vterm_free(vt);
  return screen;
}

std::string ScreenText(const TerminalScreen& screen) {
  std::vector<std::string> lines = screen.scrolledOff;
  lines.insert(lines.end(), screen.rows.begin(), screen.rows.end());
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}
