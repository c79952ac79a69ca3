#include "messages/catalogue_texts.h"

#include "engine/catalogue.h"

namespace veskaron {
namespace {

constexpr std::array<std::string_view, kEntryCount> kCaptions = {
    "name - Title (Заголовок)",
    "name - Author (Автор)",
    "name - Copyright (Авторские права)",
    "name - Description (Описание)",
    "name - Keywords (Ключевые слова)",
    "name - Robots (Инструкции поисковикам)",
    "name - revisit-after (Следующая индексация)",
    "name - Generator (Генератор документа)",
    "name - ProgId",
    "name - Distribution (Видимость документа)",
    "name - Url (Адрес документа)",
    "http-equiv - Case-control (управление кешированием)",
    "http-equiv - Progma (Запрет кеширования)",
    "http-equiv - Refresh (Перезагрузка документа)",
    "http-equiv - Expiries (Дата устаревания документа)",
    "http-equiv - Content-type (тип и кодировка документа)",
    "http-equiv - Content-Language (языковая поддержка)",
    "http-equiv - Location (местоположение документа)",
    "http-equiv - Page-Enter (Эффект захода на страницу)",
    "http-equiv - Page-Exit (Эффект закрытия страницы)",
    "http-equiv - Site-Enter (Эффект захода на сайт)",
    "http-equiv - Site-Exit (Эффект ухода с сайта)",
};

}  // namespace

std::string_view EntryCaption(int index) { return kCaptions.at(static_cast<std::size_t>(index)); }

const std::array<std::string_view, 5> ListTexts::Robots = {
    "", "Игнорировать страницу", "Индексировать и следовать по ссылкам",
    "Индексировать, не следовать по ссылкам", "Не индексировать, следовать по ссылкам"};
const std::array<std::string_view, 4> ListTexts::Unit = {"", "дней", "недель", "месяц"};
const std::array<std::string_view, 5> ListTexts::Cache = {
    "", "кешировать во всех кешах", "кешировать в частном кеше",
    "кешировать, но не сохранять", "не кешировать"};
const std::array<std::string_view, 2> ListTexts::Pragma = {"", "не кешировать"};
const std::array<std::string_view, 24> ListTexts::Effect = {
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
