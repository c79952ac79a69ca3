// Writes the advance widths of a font's Unicode characters as C++ source, so
// that the engine measures texts without a font library at run time.
// Usage: generate_advances FONT.ttf OUTPUT.cpp
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>

namespace {

// Code points below this go into a table indexed directly: Latin, Greek and
// Cyrillic, which is nearly every character of a Russian or English page.
constexpr unsigned long kDense = 0x800;
constexpr unsigned kMissing = 0xFFFF;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: generate_advances FONT OUTPUT\n";
        return 2;
    }
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, argv[1], 0, &face)) {
        std::cerr << argv[1] << ": cannot be opened as a font\n";
        return 1;
    }
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE)) {
        std::cerr << argv[1] << ": the font has no Unicode character map\n";
        return 1;
    }
    std::map<unsigned long, unsigned> advances;
    FT_UInt glyph = 0;
    for (FT_ULong cp = FT_Get_First_Char(face, &glyph); glyph != 0; cp = FT_Get_Next_Char(face, cp, &glyph)) {
        FT_Fixed advance = 0;
        // Unscaled, so the advance is in font units, as the font stores it.
        if (FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance)) {
            std::cerr << argv[1] << ": no advance for U+" << std::hex << cp << "\n";
            return 1;
        }
        if (advance < 0 || advance >= kMissing) {
            std::cerr << argv[1] << ": advance out of range for U+" << std::hex << cp << "\n";
            return 1;
        }
        advances[cp] = static_cast<unsigned>(advance);
    }
    if (!advances.count('o')) {
        std::cerr << argv[1] << ": the font has no \"o\"\n";
        return 1;
    }

    std::ofstream out(argv[2], std::ios::binary);
    out << "// Generated from " << argv[1] << " by generate_advances; do not edit.\n"
        << "#include \"engine/text_width_table.h\"\n\n"
        << "namespace veskaron::font_table {\n\n"
        << "const std::uint32_t kUnitsPerEm = " << face->units_per_EM << ";\n"
        << "const std::uint16_t kMissingAdvance = " << advances['o'] << ";\n\n"
        << "const std::uint16_t kDenseAdvances[kDenseCount] = {";
    for (unsigned long cp = 0; cp < kDense; ++cp) {
        const auto it = advances.find(cp);
        out << (cp % 16 ? " " : "\n    ") << (it == advances.end() ? kMissing : it->second) << ",";
    }
    out << "\n};\n\n";
    std::size_t sparse = 0;
    for (const auto& [cp, advance] : advances) sparse += cp >= kDense;
    out << "const std::size_t kSparseCount = " << sparse << ";\n"
        << "const SparseAdvance kSparseAdvances[" << (sparse ? sparse : 1) << "] = {";
    std::size_t n = 0;
    for (const auto& [cp, advance] : advances) {
        if (cp < kDense) continue;
        out << (n++ % 6 ? " " : "\n    ") << "{0x" << std::hex << cp << std::dec << ", " << advance << "},";
    }
    if (!sparse) out << "{0, 0}";
    out << "\n};\n\n}  // namespace veskaron::font_table\n";
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
