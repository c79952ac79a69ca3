#pragma once
// Windows-1251: the byte encoding of every document text. One table holds the
// code points and the letter-case pairs, so another page encoding can be added
// beside it without touching the algorithms that use these functions.
#include <optional>
#include <string>
#include <string_view>

namespace veskaron {

// The byte 0x98 has no character in Windows-1251; it maps to this private code
// point so that every byte survives a round trip through Unicode.
inline constexpr char32_t kCp1251Unassigned = 0xE098;

char32_t Cp1251ToUnicode(unsigned char byte);
// The byte for a code point, or -1 when Windows-1251 cannot hold it.
int UnicodeToCp1251(char32_t cp);

std::string Cp1251ToUtf8(std::string_view bytes);

struct Cp1251Result {
    std::string text;   // converted text (complete only when ok)
    bool ok = true;
    std::string error;  // what could not be converted, in Russian-free plain words
};
// Converts UTF-8 to Windows-1251. Never drops a character silently: an invalid
// UTF-8 sequence or a character outside Windows-1251 makes the result not ok.
Cp1251Result Utf8ToCp1251(std::string_view utf8);

// Letter case by the Windows-1251 letter pairs (Latin and Cyrillic).
unsigned char LowerChar(unsigned char c);
unsigned char UpperChar(unsigned char c);
bool IsLetterChar(unsigned char c);
std::string LowerText(std::string_view s);
std::string UpperText(std::string_view s);

// Only A..Z lowered; the literal tag matching works this way.
inline char LowerAsciiChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
std::string LowerAscii(std::string_view s);

}  // namespace veskaron
