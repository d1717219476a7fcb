// Reading table behind the pinyin simple code: for each code point, the syllable of its reading
// or, for the GBK symbols the simple code translates itself, their GBK code. The data is
// generated from ICU by tools/gen-readings into hanzi_readings_table.cpp.
#pragma once

#include <bit>
#include <cstdint>

namespace hanzi_readings {

// What an entry holds:
//   0                  no reading and no rule: an unmapped character
//   1 .. syllableCount  a syllable number (index into syllables)
//   0xA2tt, 0xA3tt, 0xA6tt   the character's GBK code in a symbol row with its own rule
//   0xFFbb             the character is the single GBK byte bb (the euro sign, 0x80)
constexpr std::uint16_t SingleByte = 0xFF00;
constexpr std::uint16_t RowMask = 0xFF00;

constexpr char32_t Limit = 0x32400;   // no entry at or past this code point
constexpr int ChunkBits = 6;          // one presence mask per 64 code points

extern const int syllableCount;      // syllables numbered 1 .. syllableCount
extern const char syllables[][7];     // lower-case, "ü" as "v"; syllables[0] is empty
extern const std::uint64_t present[Limit >> ChunkBits];
extern const std::uint16_t firstEntry[Limit >> ChunkBits];
extern const std::uint16_t entries[];

// The entry of one code point: a mask test and a population count, no search.
inline std::uint16_t entryOf(char32_t cp)
{
    if (cp >= Limit) return 0;
    const std::uint32_t chunk = cp >> ChunkBits;
    const std::uint64_t mask = present[chunk];
    const std::uint64_t bit = std::uint64_t(1) << (cp & ((1u << ChunkBits) - 1));
    if (!(mask & bit)) return 0;
    return entries[firstEntry[chunk] + std::popcount(mask & (bit - 1))];
}

} // namespace hanzi_readings
