#include "platform/error_text.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace veskaron {
namespace {

struct Cause {
    int err;
    const char* russian;
};

constexpr Cause kCauses[] = {
    {EACCES, "доступ запрещён"},
    {EPERM, "операция не разрешена"},
    {ENOENT, "нет такого файла или папки"},
    {ENOTDIR, "часть пути не является папкой"},
    {EISDIR, "это папка, а не файл"},
    {EEXIST, "файл уже существует"},
    {ENOSPC, "на диске нет места"},
    {EROFS, "файловая система только для чтения"},
    {ENAMETOOLONG, "слишком длинное имя файла"},
    {ELOOP, "слишком много символических ссылок"},
    {EIO, "ошибка ввода-вывода"},
    {EDQUOT, "превышена дисковая квота"},
    {EMFILE, "открыто слишком много файлов"},
    {ENFILE, "открыто слишком много файлов"},
    {EBUSY, "файл занят"},
    {ETXTBSY, "файл занят"},
    {EINVAL, "недопустимый аргумент"},
    {ENOMEM, "недостаточно памяти"},
    {EFBIG, "файл слишком велик"},
    {EAGAIN, "ресурс временно недоступен"},
    {EWOULDBLOCK, "ресурс временно недоступен"},
    {EXDEV, "файл на другом диске"},
    {ENXIO, "нет такого устройства"},
    {ENODEV, "нет такого устройства"},
};

// The English beginnings of the engine's and the key store's file errors.
const std::pair<std::string_view, std::string_view> kWhats[] = {
    {"Cannot read folder ", "Не удалось прочитать папку "},
    {"Cannot read ", "Не удалось прочитать файл "},
    {"cannot create the folder ", "не удалось создать папку "},
    {"cannot create ", "не удалось создать файл "},
    {"cannot lock ", "не удалось заблокировать файл "},
    {"cannot write ", "не удалось записать файл "},
};

}  // namespace

std::string RussianCause(std::string_view cause) {
    for (const Cause& c : kCauses) {
        if (cause == std::strerror(c.err)) return c.russian;
    }
    return std::string(cause);
}

std::string RussianFileError(std::string_view message) {
    std::string text;
    for (const auto& [english, russian] : kWhats) {
        if (message.starts_with(english)) {
            text = russian;
            message.remove_prefix(english.size());
            break;
        }
    }
    // The cause stands after the last ": " (a path may hold one too).
    const std::size_t colon = message.rfind(": ");
    if (colon == std::string_view::npos) return text + std::string(message);
    return text + std::string(message.substr(0, colon + 2)) + RussianCause(message.substr(colon + 2));
}

}  // namespace veskaron
