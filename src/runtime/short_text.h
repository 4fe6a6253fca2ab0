#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>

// A text of at most 255 8-bit characters. Copying keeps the first 255;
// appending drops whatever would go beyond the 255th
// (contract: 255-character texts, see docs/design.md).
inline constexpr int MaxTextLength = 255;

struct ShortText {
  uint8_t length;
  char characters[MaxTextLength];
};

inline std::string_view TextView(const ShortText& text) {
  return std::string_view(text.characters, text.length);
}

inline void AppendText(ShortText& text, std::string_view piece) {
  size_t room = MaxTextLength - text.length;
  size_t kept = piece.size() < room ? piece.size() : room;
  // An empty view may have no storage at all; memcpy must not see it.
  if (kept > 0) std::memcpy(text.characters + text.length, piece.data(), kept);
  text.length = static_cast<uint8_t>(text.length + kept);
}

inline ShortText MakeText(std::string_view source) {
  ShortText text{};
  AppendText(text, source);
  return text;
}
