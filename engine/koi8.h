#pragma once
// KOI8-R / KOI8-U pages are edited as Windows-1251 and written back in KOI8.
// Each direction is a permutation of the byte values it lists.
#include <array>
#include <string>
#include <string_view>

namespace veskaron {

using ByteTable = std::array<unsigned char, 256>;

// Builds the table that replaces from[i] by to[i] (both Windows-1251 bytes of
// equal length); other bytes map to themselves.
ByteTable MakeTranslation(std::string_view from, std::string_view to);

std::string TranslateChars(std::string_view text, const ByteTable& table);
void TranslateInPlace(std::string& text, const ByteTable& table);

const ByteTable& Koi8RLoad();
const ByteTable& Koi8RSave();
const ByteTable& Koi8ULoad();
const ByteTable& Koi8USave();

// The table for a charset list index (3 KOI8-R, 4 KOI8-U); nullptr for any
// other index, which means no translation.
const ByteTable* Koi8LoadTable(int charsetIndex);
const ByteTable* Koi8SaveTable(int charsetIndex);

}  // namespace veskaron
