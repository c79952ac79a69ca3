#pragma once
// The about box.
#include <QDialog>

namespace veskaron::ui {

class AboutBox final : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace veskaron::ui
