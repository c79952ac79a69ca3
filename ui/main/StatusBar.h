#pragma once
// The main window's status bar: panel 0 the document state, panel 1 the long
// hint of the control under the pointer, panel 2 the start counter.
#include <QStatusBar>
#include <array>

class QLabel;

namespace veskaron::ui {

class StatusBar final : public QStatusBar {
    Q_OBJECT

public:
    explicit StatusBar(QWidget* parent = nullptr);
    void SetPanel(int panel, const QString& text);
    QString Panel(int panel) const;

private:
    std::array<QLabel*, 3> panels_{};
};

}  // namespace veskaron::ui
