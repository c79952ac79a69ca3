#pragma once
// The "META-HTTP" page: the entries addressed by an http-equiv attribute.
// Moves values between its controls and MetaFields and keeps the enabled
// rules of its check boxes.
#include <QWidget>
#include <array>
#include <cstddef>

#include "engine/meta_fields.h"
#include "engine/text_codec.h"
#include "ui/pages/FieldEdit.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QSpinBox;
class QTimeEdit;

namespace veskaron {
class TComBox;
}

namespace veskaron::ui {

class HttpPage final : public QWidget {
    Q_OBJECT

public:
    explicit HttpPage(QWidget* parent = nullptr);

    void ReadInto(MetaFields& f, const TextCodec& codec, std::size_t* references) const;
    // Shows the values of a load without reporting them as edits. The refresh
    // address box is usable as the load says.
    void Show(const MetaFields& f, const TextCodec& codec, bool refreshUrlEnabled);
    // The values a freshly started window shows.
    void ShowFresh(const DateTime& now, const TextCodec& codec);

    // The expiry controls usable exactly when their box is ticked.
    void SyncExpiryControls();

    QComboBox* refreshUrlBox() const { return refreshUrlBox_; }
    QComboBox* Location() const { return ComboBoxLocation; }

Q_SIGNALS:
    void Edited(veskaron::ui::FieldEdit kind);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The page's own charset, when the list does not hold it, is an extra
    // item after the list's own.
    void ShowCharset(const MetaFields& f);

    void refreshChanged();
    void expiryToggled();
    void expiryDateChanged();
    void contentTypeToggled();
    void transitionToggled(int i);
    void UpdateRefreshEnabled();
    void UpdateTypeEnabled();
    void UpdateTransitionEnabled(int i);
    QWidget* BuildExpiryGroup();
    QWidget* BuildLanguageGroup();
    QWidget* BuildCacheGroup();
    QWidget* BuildEffectsGroup();

    QComboBox* ComboBoxCasecontrol;
    QComboBox* ComboBoxProgma;
    QCheckBox* CheckBoxRefrech;
    QSpinBox* SpinEdit1;
    QLabel* Label30;
    QComboBox* refreshUrlBox_;
    QCheckBox* CheckBoxExpiries;
    QLabel* Label32;
    QDateEdit* DateEdit1;
    QLabel* Label33;
    QTimeEdit* DateTimePicker2;
    QLabel* Label34;
    QCheckBox* CheckBoxType;
    QLabel* Label31;
    QComboBox* ComboBoxType;
    QLabel* Label29;
    QComboBox* ComboBoxWin;
    QComboBox* ComboBoxLanguage;
    QComboBox* ComboBoxLocation;
    std::array<QCheckBox*, 4> XPCheckBox{};
    std::array<QSpinBox*, 4> SpinEdit{};
    std::array<TComBox*, 4> ComBox{};
};

}  // namespace veskaron::ui
