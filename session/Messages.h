#pragma once
// Every text the program shows a person, in Russian, as the windows show it.
// The engine, the generator and the settings return codes and values; the
// windows turn them into these texts.
#include <QString>

namespace veskaron::msg {

inline const QString kCaptionError = QStringLiteral("Ошибка");
inline const QString kCaptionAttention = QStringLiteral("Внимание");

// ---- The open document: load, save, preview, the META block ----

// ---- Settings ----

// ---- The keyword generator ----

}  // namespace veskaron::msg
