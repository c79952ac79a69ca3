#pragma once
// Every text the program shows a person, in Russian, as the windows show it.
// The engine, the generator and the settings return codes and values; the
// windows turn them into these texts.
#include <string>
#include <string_view>
#include <QString>
#include <QStringList>

#include "messages/refusal_text.h"

namespace veskaron::msg {

inline const QString kCaptionError = QStringLiteral("Ошибка");
inline const QString kCaptionAttention = QStringLiteral("Внимание");

// ---- The about box and the field editor ----
namespace about {
inline const QString kTitle = QStringLiteral("О программе");
inline const QString kComment = QStringLiteral("Редактор заголовка и META-тегов HTML-страниц");
inline const QString kVersion = QStringLiteral("Версия - ");
inline const QString kSiteTip = QStringLiteral("Двойной щелчок открывает страницу");
inline const QString kMailTip = QStringLiteral("Двойной щелчок открывает почтовую программу");
inline const QString kSite = QStringLiteral("Сайт:");
inline const QString kMail = QStringLiteral("Почта:");
}  // namespace about
inline const QString kFieldEditorTitle = QStringLiteral("Редактор поля");
inline const QString kCancelButton = QStringLiteral("Отмена");
// A file's size in the file dialogs.
inline const QString kFileBytes = QStringLiteral("%1 байт");
inline const QString kFileKilobytes = QStringLiteral("%1 КБ");
inline const QString kFileMegabytes = QStringLiteral("%1 МБ");
inline const QString kFileGigabytes = QStringLiteral("%1 ГБ");

// ---- The open document: load, save, preview, the META block ----

// Why the engine wrote nothing (the texts veskaron-meta prints too).
inline QString RefusalText(const RefusalReason& why) { return QString::fromStdString(veskaron::RefusalText(why)); }

inline const QString kSaveQuestion =
    QStringLiteral("Содержимое файла было изменено.\r\nСохранить изменения?");
inline const QString kReferencesWritten =
    QStringLiteral("Знаков, которых нет в кодировке страницы (%1), записано как числовые "
                   "ссылки вида &#N;: %2.");
// "<file>:\n<why>": a load that stopped at a field.
inline const QString kLoadStopped = QStringLiteral("%1:\n%2");
// The status line after a stopped load: the fields that keep their earlier values.
inline const QString kUnreadFields = QStringLiteral("Не прочитаны со страницы: %1");
// Beside the robots box: what Google's robot does with the page.
inline const QString kIndexable = QStringLiteral("Индексируется");
inline const QString kNotIndexable = QStringLiteral("Не индексируется: %1");
// A fixed list's extra entry with the page's own words.
inline const QString kOwnWordsItem = QStringLiteral("%1 (со страницы)");
inline const QString kOwnWordsTip =
    QStringLiteral("В списке нет такого пункта: страница пишет так, и при сохранении эти слова остаются, "
                   "пока не выбран другой пункт");
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

// The МЕТА-NAME page.
inline const QString kCharacterCount = QStringLiteral("%1 симв.");
inline const QString kNoCharacters = QStringLiteral("0 симв.");
inline const QString kTitleHint = QStringLiteral("Заголовок|Заголовок страницы (тег TITLE)");
inline const QString kAuthorHint = QStringLiteral("Автор|Автор документа; Enter добавляет текст в список");
inline const QString kCopyrightHint = QStringLiteral("Авторские права|Владелец авторских прав; Enter добавляет текст в список");
inline const QString kDescriptionHint = QStringLiteral("Описание|Краткое описание страницы для поисковых систем");
inline const QString kKeywordsHint = QStringLiteral("Ключевые слова|Ключевые слова страницы через запятую");
inline const QString kRobotsHint = QStringLiteral("Роботы|Инструкции поисковым роботам");
inline const QString kRevisitCountHint = QStringLiteral("Через сколько|Через сколько единиц времени снова индексировать страницу");
inline const QString kRevisitUnitHint = QStringLiteral("Единица|Единица времени следующей индексации");
inline const QString kGeneratorFieldHint = QStringLiteral("Генератор|Программа, которой создан документ");
inline const QString kProgIdHint = QStringLiteral("ProgId|Идентификатор программы, создавшей документ");
inline const QString kDistributionHint = QStringLiteral("Видимость|Область распространения документа");
inline const QString kUrlHint = QStringLiteral("Адрес|Адрес документа в сети");
inline const QString kUserGroup = QStringLiteral("Пользовательские");
inline const QString kTitleLabel = QStringLiteral("Заголовок :");
inline const QString kAuthorLabel = QStringLiteral("Автор :");
inline const QString kCopyrightLabel = QStringLiteral("Авторские права :");
inline const QString kDescriptionLabel = QStringLiteral("Описание :");
inline const QString kKeywordsLabel = QStringLiteral("Ключевые слова :");
inline const QString kRobotsLabel = QStringLiteral("Роботы :");
inline const QString kRevisitLabel = QStringLiteral("Индексировать через :");
inline const QString kGeneratorLabel = QStringLiteral("Генератор :");
inline const QString kDistributionLabel = QStringLiteral("Видимость :");
inline const QString kUrlLabel = QStringLiteral("Адрес документа :");

// The META-HTTP page.
inline const QString kExpiresBox = QStringLiteral("Устаревает");
inline const QString kExpiresHint = QStringLiteral("Expiries|Дата и время, после которых страница считается устаревшей");
inline const QString kExpiryDateHint = QStringLiteral("Дата|Дата устаревания страницы");
inline const QString kExpiryTimeHint = QStringLiteral("Время|Время устаревания страницы");
inline const QString kExpiryDateLabel = QStringLiteral("Дата");
inline const QString kExpiryTimeLabel = QStringLiteral("Время");
inline const QString kExpiryTextHint = QStringLiteral("Текст даты|Так дата будет записана в тег Expiries");
inline const QString kRefreshBox = QStringLiteral("Перезагрузить через");
inline const QString kRefreshHint = QStringLiteral("Refresh|Перезагрузка документа или переход на другую страницу");
inline const QString kRefreshSecondsHint = QStringLiteral("Секунды|Через сколько секунд перезагрузить страницу");
inline const QString kRefreshSecondsLabel = QStringLiteral("сек. После чего открыть страницу : ");
inline const QString kRefreshUrlHint = QStringLiteral("Адрес страницы|Адрес страницы, которая откроется после перезагрузки");
inline const QString kLocationHint = QStringLiteral("Location|Местоположение документа");
inline const QString kExpiryGroup = QStringLiteral("Время устаревания страницы : ");
inline const QString kLocationLabel = QStringLiteral("Местоположение :");
inline const QString kContentTypeHint = QStringLiteral("Content-Type|Тип данных и кодировка документа");
inline const QString kTypeHint = QStringLiteral("Тип данных|Тип данных документа");
inline const QString kCharsetHint = QStringLiteral("Кодировка|Кодировка документа");
inline const QString kLanguageHint = QStringLiteral("Язык|Язык содержимого документа");
inline const QString kTypeLabel = QStringLiteral("Тип данных");
inline const QString kCharsetLabel = QStringLiteral("Кодировка");
inline const QString kLanguageGroup = QStringLiteral("Языковая поодержка : ");
inline const QString kLanguageLabel = QStringLiteral("Язык");
inline const QString kCacheControlHint = QStringLiteral("Cache-Control|Управление кешированием страницы");
inline const QString kPragmaHint = QStringLiteral("Pragma|Запрет кеширования страницы");
inline const QString kCacheGroup = QStringLiteral("Кеширование");
inline const QString kCacheControlLabel = QStringLiteral("Управление");
inline const QString kPragmaLabel = QStringLiteral("Запрет");
inline const QString kPageEnterBox = QStringLiteral("Открытие");
inline const QString kPageExitBox = QStringLiteral("Закрытие");
inline const QString kSiteEnterBox = QStringLiteral("Заход");
inline const QString kSiteExitBox = QStringLiteral("Выход");
inline const QString kPageEnterHint = QStringLiteral("Page-Enter|Эффект при открытии страницы");
inline const QString kPageExitHint = QStringLiteral("Page-Exit|Эффект при закрытии страницы");
inline const QString kSiteEnterHint = QStringLiteral("Site-Enter|Эффект при заходе на сайт");
inline const QString kSiteExitHint = QStringLiteral("Site-Exit|Эффект при уходе с сайта");
inline const QString kEffectsGroup = QStringLiteral("Эффекты");
inline const QString kPageEffectsGroup = QStringLiteral("Страница");
inline const QString kSiteEffectsGroup = QStringLiteral("Сайт");
inline const QString kDurationHint = QStringLiteral("Длительность|Длительность эффекта в секундах");
inline const QString kEffectHint = QStringLiteral("Эффект|Вид эффекта перехода");

// The file pane.
inline const QString kFolderHistoryHint = QStringLiteral("Папки|Папки, в которых открывались страницы; правая кнопка - редактировать список");
inline const QString kEditFolderHistory = QStringLiteral("Редактировать");
inline const QString kDriveHint = QStringLiteral("Выбор диска|Выбор диска");
inline const QString kFolderHint = QStringLiteral("Выбор папки|Выбор папки");
inline const QString kFilesHint = QStringLiteral("Файлы|Выберите страницу, чтобы загрузить её; двойной щелчок по папке открывает её");
inline const QString kFileGroup = QStringLiteral("О файле");
inline const QString kFileGroupHint = QStringLiteral("О файле|Размер страницы и время её загрузки при выбранной скорости модема");
inline const QString kSizeLabel = QStringLiteral("Размер :");
inline const QString kLoadedLabel = QStringLiteral("Исх. - ");
inline const QString kCurrentLabel = QStringLiteral("Тек. - ");
inline const QString kDownloadTimeLabel = QStringLiteral("Время загрузки :");

// ---- Settings ----

// A stored value that no control can show; %1 the store file, %2 the value's
// name, %3 the stored number.
inline const QString kSettingOutOfRange = QStringLiteral(
    "файл настроек %1: значение \"%2\" = %3 вне допустимых границ; взято значение по умолчанию");

// ---- The settings dialog ----

namespace setup {
inline const QString kTitle = QStringLiteral("Установки");
inline const QString kGeneralTab = QStringLiteral("Общие");
inline const QString kMetaTab = QStringLiteral("Сохранение МЕТА");
inline const QString kGeneratorTab = QStringLiteral("Генератор");
inline const QString kCancel = QStringLiteral("Отмена");
inline const QString kFileIcons = QStringLiteral("Показывать пиктограммы файлов");
inline const QString kMaskCaption = QStringLiteral("Строка задания расширений редактируемых файлов: (*.htm; *.html)");
inline const QString kMaskHint = QStringLiteral("Разделитель - точка с запятой");
inline const QString kBackups = QStringLiteral("Создавать резервные копии (*.bak)");
inline const QString kTabsPlain = QStringLiteral("Обычный");
inline const QString kTabsButtons = QStringLiteral("Кнопки");
inline const QString kTabsSunken = QStringLiteral("Утопленные кнопки");
inline const QString kBitsPerSecond = QStringLiteral("бит/с");
inline const QString kDesktopShortcut = QStringLiteral("на \"Рабочий стол\"");
inline const QString kStartMenuShortcut = QStringLiteral("в меню \"Пуск\"");
inline const QString kProgramsShortcut = QStringLiteral("в меню \"Программы\"");
inline const QString kFlatStyle = QStringLiteral("Стиль XP");
inline const QString kFileListGroup = QStringLiteral("Список файлов");
inline const QString kFilesGroup = QStringLiteral("Файлы : ");
inline const QString kTabsGroup = QStringLiteral("Вид вкладок");
inline const QString kModemGroup = QStringLiteral("Скорость модема");
inline const QString kIconsGroup = QStringLiteral("Вывести иконки программы:");
inline const QString kLookGroup = QStringLiteral("Оформление");
inline const QString kPlacementGroup = QStringLiteral("Вставка новых МЕТА тегов: ");
inline const QString kPlacementStart = QStringLiteral("Впереди заголовка (Рекомендуется)");
inline const QString kPlacementEnd = QStringLiteral("Сзади заголовка");
inline const QString kAttributeOrderGroup = QStringLiteral("Размещение content в строке ");
inline const QString kLineModeGroup = QStringLiteral("Всталять МЕТА в документ : ");
inline const QString kTagPerLine = QStringLiteral("Построчно");
inline const QString kOneLine = QStringLiteral("В одну строку");
inline const QString kOrderGroup = QStringLiteral("Порядок вывода строк:");
inline const QString kMoveUp = QStringLiteral("Переместить вверх");
inline const QString kMoveDown = QStringLiteral("Переместить вниз");
inline const QString kMinWord = QStringLiteral("Минимальная длина слова");
inline const QString kNoDigits = QStringLiteral("исключать цифры из поиска");
inline const QString kMandatoryWords = QStringLiteral("Вносить в \"keywords\" слова из списка обязательных.");
inline const QString kConfirmDeletion = QStringLiteral("Вывод предупреждения об удалении слов.");
inline const QString kDescriptionWords = QStringLiteral("Включать описание страницы (тег - Description)");
inline const QString kAltWords = QStringLiteral("Включать Alt в список слов");
}  // namespace setup

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

// The search and social tab, and the widths beside the title and description.
inline const QString kSocialTab = QStringLiteral("Поиск и соцсети");
inline const QString kSerpGroup = QStringLiteral("Сниппет в поиске");
inline const QString kSerpDesktop = QStringLiteral("Компьютер");
inline const QString kSerpMobile = QStringLiteral("Телефон");
inline const QString kSerpDesktopHint =
    QStringLiteral("Результат поиска на компьютере|Заголовок 20 px в строке 600 px, описание 14 px в 920 px");
inline const QString kSerpMobileHint =
    QStringLiteral("Результат поиска на телефоне|Заголовок 16 px в двух строках по 400 px, описание 14 px в 680 px");
inline const QString kWidthPx = QStringLiteral("%1 из %2 px");
inline const QString kWidthHint =
    QStringLiteral("Ширина в результате поиска на компьютере|Ширина текста в пикселях и ширина строки результата поиска; "
                   "красным - текст будет обрезан");

inline const QString kAddressesGroup = QStringLiteral("Адреса");
inline const QString kCanonicalLabel = QStringLiteral("Канонический адрес :");
inline const QString kCanonicalHint = QStringLiteral("Канонический адрес страницы|<link rel=\"canonical\">");
inline const QString kViewportLabel = QStringLiteral("Viewport :");
inline const QString kViewportHint = QStringLiteral("Область просмотра на телефоне|<meta name=\"viewport\">");
inline const QString kHtmlLangLabel = QStringLiteral("Язык (html lang) :");
inline const QString kNoHtmlLang = QStringLiteral("не указан");
inline const QString kOgGroup = QStringLiteral("Open Graph");
inline const QString kTwitterGroup = QStringLiteral("Twitter");
inline const QString kFromTitle = QStringLiteral("Из заголовка");
inline const QString kFromTitleHint =
    QStringLiteral("Взять заголовок и описание страницы|Заполнить заголовок и описание из полей МЕТА-NAME");
inline const QString kOgTitleLabel = QStringLiteral("Заголовок :");
inline const QString kOgDescriptionLabel = QStringLiteral("Описание :");
inline const QString kOgTypeLabel = QStringLiteral("Тип :");
inline const QString kOgUrlLabel = QStringLiteral("Адрес :");
inline const QString kOgImageLabel = QStringLiteral("Картинка :");
inline const QString kOgSiteNameLabel = QStringLiteral("Название сайта :");
inline const QString kOgLocaleLabel = QStringLiteral("Язык :");
inline const QString kTwitterCardLabel = QStringLiteral("Карточка :");
inline const QString kTwitterSiteLabel = QStringLiteral("Аккаунт :");
inline const QString kHeadListsGroup = QStringLiteral("Языковые версии и структурированные данные");
inline const QString kNoHeadLists = QStringLiteral("(нет)");
inline QString HreflangItem(const QString& lang, const QString& href) {
    return QStringLiteral("hreflang %1 - %2").arg(lang, href);
}
inline QString JsonLdItem(const QString& type, bool valid, const QString& error) {
    return valid ? QStringLiteral("JSON-LD %1 - без ошибок").arg(type)
                 : QStringLiteral("JSON-LD - ошибка: %1").arg(error);
}
inline const QString kLinkCardGroup = QStringLiteral("Карточка ссылки");
inline const QString kNoImage = QStringLiteral("(нет картинки)");

// ---- The site window ----

namespace site {
inline const QString kButton = QStringLiteral("Сайт");
inline const QString kHint = QStringLiteral("Сайт|Все страницы папки: проверка и правка");
inline const QString kTitle = QStringLiteral("Сайт");
// Column captions, in the table's order.
inline const QStringList kColumns = {
    QStringLiteral("Страница"),         QStringLiteral("Заголовок"), QStringLiteral("Заголовок,\npx"),
    QStringLiteral("Описание"),         QStringLiteral("Описание,\npx"), QStringLiteral("Ключевые\nслова"),
    QStringLiteral("Канонический\nадрес"), QStringLiteral("Кодировка"), QStringLiteral("Индексация"),
    QStringLiteral("Входящие\nссылки"), QStringLiteral("Глубина"), QStringLiteral("Замечаний"), QStringLiteral("Уровень")};
// The panel of the selected page's links.
inline const QString kLinksOut = QStringLiteral("Ссылки со страницы");
inline const QString kLinksIn = QStringLiteral("Ссылки на страницу");
inline const QStringList kLinksOutColumns = {QStringLiteral("Строка"), QStringLiteral("Адрес"), QStringLiteral("Вид"),
                                             QStringLiteral("Состояние")};
inline const QStringList kLinksInColumns = {QStringLiteral("Страница"), QStringLiteral("Строка"), QStringLiteral("Вид")};
inline const QString kLinksHint =
    QStringLiteral("Ссылки страницы|Ссылки выбранной страницы и страницы, которые ссылаются на неё; двойной щелчок открывает страницу");
inline const QString kLinksMore = QStringLiteral("… и ещё %1");
// A link's state in the panel.
inline QString LinkStatusText(std::string_view status) {
    if (status == "ok") return QStringLiteral("в порядке");
    if (status == "broken") return QStringLiteral("нет файла");
    if (status == "anchor-missing") return QStringLiteral("нет якоря");
    if (status == "noindex") return QStringLiteral("закрыта от индексации");
    if (status == "external") return QStringLiteral("другой сайт");
    return QStringLiteral("не проверяется");
}
// The indexing column: "да", or "нет" and why.
inline QString IndexingText(bool indexable, const std::string& reason) {
    if (indexable) return QStringLiteral("да");
    if (reason == "disallowed") return QStringLiteral("нет: robots.txt");
    if (reason == "noindex") return QStringLiteral("нет: noindex");
    if (reason == "canonical-elsewhere") return QStringLiteral("нет: канон. адрес");
    if (reason == "redirect") return QStringLiteral("нет: перенаправление");
    return QStringLiteral("нет");
}
inline const QString kIndexableItem = QStringLiteral("Индексируются (%1)");
inline const QString kNotIndexableItem = QStringLiteral("Не индексируются (%1)");
inline const QString kSitemapButton = QStringLiteral("Sitemap…");
inline const QString kSitemapHint =
    QStringLiteral("Карта сайта|Записать sitemap.xml со страницами, которые робот может индексировать");
inline const QString kSitemapTitle = QStringLiteral("Карта сайта (sitemap.xml)");
inline const QString kSitemapUrlLabel = QStringLiteral("Адрес сайта:");
inline const QString kSitemapUrlHint = QStringLiteral("Адрес сайта|Адрес корня сайта, например https://example.com");
inline const QString kSitemapCount = QStringLiteral("В карту войдут страниц: %1. Не войдут: %2.");
inline const QString kSitemapNeedsUrl = QStringLiteral("Укажите адрес сайта, начиная с https:// или http://.");
inline const QString kSitemapLeftOutLabel = QStringLiteral("Не войдут в карту:");
inline const QString kSitemapLeftOutHint = QStringLiteral("Не войдут|Страницы, которые робот не индексирует, и почему");
inline const QString kSitemapWrite = QStringLiteral("Записать");
inline const QString kSitemapCancel = QStringLiteral("Отмена");
inline const QString kSitemapWritten = QStringLiteral("Карта сайта записана:\n%1");
inline const QString kRobotLabel = QStringLiteral("Робот:");
inline const QString kRobotGoogle = QStringLiteral("Google");
inline const QString kRobotYandex = QStringLiteral("Яндекс");
inline const QString kRobotHint = QStringLiteral("Робот|Для какого поискового робота решать, индексируется ли страница");
inline const QString kLevelError = QStringLiteral("ошибка");
inline const QString kLevelWarning = QStringLiteral("предупреждение");
inline const QString kLevelInfo = QStringLiteral("сведения");
// The tooltip of an edited cell: %1 the page's own value.
inline const QString kEditedWas = QStringLiteral("Правка. На странице: %1");
inline const QString kEmptyValue = QStringLiteral("(пусто)");
inline const QString kUnreadable = QStringLiteral("Страница не прочитана: %1");

inline const QString kFilterLabel = QStringLiteral("&Фильтр:");
inline const QString kFilterHint = QStringLiteral("Фильтр|Показать страницы, где этот текст есть в любом столбце");
inline const QString kFilterPlaceholder = QStringLiteral("текст в любом столбце");
inline const QString kCodeLabel = QStringLiteral("&Замечание:");
inline const QString kCodeHint = QStringLiteral("Замечание|Показать только страницы с этим замечанием");
inline const QString kAllPages = QStringLiteral("Все страницы");
inline const QString kAnyFinding = QStringLiteral("С любыми замечаниями");
// %1 the code, %2 how many pages have it.
inline const QString kCodeItem = QStringLiteral("%1 (%2)");
inline const QString kTableHint =
    QStringLiteral("Страницы папки|F2 или Enter - править ячейку; двойной щелчок - открыть страницу");
inline const QString kRescanButton = QStringLiteral("&Обновить");
inline const QString kRescanHint = QStringLiteral("Обновить|Прочитать страницы папки заново; правки остаются");
inline const QString kStopButton = QStringLiteral("Стоп");
inline const QString kStopHint = QStringLiteral("Стоп|Остановить чтение страниц");
inline const QString kExportButton = QStringLiteral("&Экспорт CSV");
inline const QString kExportHint = QStringLiteral("Экспорт CSV|Записать таблицу в файл CSV (UTF-8) для электронной таблицы");
inline const QString kImportButton = QStringLiteral("&Импорт CSV");
inline const QString kImportHint = QStringLiteral("Импорт CSV|Взять правки из файла CSV: они показываются и проверяются как набранные");
inline const QString kUndoButton = QStringLiteral("&Отменить правки");
inline const QString kUndoHint = QStringLiteral("Отменить правки|Забыть все правки, не записанные в страницы");
inline const QString kApplyButton = QStringLiteral("&Проверить и сохранить");
inline const QString kApplyHint =
    QStringLiteral("Проверить и сохранить|Показать изменения каждой страницы и записать отмеченные");
inline const QString kCloseButton = QStringLiteral("Закрыть");
inline const QString kCloseHint = QStringLiteral("Закрыть|Закрыть окно сайта");

// The status line.
inline const QString kReading = QStringLiteral("Чтение страниц: %1 из %2");
inline const QString kCollecting = QStringLiteral("Поиск страниц в папке...");
inline const QString kSummary = QStringLiteral("Страниц: %1, с замечаниями: %2, показано: %3, правок: %4");
inline const QString kStopped = QStringLiteral("Чтение остановлено: прочитано %1 из %2. ");
inline const QString kPlanning = QStringLiteral("Подготовка изменений: %1 из %2");
inline const QString kSaving = QStringLiteral("Запись страниц: %1 из %2");

inline const QString kCsvFilter = QStringLiteral("Файлы CSV (*.csv);;Все файлы (*)");
inline const QString kExportCaption = QStringLiteral("Экспорт CSV");
inline const QString kImportCaption = QStringLiteral("Импорт CSV");
inline const QString kExportFailed = QStringLiteral("Не удалось записать файл CSV:\n%1");
inline const QString kImportFailed = QStringLiteral("Файл CSV не прочитан:\n%1");
inline const QString kImportDone = QStringLiteral("Из файла CSV взято правок: %1 на страницах: %2.");
inline const QString kImportUnknownPaths = QStringLiteral("Этих страниц нет в таблице, их строки пропущены:\n%1");
inline const QString kImportOutsidePaths =
    QStringLiteral("Эти строки ведут за пределы папки сайта, они пропущены:\n%1");
inline const QString kImportUnreadable = QStringLiteral("Эти страницы не прочитаны, их строки пропущены:\n%1");
inline const QString kImportBusy = QStringLiteral("страницы читаются или записываются; повторите, когда они закончат.");
inline const QString kImportBadValues = QStringLiteral("Эти значения не подходят, они пропущены:\n%1");
inline const QString kMoreLines = QStringLiteral("... и ещё %1");

inline const QString kNoEdits = QStringLiteral("Правок нет: записывать нечего.");
inline const QString kNothingChanges = QStringLiteral("Правки не меняют ни одной страницы.");
inline const QString kCloseQuestion =
    QStringLiteral("В таблице есть правки, не записанные в страницы (%1).\r\nЗакрыть окно и забыть их?");
inline const QString kSaveReport = QStringLiteral("Записано страниц: %1.");
inline const QString kSaveFailures = QStringLiteral("Записано страниц: %1. Не записаны (%2):\n%3");
inline const QString kSaveWarnings = QStringLiteral("Предупреждения:\n%1");

// The review.
inline const QString kReviewTitle = QStringLiteral("Проверка изменений");
inline const QString kReviewPages = QStringLiteral("&Страницы, которые изменятся (%1):");
inline const QString kReviewPagesHint =
    QStringLiteral("Страницы|Снимите отметку со страницы, которую записывать не нужно");
inline const QString kReviewDiff = QStringLiteral("&Изменения страницы:");
inline const QString kReviewDiffHint = QStringLiteral("Изменения|Строки, которые уйдут (-), и строки, которые придут (+)");
inline const QString kReviewProblems = QStringLiteral("Не будут записаны (%1):");
inline const QString kReviewSave = QStringLiteral("&Сохранить");
inline const QString kReviewSaveHint = QStringLiteral("Сохранить|Записать отмеченные страницы");
inline const QString kReviewCancel = QStringLiteral("Отмена");
inline const QString kReviewCancelHint = QStringLiteral("Отмена|Ничего не записывать");
inline const QString kReviewReferences =
    QStringLiteral("Знаков, которых нет в кодировке страницы, будет записано как &#N;: %1");
inline const QString kOpenPageWritten =
    QStringLiteral("Страница %1 записана из окна «Сайт», а здесь она изменена и не сохранена.\r\n"
                   "Сохранение отсюда заменит то, что записано из окна «Сайт».");
// "<page>: <why>"
inline const QString kPageProblem = QStringLiteral("%1: %2");
}  // namespace site

}  // namespace veskaron::msg

// Questions and notices of the main and the site window.
namespace veskaron::msg {

inline const QString kNoBrowser =
    QStringLiteral("Не удалось открыть %1: в системе не найдена программа для просмотра страниц (браузер).");

// The site window's "Отменить правки" with edits in the table.
inline const QString kDropEditsQuestion =
    QStringLiteral("В таблице есть правки, не записанные в страницы (%1).\r\nЗабыть их?");

// "Программа запущена - 1 раз / 2 раза / 5 раз".
inline QString StartCountStatus(qint64 count) {
    const qint64 n = count < 0 ? -count : count;
    const bool few = n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14);
    return QStringLiteral("Программа запущена - %1 %2").arg(count).arg(few ? QStringLiteral("раза") : QStringLiteral("раз"));
}

}  // namespace veskaron::msg
