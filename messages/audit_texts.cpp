#include "messages/audit_texts.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace veskaron {
namespace {

using Name = std::pair<std::string_view, std::string_view>;

// Sorted by code.
constexpr std::array kNames{
    Name{"anchor-missing", "Нет якоря для ссылки"},
    Name{"canonical-missing", "Нет канонического адреса"},
    Name{"canonical-missing-target", "Канонический адрес на несуществующую страницу"},
    Name{"canonical-multiple", "Несколько канонических адресов"},
    Name{"canonical-relative", "Канонический адрес относительный"},
    Name{"canonical-to-noindex", "Канонический адрес на закрытую страницу"},
    Name{"charset-late", "Кодировка объявлена поздно"},
    Name{"charset-mismatch", "Кодировка не совпадает с объявленной"},
    Name{"charset-missing", "Кодировка не объявлена"},
    Name{"depth", "Далеко от стартовой страницы"},
    Name{"description-duplicate", "Повтор описания"},
    Name{"description-length", "Длина описания"},
    Name{"description-missing", "Нет описания"},
    Name{"description-multiple", "Несколько описаний"},
    Name{"description-width", "Описание шире результата поиска"},
    Name{"disallowed", "Закрыта в robots.txt"},
    Name{"disallowed-noindex", "Закрыта в robots.txt, noindex не виден"},
    Name{"hreflang-missing-target", "hreflang на несуществующую страницу"},
    Name{"hreflang-no-return", "hreflang без обратной ссылки"},
    Name{"hreflang-no-self", "hreflang без ссылки на себя"},
    Name{"hreflang-relative", "hreflang с относительным адресом"},
    Name{"img-alt-missing", "Изображение без alt"},
    Name{"img-size-mismatch", "Размер изображения не тот"},
    Name{"jsonld-invalid", "Ошибка в JSON-LD"},
    Name{"lang-missing", "Не указан язык страницы"},
    Name{"link-broken", "Битая ссылка"},
    Name{"link-to-noindex", "Ссылка на закрытую страницу"},
    Name{"no-head", "Нет тега head"},
    Name{"noindex", "Закрыта от индексации"},
    Name{"og-missing", "Нет тегов Open Graph"},
    Name{"og-name-attribute", "Open Graph в атрибуте name"},
    Name{"orphan", "Нет ссылок на страницу"},
    Name{"read-error", "Страница не прочитана"},
    Name{"redirect", "Перенаправление"},
    Name{"redirect-chain", "Цепочка перенаправлений"},
    Name{"redirect-loop", "Перенаправления по кругу"},
    Name{"robots-txt-line", "Непонятная строка robots.txt"},
    Name{"title-duplicate", "Повтор заголовка"},
    Name{"title-length", "Длина заголовка"},
    Name{"title-missing", "Нет заголовка"},
    Name{"title-multiple", "Несколько заголовков"},
    Name{"title-short", "Заголовок узкий"},
    Name{"title-width", "Заголовок шире результата поиска"},
    Name{"twitter-card-missing", "Нет тегов Twitter"},
    Name{"unknown-robots-word", "Незнакомое слово в robots"},
    Name{"viewport-missing", "Нет тега viewport"},
};
static_assert(std::is_sorted(kNames.begin(), kNames.end()));

}  // namespace

std::string_view FindingName(std::string_view code) {
    const auto it = std::lower_bound(kNames.begin(), kNames.end(), code,
                                     [](const Name& n, std::string_view c) { return n.first < c; });
    return it != kNames.end() && it->first == code ? it->second : code;
}

std::string JsonLdErrorText(const JsonLdBlock& block) {
    if (block.valid) return {};
    if (block.errorLine == 0) return "данные не прочитаны";
    std::string where = "строка " + std::to_string(block.errorLine) + ", столбец " + std::to_string(block.errorColumn);
    return where + (block.errorAtEnd ? ": запись оборвана, не хватает закрывающих знаков"
                                     : ": ошибка в записи данных (знак не на месте или лишний)");
}

}  // namespace veskaron
