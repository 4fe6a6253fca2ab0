#pragma once
#include <array>
#include <cstdint>

#include "match/glyph_table.h"
#include "match/lower_glyphs.h"
#include "match/row_pattern.h"

// The C64's two character sets. The converter knows only the first, the
// upper-case/graphics set of GlyphTable; the other programs can draw and
// choose glyphs in either.
enum class CharacterSet : uint8_t { Upper, Lower };

inline constexpr std::array<uint8_t, GlyphTableSize> LowerGlyphTable =
    BuildGlyphTable(LowerGlyphPatterns);

consteval std::array<uint64_t, GlyphCount> BuildLowerGlyphPatterns() {
  std::array<uint64_t, GlyphCount> patterns{};
  for (int glyph = 0; glyph < GlyphCount; ++glyph)
    patterns[glyph] = PackRows(&LowerGlyphTable[glyph * GlyphRows]);
  return patterns;
}
inline constexpr std::array<uint64_t, GlyphCount> LowerGlyphRowPatterns = BuildLowerGlyphPatterns();

// The set's glyph table (GlyphTableSize bytes) and its packed patterns.
constexpr const uint8_t* GlyphTableOf(CharacterSet set) {
  return set == CharacterSet::Lower ? LowerGlyphTable.data() : GlyphTable.data();
}
constexpr const uint64_t* GlyphPatternsOf(CharacterSet set) {
  return set == CharacterSet::Lower ? LowerGlyphRowPatterns.data() : GlyphPatterns.data();
}

// The bits of the video chip's memory register ($D018) that show screen
// memory at $0400 in the set: the character ROM's first or second half.
constexpr uint8_t VicMemoryOf(CharacterSet set) {
  return set == CharacterSet::Lower ? 0x17 : 0x15;
}

// The screen codes of the cells of pixelData (PixelDataSize bytes, as the
// converter reads them) in the set: the lowest-numbered glyph of those with
// the most pixels in common, among 0 to 127 alone when normalGlyphsOnly, as
// the converter chooses in the first set.
void MatchCellsInSet(const uint8_t* pixelData, CharacterSet set, bool normalGlyphsOnly,
                     uint8_t* screenCodes);
