#pragma once
// The "МЕТА-NAME" page: the title and the entries addressed by a name
// attribute. Moves values between its controls and MetaFields.
#include <QWidget>
#include <cstddef>
#include <functional>
#include <string>

#include "engine/meta_fields.h"
#include "engine/text_codec.h"
#include "ui/pages/FieldEdit.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace veskaron::ui {

class NamePage final : public QWidget {
    Q_OBJECT

public:
    explicit NamePage(QWidget* parent = nullptr);

    void ReadInto(MetaFields& f, const TextCodec& codec, std::size_t* references) const;
    // Shows the values without reporting them as edits.
    void Show(const MetaFields& f, const TextCodec& codec);

    QString TitleText() const;
    QPlainTextEdit* Description() const { return descriptionEdit_; }
    QPlainTextEdit* KeywordsBox() const { return keywordsEdit_; }
    QComboBox* Author() const { return authorBox_; }
    QComboBox* Copyright() const { return copyrightBox_; }
    QComboBox* Generator() const { return generatorBox_; }
    QComboBox* ProgId() const { return progIdBox_; }
    QComboBox* Url() const { return urlBox_; }

    // Whether a search engine's robot may index the page, beside the robots box.
    void ShowIndexing(const QString& text, const QString& tooltip);

    // The codec the widths are measured through: the open document's.
    void SetCodecSource(std::function<const TextCodec&()> codec);
    // The title and description as the page would carry them, in UTF-8.
    const std::string& MeasuredTitle() const { return title_; }
    const std::string& MeasuredDescription() const { return description_; }

Q_SIGNALS:
    void Edited(veskaron::ui::FieldEdit kind);
    // The measured title or description changed.
    void SnippetTextsChanged();

private:
    void titleChanged();
    void descriptionChanged();
    void keywordsChanged();
    void robotsChanged();
    void UpdateCounters();
    void UpdateRevisitEnabled();
    void MeasureTitle();
    void MeasureDescription();

    std::function<const TextCodec&()> codec_;
    std::string title_, description_;

    QLineEdit* titleEdit_;
    QComboBox* authorBox_;
    QComboBox* copyrightBox_;
    QPlainTextEdit* descriptionEdit_;
    QLabel* titleWidthLabel_;
    QLabel* descriptionCountLabel_;
    QLabel* descriptionWidthLabel_;
    QPlainTextEdit* keywordsEdit_;
    QLabel* keywordsCountLabel_;
    QComboBox* robotsBox_;
    QLabel* indexingLabel_;
    QSpinBox* revisitCountBox_;
    QComboBox* revisitUnitBox_;
    QComboBox* generatorBox_;
    QComboBox* progIdBox_;
    QComboBox* distributionBox_;
    QComboBox* urlBox_;
};

// "%d симв.": the characters of a multi-line box, line breaks not counted.
QString CharacterCountText(const QPlainTextEdit* box);

}  // namespace veskaron::ui
