#include "engine/koi8.h"

#include "engine/catalogue.h"
#include "engine/cp1251.h"

namespace veskaron {
namespace {

// The alphabet strings, written as the Windows-1251 letters they consist of.
constexpr const char* kRFrom =
    "ЈЁёАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";
constexpr const char* kRTo =
    "ёЁЈюабцдефгхийклмнопярстужвьызшэщчъЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ";
constexpr const char* kUFrom =
    "ёєіїґЁЄІЇҐАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";
constexpr const char* kUTo =
    "ёєіїґЁЄІЇҐюабцдефгхийклмнопярстужвьызшэщчъЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ";

ByteTable FromAlphabets(const char* fromUtf8, const char* toUtf8) {
    return MakeTranslation(Utf8ToCp1251(fromUtf8).text, Utf8ToCp1251(toUtf8).text);
}

}  // namespace

ByteTable MakeTranslation(std::string_view from, std::string_view to) {
    ByteTable t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    std::array<bool, 256> seen{};
    const std::size_t n = from.size() < to.size() ? from.size() : to.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto f = static_cast<unsigned char>(from[i]);
        if (seen[f]) continue;  // the first occurrence wins
        seen[f] = true;
        t[f] = static_cast<unsigned char>(to[i]);
    }
    return t;
}

std::string TranslateChars(std::string_view text, const ByteTable& table) {
    std::string out(text);
    TranslateInPlace(out, table);
    return out;
}

void TranslateInPlace(std::string& text, const ByteTable& table) {
    for (char& c : text) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
}

const ByteTable& Koi8RLoad() { static const ByteTable t = FromAlphabets(kRFrom, kRTo); return t; }
const ByteTable& Koi8RSave() { static const ByteTable t = FromAlphabets(kRTo, kRFrom); return t; }
const ByteTable& Koi8ULoad() { static const ByteTable t = FromAlphabets(kUFrom, kUTo); return t; }
const ByteTable& Koi8USave() { static const ByteTable t = FromAlphabets(kUTo, kUFrom); return t; }

const ByteTable* Koi8LoadTable(int charsetIndex) {
    if (charsetIndex == kCharsetKoi8R) return &Koi8RLoad();
    if (charsetIndex == kCharsetKoi8U) return &Koi8ULoad();
    return nullptr;
}

const ByteTable* Koi8SaveTable(int charsetIndex) {
    if (charsetIndex == kCharsetKoi8R) return &Koi8RSave();
    if (charsetIndex == kCharsetKoi8U) return &Koi8USave();
    return nullptr;
}

}  // namespace veskaron
