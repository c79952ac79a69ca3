#pragma once
// The engine's and the pages' UTF-8 texts as Qt strings, and the user's
// decimal mark: one way for every window.
#include <QLocale>
#include <QString>
#include <string_view>

namespace veskaron {

inline QString FromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The user's own separator, as the pages were written with it: not the
// program's Russian default.
inline char LocaleDecimalSeparator() { return QLocale::system().decimalPoint() == QStringLiteral(",") ? ',' : '.'; }

}  // namespace veskaron
