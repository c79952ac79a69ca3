#pragma once
// The application's override cursor for as long as this object lives: every
// path out of the work, early returns and exceptions included, restores it.
#include <QGuiApplication>

namespace veskaron::ui {

class OverrideCursor final {
public:
    explicit OverrideCursor(Qt::CursorShape shape) { QGuiApplication::setOverrideCursor(shape); }
    ~OverrideCursor() { QGuiApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;
};

}  // namespace veskaron::ui
