#pragma once
// Every text the program shows a person, in Russian, as the windows show it.
// The engine, the generator and the settings return codes and values; the
// windows turn them into these texts.
#include <QString>

namespace veskaron::msg {

inline const QString kCaptionError = QStringLiteral("Ошибка");
inline const QString kCaptionAttention = QStringLiteral("Внимание");

// ---- The open document: load, save, preview, the META block ----

inline const QString kSaveQuestion =
    QStringLiteral("Содержимое файла было изменено.\r\nСохранить изменения?");
inline const QString kReferencesWritten =
    QStringLiteral("Знаков, которых нет в кодировке страницы (%1), записано как числовые "
                   "ссылки вида &#N;: %2.");
// "<file>:\n<why>": a load that stopped at a field.
inline const QString kLoadStopped = QStringLiteral("%1:\n%2");
inline const QString kModifiedStatus = QStringLiteral("Файл - изменён");
inline const QString kNoFileStatus = QStringLiteral("Файл - не выбран");
inline const QString kStartCountStatus = QStringLiteral("Программа запущена - %1 раз");
inline const QString kSizeBytes = QStringLiteral("%1 байт");
inline const QString kNoBytes = QStringLiteral("0 байт");
inline const QString kNoSeconds = QStringLiteral("0 сек");

// The main window.
inline const QString kMainTitle = QStringLiteral("VARNOK-Soft :: VESKARON");
inline const QString kNameTab = QStringLiteral("МЕТА-NAME");
inline const QString kHttpTab = QStringLiteral("META-HTTP");
inline const QString kEditorTab = QStringLiteral("Редактор");
inline const QString kExitButton = QStringLiteral("Выход");
inline const QString kExitHint = QStringLiteral("Выход|Завершить работу программы");
inline const QString kAboutButton = QStringLiteral("O...");
inline const QString kAboutHint = QStringLiteral("О программе|Сведения о программе");
inline const QString kHelpButton = QStringLiteral("Справка");
inline const QString kHelpHint = QStringLiteral("Справка|Открыть справку; F1 - справка по выбранному полю");
inline const QString kSetupButton = QStringLiteral("Установки");
inline const QString kSetupHint = QStringLiteral("Установки|Настройки программы");
inline const QString kGeneratorButton = QStringLiteral("Генератор");
inline const QString kGeneratorHint = QStringLiteral("Генератор|Генератор ключевых слов страницы");
inline const QString kPreviewButton = QStringLiteral("Просмотр");
inline const QString kPreviewHint = QStringLiteral("Просмотр|Показать страницу с новыми тегами в браузере");
inline const QString kSaveButton = QStringLiteral("Сохранить");
inline const QString kSaveHint = QStringLiteral("Сохранить|Записать теги в страницу");

// The source editor tab.
inline const QString kInsertBlockButton = QStringLiteral("Вставить Новые");
inline const QString kInsertBlockHint =
    QStringLiteral("Вставить Новые|Записать в текст страницы новые META-теги из полей");
inline const QString kCutButton = QStringLiteral("Выр.");
inline const QString kCutHint = QStringLiteral("Вырезать в Clipboard");
inline const QString kCopyButton = QStringLiteral("Коп.");
inline const QString kCopyHint = QStringLiteral("Скопировать в Clipboard");
inline const QString kPasteButton = QStringLiteral("Вст.");
inline const QString kPasteHint = QStringLiteral("Вставить из Clipboard");
inline const QString kUndoButton = QStringLiteral("Отм.");
inline const QString kUndoHint = QStringLiteral("Отмена изменений");
inline const QString kWordWrap = QStringLiteral("Перенос слов");
inline const QString kWordWrapHint = QStringLiteral("Перенос слов документов .");
inline const QString kSnippetInserted = QStringLiteral("Вставка в позицию курсора - ");

// ---- Settings ----

// ---- The keyword generator ----

}  // namespace veskaron::msg
