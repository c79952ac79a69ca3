#include "messages/refusal_text.h"

namespace veskaron {

std::string RefusalText(const RefusalReason& why) {
    switch (why.code) {
        case Refusal::None: return {};
        case Refusal::NegativeRefresh:
            return "Неверно введено время перезагрузки страницы - тег \"Refresh\".\r\n"
                   "Установите значение больше или равное нулю.";
        case Refusal::EmptyContentType: return "Укажите тип данных в поле тега Content-Type!";
        case Refusal::NoHead: return "В странице нет тега <head>: META-теги некуда вставить.";
        case Refusal::NoHeadEnd: return "В странице нет тега </head>: META-теги некуда вставить.";
        case Refusal::UnclosedTitle:
            return "В странице нет закрывающего тега </title>: исправьте заголовок в редакторе.";
        case Refusal::UnclosedTag:
            return "В разделе <head> страницы не закрыт тег: исправьте его в редакторе.";
        case Refusal::UnreadableEdit:
            return "Правку нельзя записать: страница после неё читалась бы иначе, чем задумано. "
                   "Исправьте раздел <head> в редакторе.";
        case Refusal::UnwritableCharset:
            return "Страницу нельзя сохранить в кодировке \"" + why.charset +
                   "\": программа не умеет записывать текст в этой кодировке. Выберите другую кодировку.";
    }
    return {};
}

}  // namespace veskaron
