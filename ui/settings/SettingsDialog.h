#pragma once
// The settings dialog "Установки". Created hidden once at start and kept for
// the whole run, it edits a copy of the program's settings: OK commits the
// copy (stored and applied), Cancel keeps the copy the controls show and
// lets the values the load, the writer and the generator use take effect for
// the rest of the run without storing them.
#include <QDialog>

#include <string>

#include "session/settings/Settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace veskaron::ui {

class SettingsDialog final : public QDialog {
    Q_OBJECT

public:
    explicit SettingsDialog(session::Settings& settings, QWidget* parent = nullptr);

    // Shows the dialog modally (through CurrentDialogs()).
    void ShowModal();

    // The copy the controls show.
    const session::SettingsValues& EditedValues() const { return edited_; }

    // The vertical position of the last pointer movement over the order list.
    int LastListY() const { return lastListY_; }
    // The shortcut file last computed by a shortcut box.
    const std::string& ShortcutPath() const { return shortcutPath_; }

    void reject() override;

Q_SIGNALS:
    // After OK has committed the settings: the main window applies the mask,
    // the file icons and the tab style.
    void confirmed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGeneralPage(QWidget* page);
    void buildMetaPage(QWidget* page);
    void buildGeneratorPage(QWidget* page);
    void bindControls();
    void showValues();
    void fillOrderList();

    void confirm();
    void moveOrderEntry(bool up);
    void shortcutToggled(const QCheckBox& box, const char* folderName, bool session::ShortcutWishes::*wish);
    bool showLongEntryTip(const QPoint& pos, const QPoint& globalPos);

    session::Settings& settings_;
    session::SettingsValues edited_;

    QTabWidget* pages_ = nullptr;
    // "Общие"
    QCheckBox* fileIconsBox_ = nullptr;
    QLineEdit* maskEdit_ = nullptr;
    QCheckBox* backupBox_ = nullptr;
    QComboBox* tabStyleBox_ = nullptr;
    QComboBox* modemBox_ = nullptr;
    QCheckBox* desktopShortcutBox_ = nullptr;
    QCheckBox* startMenuShortcutBox_ = nullptr;
    QCheckBox* programsShortcutBox_ = nullptr;
    QCheckBox* flatStyleBox_ = nullptr;
    // "Сохранение МЕТА"
    QButtonGroup* placementGroup_ = nullptr;
    QButtonGroup* attributeOrderGroup_ = nullptr;
    QButtonGroup* lineModeGroup_ = nullptr;
    QListWidget* orderList_ = nullptr;
    QToolButton* moveUpButton_ = nullptr;
    QToolButton* moveDownButton_ = nullptr;
    // "Генератор"
    QSpinBox* minWordBox_ = nullptr;
    QCheckBox* digitsBox_ = nullptr;
    QCheckBox* mandatoryWordsBox_ = nullptr;
    QCheckBox* confirmDeletionBox_ = nullptr;
    QCheckBox* descriptionWordsBox_ = nullptr;
    QCheckBox* altWordsBox_ = nullptr;

    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;

    int lastListY_ = 0;
    std::string shortcutPath_;
};

}  // namespace veskaron::ui
