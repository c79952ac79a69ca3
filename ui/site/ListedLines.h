#pragma once
// A long list in a report of the site window: its first lines, then how many
// more there are.
#include <QStringList>

#include "messages/window_texts.h"

namespace veskaron::ui {

inline constexpr int kListedLines = 20;

// At most kListedLines lines, then how many more.
inline QString Listed(const QStringList& lines) {
    QStringList shown = lines.mid(0, kListedLines);
    if (lines.size() > kListedLines) shown << msg::site::kMoreLines.arg(lines.size() - kListedLines);
    return shown.join(QLatin1Char('\n'));
}

}  // namespace veskaron::ui
