#include "ui/common/FlatStyle.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace veskaron::ui {
namespace {

struct FlatState {
    bool captured = false;
    bool on = false;
    QString originalStyle;
    QPalette originalPalette;
};

FlatState& State() {
    static FlatState state;
    return state;
}

// One face colour for windows and buttons, so raised edges disappear; thin
// mid-grey lines remain as borders.
QPalette FlatPalette(const QStyle& style) {
    QPalette p = style.standardPalette();
    const QColor face(0xF4, 0xF4, 0xF4);
    for (const QPalette::ColorRole role :
         {QPalette::Window, QPalette::Button, QPalette::Light, QPalette::Midlight}) {
        p.setColor(QPalette::Active, role, face);
        p.setColor(QPalette::Inactive, role, face);
    }
    p.setColor(QPalette::Mid, QColor(0xC6, 0xC6, 0xC6));
    p.setColor(QPalette::Dark, QColor(0xA8, 0xA8, 0xA8));
    p.setColor(QPalette::Shadow, QColor(0x90, 0x90, 0x90));
    p.setColor(QPalette::Highlight, QColor(0x31, 0x6A, 0xC5));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

}  // namespace

void ApplyFlatStyle(bool on) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    FlatState& s = State();
    if (!s.captured) {
        s.originalStyle = QApplication::style()->name();
        s.originalPalette = QApplication::palette();
        s.captured = true;
    }
    if (on == s.on) return;
    QStyle* style = QStyleFactory::create(on ? QStringLiteral("Fusion") : s.originalStyle);
    if (!style) return;
    QApplication::setStyle(style);  // the application takes ownership
    QApplication::setPalette(on ? FlatPalette(*style) : s.originalPalette);
    s.on = on;
}

bool FlatStyleOn() { return State().on; }

}  // namespace veskaron::ui
