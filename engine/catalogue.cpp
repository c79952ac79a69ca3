#include "engine/catalogue.h"

namespace veskaron {
namespace {

constexpr std::array<CatalogueEntry, kEntryCount> kCatalogue = {{
    {0, "title", EntryKind::Title, "name - Title (Заголовок)"},
    {1, "author", EntryKind::Name, "name - Author (Автор)"},
    {2, "copyright", EntryKind::Name, "name - Copyright (Авторские права)"},
    {3, "description", EntryKind::Name, "name - Description (Описание)"},
    {4, "keywords", EntryKind::Name, "name - Keywords (Ключевые слова)"},
    {5, "robots", EntryKind::Name, "name - Robots (Инструкции поисковикам)"},
    {6, "revisit-after", EntryKind::Name, "name - revisit-after (Следующая индексация)"},
    {7, "generator", EntryKind::Name, "name - Generator (Генератор документа)"},
    {8, "progid", EntryKind::Name, "name - ProgId"},
    {9, "distribution", EntryKind::Name, "name - Distribution (Видимость документа)"},
    {10, "url", EntryKind::Name, "name - Url (Адрес документа)"},
    {11, "cache-control", EntryKind::HttpEquiv, "http-equiv - Case-control (управление кешированием)"},
    {12, "pragma", EntryKind::HttpEquiv, "http-equiv - Progma (Запрет кеширования)"},
    {13, "refresh", EntryKind::HttpEquiv, "http-equiv - Refresh (Перезагрузка документа)"},
    {14, "expiries", EntryKind::HttpEquiv, "http-equiv - Expiries (Дата устаревания документа)"},
    {15, "content-type", EntryKind::HttpEquiv, "http-equiv - Content-type (тип и кодировка документа)"},
    {16, "content-language", EntryKind::HttpEquiv, "http-equiv - Content-Language (языковая поддержка)"},
    {17, "location", EntryKind::HttpEquiv, "http-equiv - Location (местоположение документа)"},
    {18, "page-enter", EntryKind::HttpEquiv, "http-equiv - Page-Enter (Эффект захода на страницу)"},
    {19, "page-exit", EntryKind::HttpEquiv, "http-equiv - Page-Exit (Эффект закрытия страницы)"},
    {20, "site-enter", EntryKind::HttpEquiv, "http-equiv - Site-Enter (Эффект захода на сайт)"},
    {21, "site-exit", EntryKind::HttpEquiv, "http-equiv - Site-Exit (Эффект ухода с сайта)"},
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

const std::array<std::string_view, 5> ItemLists::Robots = {
    "", "Игнорировать страницу", "Индексировать и следовать по ссылкам",
    "Индексировать, не следовать по ссылкам", "Не индексировать, следовать по ссылкам"};
const std::array<std::string_view, 4> ItemLists::Unit = {"", "дней", "недель", "месяц"};
const std::array<std::string_view, 3> ItemLists::Distribution = {"", "GLOBAL", "LOCAL"};
const std::array<std::string_view, 5> ItemLists::Cache = {
    "", "кешировать во всех кешах", "кешировать в частном кеше",
    "кешировать, но не сохранять", "не кешировать"};
const std::array<std::string_view, 2> ItemLists::Pragma = {"", "не кешировать"};
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
const std::array<std::string_view, 24> ItemLists::Effect = {
    "0 - Box in (в поле) ",
    "1 - Box out (из поля) ",
    "2 - Circle in (в круг) ",
    "3 - Circle out (из круга) ",
    "4 - Wipe up (стирание вверх) ",
    "5 - Wipe down (вниз) ",
    "6 - Wipe right (вправо) ",
    "7 - Wipe left (влево) ",
    "8 - Vertical blinds (вертикальные жалюзи) ",
    "9 - Horizontal blinds (горизонтальные жалюзи) ",
    "10 - Checkboard across (в шахматном порядке поперечно) ",
    "11 - Checkboard down (вниз) ",
    "12 - Random dissolve (случайный наплыв) ",
    "13 - Split vertical in ",
    "14 - Split vertical out ",
    "15 - Split horizontal in ",
    "16 - Split horizontal out ",
    "17 - Strips left down ",
    "18 - Strips left up ",
    "19 - Strips right down ",
    "20 - Strips right up ",
    "21 - Random bars horizontal (случайные горизонтальные линии) ",
    "22 - Random bars vertical ",
    "23 - Random (случайный эффект) ",
};

}  // namespace veskaron
