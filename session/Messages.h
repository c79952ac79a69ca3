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

// A stored value that no control can show; %1 the store file, %2 the value's
// name, %3 the stored number.
inline const QString kSettingOutOfRange = QStringLiteral(
    "файл настроек %1: значение \"%2\" = %3 вне допустимых границ; взято значение по умолчанию");

// ---- The keyword generator ----

}  // namespace veskaron::msg
