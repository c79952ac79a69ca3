#pragma once
// Widths of titles and descriptions as a search result draws them: the sum of
// the advance widths of the characters in Liberation Sans Regular (Arial's
// metrics) at a pixel size, without kerning, rounded once at the end. The
// same numbers serve the window, the command line and the audit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veskaron {

// The advance of a character in font units; one the font lacks measures as "o".
std::uint32_t AdvanceUnits(char32_t cp);
std::uint32_t FontUnitsPerEm();
// `units` at `sizePx`, rounded to the nearest pixel (halves up).
std::size_t UnitsToPixels(std::uint64_t units, unsigned sizePx);

// The text as a result shows it: every run of blanks (spaces, tabs, line
// breaks) one space, none at the ends.
std::string CollapseBlanks(std::string_view utf8);

// Width in pixels of a UTF-8 text at `sizePx`, its blanks collapsed.
std::size_t TextWidthPx(std::string_view utf8, unsigned sizePx);

struct FittedText {
    std::size_t px = 0;  // width of the whole text (blanks collapsed)
    std::string shown;   // what the result shows
    bool cut = false;
    // `shown` line by line, as the result breaks it (the space at a break
    // is in neither line).
    std::vector<std::string> lines;
};

// The text in at most `lines` lines of `linePx`, words wrapping to the next
// line. What does not fit is cut after whole words with " …" (commas, colons,
// semicolons and dashes before it dropped); a first word that alone does not
// fit its line is cut between characters and followed by "…".
FittedText FitText(std::string_view utf8, unsigned sizePx, std::size_t linePx, int lines = 1);

}  // namespace veskaron
