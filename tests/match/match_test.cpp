// The glyph table against figures worked out apart from the code, both
// search paths against the bit-by-bit reference, and MatchCells' reuse of
// earlier results. Cells are packed patterns here: line 0 in the top byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <vector>

#include "match/avx2_search.h"
#include "match/cell_matcher.h"
#include "match/character_sets.h"
#include "match/row_pattern.h"
#include "reference_matcher.h"

bool operator==(GlyphMatch a, GlyphMatch b) {
  return a.glyph == b.glyph && a.samebits == b.samebits;
}
void PrintTo(GlyphMatch m, std::ostream* out) { *out << int{m.glyph} << " with " << m.samebits; }

namespace {

uint64_t Bit(int n) { return uint64_t{1} << n; }

GlyphMatch Reference(uint64_t cell, bool dirart) {
  uint8_t lines[8];
  for (int line = 0; line < 8; ++line) lines[line] = static_cast<uint8_t>(cell >> (56 - 8 * line));
  return ReferenceFindBestGlyph(lines, dirart);
}

// The C64's upper-case/graphics characters and their reverse forms, with
// row 5 of glyph 128 at 0x99: FNV-1a of all 2048 bytes, worked out from the
// published character patterns rather than from this code.
TEST(Match, GlyphTableHoldsTheCharacterSet) {
  uint64_t hash = 0xCBF29CE484222325;
  for (uint8_t byte : GlyphTable) hash = (hash ^ byte) * 0x100000001B3;
  EXPECT_EQ(hash, 0xEC430FC50706A5FD);
  EXPECT_EQ(ChosenGlyphSearch(), CpuHasAvx2() ? SearchGlyphsAvx2 : SearchGlyphsPortable);
}

// Both sets laid one after the other are the C64's whole character ROM,
// 901225-01, whose CRC-32 (as zip computes it) is the well-known EC4272EE.
// Matching in a set gives every drawn glyph back as its lowest look-alike.
TEST(Match, BothSetsAreTheCharacterRom) {
  uint32_t crc = 0xFFFFFFFF;
  for (const auto* table : {&GlyphTable, &LowerGlyphTable})
    for (uint8_t byte : *table)
      for (int bit = 0; bit < 8; ++bit, byte >>= 1)
        crc = ((crc ^ byte) & 1) != 0 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
  EXPECT_EQ(~crc, 0xEC4272EEu);
  for (CharacterSet set : {CharacterSet::Upper, CharacterSet::Lower}) {
    uint8_t codes[CellCount], pixels[PixelDataSize], matched[CellCount];
    for (int cell = 0; cell < CellCount; ++cell) codes[cell] = static_cast<uint8_t>(cell);
    for (int cell = 0; cell < CellCount; ++cell)
      for (int line = 0; line < GlyphRows; ++line)
        pixels[(cell / CellColumns * GlyphRows + line) * PixelRowBytes + cell % CellColumns] =
            GlyphTableOf(set)[codes[cell] * GlyphRows + line];
    MatchCellsInSet(pixels, set, false, matched);
    for (int cell = 0; cell < CellCount; ++cell) {
      const uint64_t* patterns = GlyphPatternsOf(set);
      EXPECT_EQ(patterns[matched[cell]], patterns[codes[cell]]) << cell;
      EXPECT_EQ(std::find(patterns, patterns + GlyphCount, patterns[codes[cell]]) - patterns,
                matched[cell]) << cell;
    }
  }
}

// Every glyph, and cells worked out by hand; cells halfway between two glyphs
// and as close to the first as to any, where the lower glyph must win the
// tie (all pairs with glyph 128, which is no plain complement, and random
// ones); random cells of varied density.
TEST(Match, SearchPathsMatchTheReference) {
  const struct {
    uint64_t cell;
    GlyphMatch normal, dirart;
  } byHand[] = {
      {0, {32, 64}, {32, 64}},
      {~uint64_t{0}, {160, 64}, {86, 40}},  // 96 ties; 61, 64, 67, 70 and 96 tie
      {0x00000000FF000000, {32, 56}, {32, 56}},
      {0xC39991919F9DC3FF, {128, 63}, {98, 41}},  // the complement of glyph 0
  };
  std::vector<uint64_t> cells(GlyphPatterns.begin(), GlyphPatterns.end());
  for (const auto& [cell, normal, dirart] : byHand) {
    EXPECT_EQ(Reference(cell, false), normal) << std::hex << cell;
    EXPECT_EQ(Reference(cell, true), dirart) << std::hex << cell;
  }
  std::mt19937_64 random(2017);
  for (int pair = 0; pair < 1200; ++pair) {
    const uint64_t a = GlyphPatterns[pair < 256 ? pair : random() % 256];
    const uint64_t differing = a ^ GlyphPatterns[pair < 256 ? 128 : random() % 256];
    const int half = std::popcount(differing) / 2;
    // Half the differing pixels, from a random one on, turned the other glyph's way.
    uint64_t cell = a;
    for (int bit = static_cast<int>(random() % 64), taken = 0; taken < half; bit = (bit + 1) % 64)
      if (differing & Bit(bit)) cell ^= Bit(bit), ++taken;
    int closest = 64;
    for (const uint64_t glyph : GlyphPatterns)
      closest = std::min(closest, std::popcount(cell ^ glyph));
    if (std::popcount(differing) % 2 == 0 && std::popcount(cell ^ a) == closest)
      cells.push_back(cell);
    const uint64_t c = random(), d = random();
    const uint64_t kinds[5] = {c, c & d, c | d, c & d & random(), c | d | random()};
    cells.push_back(kinds[random() % 5]);
  }
  const GlyphSearch fast = CpuHasAvx2() ? SearchGlyphsAvx2 : SearchGlyphsPortable;
  const GlyphSearch paths[2] = {SearchGlyphsPortable, fast};
  for (const uint64_t cell : cells)
    for (const bool dirart : {false, true})
      for (const GlyphSearch search : paths)
        ASSERT_EQ(search(cell, dirart), Reference(cell, dirart))
            << std::hex << cell << " dirart " << dirart;
  // Where the reference would take too long: every cell one pixel from a
  // glyph, and one in eight of those two pixels from one.
  for (int glyph = 0; glyph < 256; ++glyph)
    for (int first = 0; first < 64; ++first)
      for (int second = first; second < 64; ++second)
        if (second == first || random() % 8 == 0)
          for (const bool dirart : {false, true}) {
            const uint64_t flipped = Bit(first) ^ (second == first ? 0 : Bit(second));
            const uint64_t cell = GlyphPatterns[glyph] ^ flipped;
            ASSERT_EQ(fast(cell, dirart), SearchGlyphsPortable(cell, dirart)) << std::hex << cell;
          }
}

// Images of every glyph, of random cells, and of runs of a few kinds of cell
// that come back after another kind, across row ends too: every case in
// which a cell might take over an earlier result. Some kinds differ only in
// their first or last line, or repeat one byte in every line.
TEST(Match, MatchCellsGivesEachCellItsBestGlyph) {
  const uint64_t kinds[5] = {~uint64_t{0}, ~uint64_t{0x5A}, 0x1818181818181818,
                             ~(uint64_t{0xA5} << 56), 0x6666666666666666};
  static uint8_t pixels[PixelDataSize], codes[CellCount];
  static int16_t sameBits[CellRows][CellColumns];
  uint64_t cells[CellCount];
  for (int image = 0; image < 6; ++image) {
    std::mt19937_64 pick(image);
    for (int cell = 0; cell < CellCount; ++cell) {
      // Glyph 32, blank, comes second: no earlier result may be taken over yet.
      cells[cell] = image == 0   ? GlyphPatterns[(cell * 7 + 25) % 256]
                    : image == 1 ? GlyphPatterns[pick() % 256] ^ (pick() & pick() & pick())
                                 : kinds[pick() % (image - 1)];
      for (int line = 0; line < 8; ++line)
        pixels[(cell / 40 * 8 + line) * 40 + cell % 40] = cells[cell] >> (56 - 8 * line);
    }
    for (const bool dirart : {false, true}) {
      MatchCells(pixels, dirart, codes, sameBits);
      for (int cell = 0; cell < CellCount; ++cell)
        ASSERT_EQ((GlyphMatch{codes[cell], sameBits[cell / 40][cell % 40]}),
                  SearchGlyphsPortable(cells[cell], dirart))
            << "image " << image << " cell " << cell << (dirart ? " dirart" : "");
    }
  }
}

}  // namespace
