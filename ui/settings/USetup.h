#pragma once
// The settings dialog "Установки". Created hidden once at start and kept for
// the whole run: its controls hold the modem speed, the place and attribute
// order of new tags and the minimum word length that the load, the writer
// and the generator read at the moment of use. OK stores every common
// setting and applies it; Cancel only closes, leaving the controls changed
// for the rest of the run.
#include <QDialog>

#include <string>

#include "ui/settings/LiveSettings.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace veskaron::ui {

class TFmSetup final : public QDialog, public LiveSettings {
    Q_OBJECT

public:
    explicit TFmSetup(QWidget* parent = nullptr);

    // Shows the dialog modally (through CurrentDialogs()).
    void ShowModal();

    // 0 ordinary tabs, 1 buttons, 2 flat buttons.
    int NoteStyle() const;

    std::string ModemSpeed() const override;
    int InsMeta() const override;
    int InsContent() const override;
    int MinWord() const override;

    // The vertical position of the last pointer movement over ListBoxMETA.
    int LastListY() const { return FLastListY; }
    // The shortcut file last computed by a shortcut box.
    const std::string& ShortcutPath() const { return FShortcutPath; }

Q_SIGNALS:
    // After OK has stored the settings: the main window applies the mask,
    // the file icons and the tab style.
    void Applied(int noteStyle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGeneralPage(QWidget* page);
    void BuildMetaPage(QWidget* page);
    void BuildGeneratorPage(QWidget* page);

    void FormCreate();
    void Button2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void CheckBox1Click();
    void CheckBox14Click();
    void CheckBox15Click();
    void ShortcutBoxClick(const QCheckBox& box, const char* folderName);
    bool ListBoxMETATip(const QPoint& pos, const QPoint& globalPos);

    int SelectedOrderRow() const;
    void FillOrderList();

    QTabWidget* PageControl1 = nullptr;
    // "Общие"
    QCheckBox* CheckBox2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBoxBak = nullptr;
    QComboBox* ComboBoxStyle = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox14 = nullptr;
    QCheckBox* CheckBox15 = nullptr;
    QCheckBox* CheckBoxXP = nullptr;
    // "Сохранение МЕТА"
    QButtonGroup* RadioGroup1 = nullptr;
    QButtonGroup* RadioGroup2 = nullptr;
    QButtonGroup* RadioGroup3 = nullptr;
    QListWidget* ListBoxMETA = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    // "Генератор"
    QSpinBox* SEMinWord = nullptr;
    QCheckBox* ChBox1 = nullptr;
    QCheckBox* ChBox2 = nullptr;
    QCheckBox* CheckBoxQuestDelWord = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;

    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

    int FLastListY = 0;
    std::string FShortcutPath;
};

}  // namespace veskaron::ui
