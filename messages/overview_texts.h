#pragma once
// The texts of the site window's overview ("Обзор") and of its report.
#include <QString>
#include <string_view>

#include "messages/report_texts.h"
#include "messages/qt_text.h"

namespace veskaron::msg::overview {

inline const QString kTableTab = QStringLiteral("Таблица");
inline const QString kTab = QStringLiteral("Обзор");
inline const QString kReportButton = QStringLiteral("&Отчёт…");
inline const QString kReportHint = QStringLiteral(
    "Отчёт о сайте|Записать отчёт в один файл HTML: итоги, графики и страницы по замечаниям — по строкам, "
    "что показывает таблица");
inline const QString kReportCaption = QStringLiteral("Сохранить отчёт");
inline const QString kReportFilter = QStringLiteral("Страницы HTML (*.html *.htm)");
inline const QString kReportFile = QStringLiteral("report.html");
inline const QString kReportWriting = QStringLiteral("Запись отчёта…");
inline const QString kReportWritten = QStringLiteral("Отчёт записан: %1");
// %1 pages shown, %2 of them with findings, %3 errors, %4 warnings, %5 infos.
inline const QString kSummary =
    QStringLiteral("Страниц: %1, с замечаниями: %2. Ошибок: %3, предупреждений: %4, сведений: %5.");
inline const QString kClickHint = QStringLiteral("Щелчок по столбцу покажет эти страницы в таблице");
inline const QString kCodesTitle = FromUtf8(report_text::kByCodeChart);
// Shorter than the report's: the window's charts are narrow.
inline const QString kTitlesTitle = QStringLiteral("Ширина заголовков, px");
inline const QString kDescriptionsTitle = QStringLiteral("Ширина описаний, px");
inline const QString kIndexingTitle = FromUtf8(report_text::kIndexing);
inline const QString kWithin = QStringLiteral("в пределах");
inline const QString kPast = QStringLiteral("обрезается");
// %1 the limit in pixels.
inline const QString kLimit = QStringLiteral("предел %1 px");
inline const QString kIndexed = QStringLiteral("индексируются");
inline const QString kClosed = QStringLiteral("закрыты");
// %1 a name, %2 pages.
inline const QString kBarLabel = QStringLiteral("%1 (%2)");

}  // namespace veskaron::msg::overview
