#pragma once
// Version information carried inside the program file: a table of texts
// addressed like "StringFileInfo\040904E4\FileVersion" (language, code page
// "04E4", field). The running program reads its own copy; another executable
// is searched for the same block on disk.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veskaron {

// The code page part of every table name; only the language part varies.
inline constexpr std::string_view kVersionCodePage = "04E4";

// "StringFileInfo\" + language + "04E4\" + field.
std::string VersionQueryPath(std::string_view language, std::string_view field);

// A field of the running program's version information, e.g. ("0409",
// "FileVersion"). Empty when the language or the field is missing.
std::string QueryVersionValue(const std::string& language, const std::string& field);

// The same lookup in the version block of the executable file at path (no
// length limit on the path). Empty when the file is missing, unreadable, or
// carries no valid block, or when the field is missing.
std::string QueryVersionValueFromFile(const std::string& path, const std::string& language,
                                      const std::string& field);

// Entries are (query path, text) pairs.
using VersionEntries = std::vector<std::pair<std::string, std::string>>;

// The block's byte form, as embedded in an executable. Used by the build and
// by tests that make executables of their own.
std::string FormatVersionBlock(const VersionEntries& entries);

// Finds and decodes the first valid block inside some bytes; empty when none.
VersionEntries ParseVersionBlock(std::string_view bytes);

// The running program's own block, as linked in.
std::string_view OwnVersionBlock();

}  // namespace veskaron
