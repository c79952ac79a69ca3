#include "ui/main/StatusBar.h"

#include <QLabel>

namespace veskaron::ui {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(true);
    const int widths[3] = {120, 600, 80};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        // Hints may quote the page's markup (the last snippet).
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(i == 1 ? 40 : widths[i]);
        if (i == 1) {
            // The hint panel gives way when the window is narrow.
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        }
        addPermanentWidget(label, i == 1 ? 1 : 0);
        panels_[static_cast<std::size_t>(i)] = label;
    }
}

void StatusBar::SetPanel(int panel, const QString& text) {
    panels_.at(static_cast<std::size_t>(panel))->setText(text);
}

QString StatusBar::Panel(int panel) const {
    return panels_.at(static_cast<std::size_t>(panel))->text();
}

}  // namespace veskaron::ui
