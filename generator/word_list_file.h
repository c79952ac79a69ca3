#pragma once
// Word list files (.fkh mandatory words, .fkw excluded words): Windows-1251
// text, one entry per line, every line ended by CR LF.
#include <string>
#include <string_view>
#include <vector>

namespace veskaron::generator {

// Lines end at CR LF, a lone CR or a lone LF; a NUL byte ends the text. Empty
// lines are entries; a final line end adds no empty entry.
std::vector<std::string> ParseWordList(std::string_view bytes);
// Every entry followed by CR LF; an empty list gives an empty text.
std::string FormatWordList(const std::vector<std::string>& entries);

struct WordListRead {
    bool ok = false;
    bool missing = false;  // no such file (ok is false)
    std::vector<std::string> entries;
    std::string error;  // names the file and the cause
};
WordListRead ReadWordListFile(const std::string& path);

// Writes the list in place of the file, whole or not at all (a temporary file
// beside it is renamed over it). An entry holding a line break or a NUL byte
// could not be read back as written, so such a list is refused. Returns the
// error text, empty on success.
std::string WriteWordListFile(const std::string& path, const std::vector<std::string>& entries);

}  // namespace veskaron::generator
