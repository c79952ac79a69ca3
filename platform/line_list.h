#pragma once
// Line list files (input histories, snippets, word lists): Windows-1251
// text, one item per line. Reading accepts CR LF, CR or LF line ends and keeps
// empty lines; a line end at the very end does not start another item.
// Writing ends every item with CR LF and replaces the file atomically.
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_io.h"

namespace veskaron {

struct LineListRead {
    bool ok = false;
    bool missing = false;             // no such file; items is empty
    std::vector<std::string> items;   // Windows-1251 bytes (UTF-8 for the Utf8 reader)
    std::string error;
};

std::vector<std::string> SplitLineList(std::string_view bytes);
std::string JoinLineList(const std::vector<std::string>& items);

// Items are Windows-1251 bytes. An item holding CR or LF is refused, since
// it would come back as several items.
LineListRead ReadLineList(const std::string& path);
FileStatus WriteLineList(const std::string& path, const std::vector<std::string>& items);

// The same for UTF-8 items (window texts). A character that Windows-1251
// cannot hold is kept in the file as a numeric character reference "&#N;" and
// read back as the character; an item that is not valid UTF-8 is refused
// with an error naming it, and nothing is written.
LineListRead ReadLineListUtf8(const std::string& path);
// One Windows-1251 item as the UTF-8 reader gives it.
std::string LineListItemToUtf8(std::string_view item);
FileStatus WriteLineListUtf8(const std::string& path, const std::vector<std::string>& items);

}  // namespace veskaron
