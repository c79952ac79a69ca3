#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "engine/file_io.h"
#include "platform/error_text.h"

namespace veskaron {
namespace {

// The windows speak Russian; the texts users know as they are stay.
TEST(ErrorText, FileErrorsInRussian) {
    const struct {
        std::string english, russian;
    } cases[] = {
        {DescribeErrno("Cannot read", "/a/page.htm/bad.fkw", ENOTDIR),
         "Не удалось прочитать файл /a/page.htm/bad.fkw: часть пути не является папкой"},
        {"Cannot create file /a: b.htm: " + std::string(std::strerror(EACCES)),
         "Cannot create file /a: b.htm: доступ запрещён"},
        {"Cannot create file /a.htm: " + std::string(std::strerror(ENOSPC)), "Cannot create file /a.htm: на диске нет места"},
        {"Cannot read /x: no such cause", "Не удалось прочитать файл /x: no such cause"},
        {"something else", "something else"},
    };
    for (const auto& c : cases) EXPECT_EQ(RussianFileError(c.english), c.russian);
}

}  // namespace
}  // namespace veskaron
