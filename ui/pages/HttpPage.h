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
    QComboBox* Location() const { return locationBox_; }

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

    QComboBox* cacheControlBox_;
    QComboBox* pragmaBox_;
    QCheckBox* refreshBox_;
    QSpinBox* refreshSecondsBox_;
    QLabel* refreshSecondsLabel_;
    QComboBox* refreshUrlBox_;
    QCheckBox* expiryBox_;
    QLabel* expiryDateLabel_;
    QDateEdit* expiryDateEdit_;
    QLabel* expiryTimeLabel_;
    QTimeEdit* expiryTimeEdit_;
    QLabel* expiryTextLabel_;
    QCheckBox* contentTypeBox_;
    QLabel* typeLabel_;
    QComboBox* typeBox_;
    QLabel* charsetLabel_;
    QComboBox* charsetBox_;
    QComboBox* languageBox_;
    QComboBox* locationBox_;
    std::array<QCheckBox*, 4> transitionBoxes_{};
    std::array<QSpinBox*, 4> durationBoxes_{};
    std::array<TComBox*, 4> effectBoxes_{};
};

}  // namespace veskaron::ui
