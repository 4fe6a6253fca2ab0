#include "runtime/command_line.h"

#include "runtime/arguments_platform.h"

namespace {

std::string_view programPath;
const std::string_view* argumentWords = nullptr;
int argumentCount = 0;

bool IsSeparator(char c) {
  unsigned char code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

}  // namespace

int SplitCommandLine(std::string_view line, char* storage, std::string_view* words,
                     int capacity) {
  size_t at = 0;
  size_t stored = 0;
  int count = 0;
  while (true) {
    while (at < line.size() && IsSeparator(line[at])) ++at;
    if (at >= line.size()) break;
    size_t start = stored;
    bool quoted = false;
    while (at < line.size()) {
      char c = line[at];
      if (c == '"' && at + 1 < line.size() && line[at + 1] == '"') {
        at += 2;
      } else if (c == '"') {
        quoted = !quoted;
        ++at;
      } else if (IsSeparator(c) && !quoted) {
        break;
      } else {
        storage[stored++] = c;
        ++at;
      }
    }
    if (count < capacity) words[count++] = std::string_view(storage + start, stored - start);
  }
  return count;
}

int64_t ParseInteger(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  uint64_t base = 10;
  std::string_view rest = text.substr(at);
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    at += 2;
  } else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    base = 16;
    at += 1;
  } else if (!rest.empty() && rest[0] == '%') {
    base = 2;
    at += 1;
  } else if (!rest.empty() && rest[0] == '&') {
    base = 8;
    at += 1;
  }
  if (at >= text.size()) return 0;
  // Decimal numbers stop at the signed range (one further for a minus sign);
  // the other bases may use all 64 bits.
  const uint64_t limit = base == 10 ? (negative ? 9223372036854775808ULL : 9223372036854775807ULL)
                                    : 18446744073709551615ULL;
  uint64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    uint64_t digit = static_cast<uint64_t>(DigitValue(text[at]));
    if (digit >= base) return 0;
    if (magnitude > (limit - digit) / base) return 0;
    magnitude = magnitude * base + digit;
  }
  return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
}

void SetArguments(std::string_view path, const std::string_view* words, int count) {
  programPath = path;
  argumentWords = words;
  argumentCount = count;
}

int ArgumentCount() { return argumentCount; }

std::string_view ArgumentWhole(int index) {
  if (index == 0) return programPath;
  if (index < 0 || index > argumentCount) return {};
  return argumentWords[index - 1];
}

ShortText ArgumentText(int index) { return ShowName(ArgumentWhole(index)).text; }
