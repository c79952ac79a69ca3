#pragma once
// The texts of the journal of saves in the site window ("Журнал…").
#include <QString>
#include <QStringList>

namespace veskaron::msg::journal {

inline const QString kButton = QStringLiteral("&Журнал…");
inline const QString kHint =
    QStringLiteral("Журнал сохранений|Пакеты записанных страниц: что изменено, и отмена пакета");
inline const QString kTitle = QStringLiteral("Журнал сохранений");
inline const QStringList kColumns = {QStringLiteral("№"), QStringLiteral("Время"), QStringLiteral("Страниц"),
                                     QStringLiteral("Что запросило")};
inline const QString kPagesLabel = QStringLiteral("Страницы пакета:");
inline const QString kDiffLabel = QStringLiteral("Изменения страницы (было → стало):");
inline const QString kUndoButton = QStringLiteral("&Отменить пакет");
inline const QString kUndoHint =
    QStringLiteral("Вернуть всем страницам пакета прежнее содержимое; страницы, изменённые после пакета, не трогаются");
inline const QString kCloseButton = QStringLiteral("Закрыть");
inline const QString kEmpty = QStringLiteral("Журнал пуст: ни одного сохранения ещё не было.");
inline const QString kLoading = QStringLiteral("Чтение журнала…");
// %1 written, %2 recorded.
inline const QString kStopped = QStringLiteral("Пакет прерван: записано %1 из %2 страниц.");
inline const QString kComplete = QStringLiteral("Пакет завершён: записано %1 из %2 страниц.");
inline const QString kProblems = QStringLiteral("Повреждённые записи пропущены:\n%1");
inline const QString kNotWritten = QStringLiteral("(страница не записана)");
// %1 restored, %2 unchanged.
inline const QString kUndone = QStringLiteral("Пакет отменён: восстановлено страниц — %1, уже были прежними — %2.");
inline const QString kUndoSkipped = QStringLiteral("Не тронуты (изменены после пакета):\n%1");
inline const QString kUndoFailed = QStringLiteral("Не записаны:\n%1");
inline const QString kUndoRefused = QStringLiteral("Пакет не отменён, ни одна страница не записана: %1");

}  // namespace veskaron::msg::journal
