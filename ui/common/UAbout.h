#pragma once
// The about box.
#include <QDialog>

namespace veskaron::ui {

class TAboutBox final : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace veskaron::ui
