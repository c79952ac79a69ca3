#pragma once
// Russian texts of the site report and of the overview charts, which show
// the same things: the levels, the reasons a page is not indexed, captions.
#include <string_view>

namespace veskaron::report_text {

inline constexpr std::string_view kTitle = "Отчёт о проверке страниц сайта";
inline constexpr std::string_view kFolder = "Папка";
inline constexpr std::string_view kDate = "Дата";
inline constexpr std::string_view kSummary = "Итоги";
inline constexpr std::string_view kPages = "Страниц проверено";
inline constexpr std::string_view kPagesWithFindings = "Страниц с замечаниями";
inline constexpr std::string_view kUnreadable = "Не прочитано";
inline constexpr std::string_view kLevel = "Уровень";
inline constexpr std::string_view kFindings = "Находок";
inline constexpr std::string_view kCode = "Код";
inline constexpr std::string_view kWhat = "Что найдено";
inline constexpr std::string_view kPagesColumn = "Страниц";
inline constexpr std::string_view kCharts = "Графики";
inline constexpr std::string_view kByCode = "Страницы по замечаниям";
inline constexpr std::string_view kByCodeChart = "Страниц с каждым замечанием";
inline constexpr std::string_view kTitleWidths = "Ширина заголовков в результате поиска, px";
inline constexpr std::string_view kDescriptionWidths = "Ширина описаний в результате поиска, px";
inline constexpr std::string_view kIndexing = "Индексация страниц";
inline constexpr std::string_view kLimit = "предел";
inline constexpr std::string_view kPageColumn = "Страница";
inline constexpr std::string_view kLine = "Строка";
inline constexpr std::string_view kDetail = "Подробности";
inline constexpr std::string_view kMore = "Ещё находок: ";  // followed by the number
inline constexpr std::string_view kNone = "Замечаний нет.";

// "ошибка", "предупреждение", "сведения": the index is the level's (error, warning, info).
inline constexpr std::string_view kLevels[] = {"ошибка", "предупреждение", "сведения"};
inline constexpr std::string_view kLevelsPlural[] = {"Ошибки", "Предупреждения", "Сведения"};

// Why a page is not indexed, by the reason's code; "Индексируется" for none.
inline constexpr std::string_view IndexReasonName(std::string_view reason) {
    if (reason.empty()) return "Индексируются";
    if (reason == "disallowed") return "Закрыты в robots.txt";
    if (reason == "noindex") return "Закрыты: noindex";
    if (reason == "canonical-elsewhere") return "Канон. адрес другой";
    if (reason == "redirect") return "Перенаправляют";
    return "Не индексируются";
}

}  // namespace veskaron::report_text
