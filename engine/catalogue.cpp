#include "engine/catalogue.h"

namespace veskaron {
namespace {

constexpr std::array<CatalogueEntry, kEntryCount> kCatalogue = {{
    {0, "title", EntryKind::Title},
    {1, "author", EntryKind::Name},
    {2, "copyright", EntryKind::Name},
    {3, "description", EntryKind::Name},
    {4, "keywords", EntryKind::Name},
    {5, "robots", EntryKind::Name},
    {6, "revisit-after", EntryKind::Name},
    {7, "generator", EntryKind::Name},
    {8, "progid", EntryKind::Name},
    {9, "distribution", EntryKind::Name},
    {10, "url", EntryKind::Name},
    {11, "cache-control", EntryKind::HttpEquiv},
    {12, "pragma", EntryKind::HttpEquiv},
    {13, "refresh", EntryKind::HttpEquiv},
    {14, "expiries", EntryKind::HttpEquiv},
    {15, "content-type", EntryKind::HttpEquiv},
    {16, "content-language", EntryKind::HttpEquiv},
    {17, "location", EntryKind::HttpEquiv},
    {18, "page-enter", EntryKind::HttpEquiv},
    {19, "page-exit", EntryKind::HttpEquiv},
    {20, "site-enter", EntryKind::HttpEquiv},
    {21, "site-exit", EntryKind::HttpEquiv},
}};

}  // namespace

const std::array<CatalogueEntry, kEntryCount>& Catalogue() { return kCatalogue; }

const CatalogueEntry& CatalogueAt(int index) {
    return kCatalogue.at(static_cast<std::size_t>(index));
}

OutputOrder DefaultOutputOrder() {
    OutputOrder order{};
    for (int i = 0; i < kEntryCount; ++i) order[static_cast<std::size_t>(i)] = i;
    return order;
}

bool IsPermutation(const OutputOrder& order) {
    std::array<bool, kEntryCount> seen{};
    for (std::int32_t index : order) {
        if (index < 0 || index >= kEntryCount || seen[static_cast<std::size_t>(index)]) return false;
        seen[static_cast<std::size_t>(index)] = true;
    }
    return true;
}

const std::array<std::string_view, 3> ItemLists::Distribution = {"", "GLOBAL", "LOCAL"};
const std::array<std::string_view, 11> ItemLists::Type = {
    "", "text/html", "text/richtext", "text/rtf", "text/plain", "text/sgml", "text/xml",
    "text/css", "text/javascript", "multipart/form-data", "multipart/mixed"};
const std::array<std::string_view, 6> ItemLists::Charset = {
    "", "ISO-8859-5", "windows-1251", "koi8-r", "koi8-u", "utf-8"};
const std::array<std::string_view, 126> ItemLists::Language = {
    "", "ru", "ru-mo", "ua", "bu", "en-us", "af", "ar-ae", "ar-bh", "ar-dz",
    "ar-eg", "ar-iq", "ar-jo", "ar-kw", "ar-lb", "ar-ly", "ar-ma", "ar-om", "ar-qa", "ar-sa",
    "ar-sy", "ar-tn", "ar-ye", "be", "bg", "ca", "cs", "da", "de", "de-at",
    "de-ch", "de-li", "de-lu", "el", "en", "en", "en-au", "en-bz", "en-ca", "en-gb",
    "en-ie", "en-jm", "en-nz", "en-tt", "en-us", "en-za", "es", "es-ar", "es-bo", "es-cl",
    "es-co", "es-cr", "es-do", "es-ec", "es-gt", "es-hn", "es-mx", "es-ni", "es-pa", "es-pe",
    "es-pr", "es-py", "es-sv", "es-uy", "es-ve", "et", "eu", "fa", "fi", "fo",
    "fr", "fr-be", "fr-ca", "fr-ch", "fr-lu", "gd", "gd-ie", "he", "hi", "hr",
    "hu", "in", "is", "it", "it-ch", "ja", "ji", "ko", "lt", "lv",
    "mk", "ms", "mt", "nl", "nl-be", "no", "pl", "pt", "pt-br", "rm",
    "ro", "ro-mo", "sb", "sk", "sl", "sq", "sr", "sr", "sv", "sv-fi",
    "sx", "sz", "th", "tn", "tr", "ts", "uk", "ur", "ve", "vi",
    "xh", "zh-cn", "zh-hk", "zh-sg", "zh-tw", "zu",
};

}  // namespace veskaron
