#pragma once
// Field texts of a KOI8 page. The page is held as Windows-1251 and translated
// back to KOI8 on save, and the translation is not one to one for the letters
// outside the Russian alphabet: a character read from the page must go back
// as the byte it came from, while a typed one must become the byte that means
// it in KOI8, or a reference when KOI8 has no such character.
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace veskaron::session {

class Koi8FieldTexts {
public:
    // nullptr for any charset but "koi8-r" and "koi8-u".
    static std::shared_ptr<const Koi8FieldTexts> For(std::string_view charset);

    // `edited` (held bytes as the box gives them) against `page` (the text as
    // the page or the last save had it): what both share at their start and
    // end stays as it is; only the part between counts as typed.
    std::string Merge(std::string_view page, std::string_view edited, std::size_t* references) const;

    // The page's text as a box shows it: the references a save writes for
    // the characters KOI8 lacks ("&#8212;") become those characters again.
    std::string Shown(std::string_view page) const;
    // Merge against the text as Shown() gave it: what is unchanged keeps the
    // page's bytes, its references included.
    std::string MergeShown(std::string_view page, std::string_view edited, std::size_t* references) const;

    explicit Koi8FieldTexts(int charsetIndex);

private:
    std::string Typed(std::string_view held, std::size_t* references) const;
    // The held byte a reference at the start of `text` stands for, with its
    // length; -1 when it is no reference a save writes.
    int ReferencedByte(std::string_view text, std::size_t& length) const;

    // For each held byte 0x80..0xFF read as its Windows-1251 character: the
    // held byte that saves as that character, or -1.
    std::array<int, 128> heldFor_{};
};

}  // namespace veskaron::session
