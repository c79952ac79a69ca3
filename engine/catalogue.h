#pragma once
// The 22 entries a page head can carry and the fixed lists of the words a page
// holds behind the index fields (types, charsets, languages, distribution).
// Constant, plain ASCII data; the windows' captions and lists are texts.
#include <array>
#include <cstdint>
#include <string_view>

namespace veskaron {

enum class EntryKind { Title, Name, HttpEquiv };

enum EntryIndex : int {
    kTitle = 0, kAuthor, kCopyright, kDescription, kKeywords, kRobots, kRevisitAfter,
    kGenerator, kProgId, kDistribution, kUrl,
    kCacheControl, kPragma, kRefresh, kExpiries, kContentType, kContentLanguage,
    kLocation, kPageEnter, kPageExit, kSiteEnter, kSiteExit,
};
inline constexpr int kEntryCount = 22;

struct CatalogueEntry {
    int index;
    std::string_view key;      // lower case; "title" for the title element
    EntryKind kind;
};

const CatalogueEntry& CatalogueAt(int index);

// The order in which the writer emits the entries: position p holds the
// catalogue index written p-th.
using OutputOrder = std::array<std::int32_t, kEntryCount>;
OutputOrder DefaultOutputOrder();  // 0, 1, ..., 21
bool IsPermutation(const OutputOrder& order);  // every index exactly once
const std::array<CatalogueEntry, kEntryCount>& Catalogue();

// The words of the fixed lists as pages hold them; index 0 is always the
// empty item.
struct ItemLists {
    static const std::array<std::string_view, 3> Distribution;
    static const std::array<std::string_view, 11> Type;
    static const std::array<std::string_view, 6> Charset;
    static const std::array<std::string_view, 126> Language;
};

inline constexpr int kCharsetKoi8R = 3;
inline constexpr int kCharsetKoi8U = 4;
inline constexpr int kCharsetUtf8 = 5;

}  // namespace veskaron
