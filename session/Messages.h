#pragma once
// Every text the program shows a person, in Russian, as the windows show it.
// The engine, the generator and the settings return codes and values; the
// windows turn them into these texts.
#include <QString>
#include <QStringList>

namespace veskaron::msg {

inline const QString kCaptionError = QStringLiteral("Ошибка");
inline const QString kCaptionAttention = QStringLiteral("Внимание");

// ---- The open document: load, save, preview, the META block ----

// ---- Settings ----

// A stored value that no control can show; %1 the store file, %2 the value's
// name, %3 the stored number.
inline const QString kSettingOutOfRange = QStringLiteral(
    "файл настроек %1: значение \"%2\" = %3 вне допустимых границ; взято значение по умолчанию");

// ---- The keyword generator ----

namespace keywords {

inline const QString kWindowTitle = QStringLiteral("ВАРНОК-Soft ::: Генератор слов страницы");

// Group captions, tabs and choices.
inline const QString kInsertGroup = QStringLiteral("Обязательные к заполнению:");
inline const QString kDeleteGroup = QStringLiteral("Обязательные к удалению:");
inline const QString kFormedGroup = QStringLiteral("Сформированные слова:");
inline const QString kKeywordGroup = QStringLiteral("Keywords : ");
inline const QString kSavingGroup = QStringLiteral("Сохранение в \"Keywords\" : ");
inline const QString kOutputTab = QStringLiteral("Вывод слов");
inline const QString kStatisticsTab = QStringLiteral("Статистика");
inline const QString kSortCaption = QStringLiteral("Сортировка : ");
inline const QStringList kSortItems = {QStringLiteral("Без сортировки"),
                                       QStringLiteral("по возрастанию"),
                                       QStringLiteral("по убыванию")};
inline const QString kAllWords = QStringLiteral("Все");
inline const QString kRepeatedWords = QStringLiteral("повторяющиеся ");
inline const QString kMoreThan = QStringLiteral("более");
inline const QString kTimes = QStringLiteral("раз");
// The statistics captions, in the order of their numbers.
inline const QStringList kStatistics = {
    QStringLiteral("Всего слов"),         QStringLiteral("Выбранных"),
    QStringLiteral("С повтором > 3 раз"), QStringLiteral("С повтором = 3 раз"),
    QStringLiteral("С повтором  2 раза"), QStringLiteral("                      1 раз")};
inline const QString kSeparatorCaption = QStringLiteral("Разделитель : ");
inline const QStringList kSeparatorItems = {QStringLiteral("Запятая"), QStringLiteral("Пробел"),
                                            QStringLiteral("Запятая и пробел")};
inline const QString kSortAlphabetically = QStringLiteral("Сортировать по алфавиту");
inline const QString kStart = QStringLiteral("Запуск");
inline const QString kStop = QStringLiteral("Стоп");
inline const QString kSave = QStringLiteral("Сохранить");
inline const QString kCancel = QStringLiteral("Отмена");

// Hints of the list buttons and numbers.
inline const QString kAdd = QStringLiteral("Добавить");
inline const QString kDelete = QStringLiteral("Удалить");
inline const QString kEdit = QStringLiteral("Изменить");
inline const QString kOpen = QStringLiteral("Открыть");
inline const QString kUp = QStringLiteral("Вверх");
inline const QString kDown = QStringLiteral("Вниз");
inline const QString kTotalWords = QStringLiteral("Всего слов");
inline const QString kCharacters = QStringLiteral("Символов с учетом разделителей");
inline const QString kTransferWord = QStringLiteral("Перенос слова в \"Keywords\".");
inline const QString kTransferWords = QStringLiteral("Перенос всех слов в \"Keywords\".");
inline const QString kSelectAll = QStringLiteral("Выделить все");
inline const QString kStopHint = QStringLiteral("Прервать подсчёт слов");

// The questions and messages of the list operations.
inline const QString kTitleInput = QStringLiteral("Ввод");
inline const QString kTitleChange = QStringLiteral("Изменение");
inline const QString kPromptMandatoryWord = QStringLiteral("Введите обязательное слово");
inline const QString kPromptKeyword = QStringLiteral("Введите ключевое слово");
inline const QString kPromptChange = QStringLiteral("Введите изменение слова");
inline const QString kDuplicateWordQuestion =
    QStringLiteral("Введенное слово уже есть в списке. Повторить ввод?");
inline const QString kSameWordMessage = QStringLiteral("Анналогичное слово уже есть в списке!");
inline QString DeleteWordQuestion(const QString& word) {
    return QStringLiteral("Удалить \"%1\"?").arg(word);
}
// "слова" after 2, 3 and 4, "слов" after any other number.
inline QString DeleteWordsQuestion(qsizetype count) {
    return QStringLiteral("Удалить %1 %2")
        .arg(count)
        .arg(count >= 2 && count <= 4 ? QStringLiteral(" слова?") : QStringLiteral(" слов?"));
}

// The list files.
inline const QString kInsertFileFilter = QStringLiteral("Файл вставляемых слов *.fkh (*.fkh)");
inline const QString kDeleteFileFilter = QStringLiteral("Файл удаляемых слов *.fkw (*.fkw)");
inline QString ListNotRead(const QString& file, const QString& cause) {
    return QStringLiteral("Не удалось прочитать список слов из файла \"%1\".\n%2").arg(file, cause);
}
inline QString ListNotWritten(const QString& file, const QString& cause) {
    return QStringLiteral("Не удалось записать список слов в файл \"%1\".\n%2").arg(file, cause);
}

inline QString CountBroken(const QString& cause) {
    return QStringLiteral("Подсчёт слов прерван: %1").arg(cause);
}

}  // namespace keywords

}  // namespace veskaron::msg
