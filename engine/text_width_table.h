#pragma once
// The advance widths of the measuring font, generated from the font file when
// the program is built (see engine/font_table).
#include <cstddef>
#include <cstdint>

namespace veskaron::font_table {

// Code points below kDenseCount index kDenseAdvances; kNoGlyph marks those the
// font lacks. The rest are in kSparseAdvances, sorted by code point.
inline constexpr std::size_t kDenseCount = 0x800;
inline constexpr std::uint16_t kNoGlyph = 0xFFFF;

struct SparseAdvance {
    std::uint32_t codePoint;
    std::uint16_t advance;
};

extern const std::uint32_t kUnitsPerEm;
extern const std::uint16_t kMissingAdvance;  // the advance of "o"
extern const std::uint16_t kDenseAdvances[kDenseCount];
extern const std::size_t kSparseCount;
extern const SparseAdvance kSparseAdvances[];

}  // namespace veskaron::font_table
