#include "ui/pages/NamePage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <utility>

#include "messages/window_texts.h"
#include "engine/catalogue.h"
#include "messages/catalogue_texts.h"
#include "engine/serp.h"
#include "ui/pages/DocText.h"
#include "ui/common/Hints.h"
#include "ui/common/Widgets.h"

namespace veskaron::ui {
namespace {

QLabel* Caption(const QString& text, const char* name) {
    return ui::Caption(text, QString::fromLatin1(name));
}

QPlainTextEdit* MakeMemo() {
    auto* memo = new QPlainTextEdit;
    memo->setTabChangesFocus(true);
    memo->setMinimumHeight(44);
    return memo;
}

// "312 из 600 px", red when the result cuts the text.
void ShowWidth(QLabel* label, std::size_t px, std::size_t limit) {
    label->setText(msg::kWidthPx.arg(px).arg(limit));
    const bool over = px > limit;
    if (label->property("over").toBool() == over) return;
    label->setProperty("over", over);
    QPalette palette;  // empty: the parent's colours
    if (over) {
        palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    }
    label->setPalette(palette);
}

}  // namespace

QString CharacterCountText(const QPlainTextEdit* box) {
    // Each block ends in one separator (the last one too), none of them counted.
    const QTextDocument* doc = box->document();
    const int chars = doc->characterCount() - doc->blockCount();
    return msg::kCharacterCount.arg(chars);
}

NamePage::NamePage(QWidget* parent) : QWidget(parent) {
    titleEdit_ = Named(new QLineEdit, "Edit1", msg::kTitleHint, 1);
    authorBox_ = Named(new QComboBox, "ComboBox1", msg::kAuthorHint, 2);
    copyrightBox_ = Named(new QComboBox, "ComboBox3", msg::kCopyrightHint, 3);
    descriptionEdit_ = Named(MakeMemo(), "Memo1", msg::kDescriptionHint, 4);
    keywordsEdit_ = Named(MakeMemo(), "Memo2", msg::kKeywordsHint, 5);
    robotsBox_ = Named(new QComboBox, "CR1", msg::kRobotsHint, 6);
    revisitCountBox_ = Named(new QSpinBox, "SEditRev1", msg::kRevisitCountHint, 23);
    revisitUnitBox_ = Named(new QComboBox, "ComboBox2", msg::kRevisitUnitHint, 23);
    generatorBox_ = Named(new QComboBox, "ComboBoxGENERATOR", msg::kGeneratorFieldHint, 7);
    progIdBox_ = Named(new QComboBox, "ComboBoxProgId", msg::kProgIdHint, 22);
    distributionBox_ = Named(new QComboBox, "ComboBox4", msg::kDistributionHint, 8);
    urlBox_ = Named(new QComboBox, "ComboBoxUrl", msg::kUrlHint, 21);
    descriptionCountLabel_ = Caption(msg::kNoCharacters, "Label17");
    keywordsCountLabel_ = Caption(msg::kNoCharacters, "Label18");
    titleWidthLabel_ = Named(new QLabel(msg::kWidthPx.arg(0).arg(kDesktopSerp.titlePx)), "LabelTitlePx",
                             msg::kWidthHint, 1);
    descriptionWidthLabel_ = Named(new QLabel(msg::kWidthPx.arg(0).arg(kDesktopSerp.descriptionPx)),
                                   "LabelDescriptionPx", msg::kWidthHint, 4);

    for (QComboBox* box : {authorBox_, copyrightBox_, generatorBox_, progIdBox_, urlBox_})
        MakeHistoryBox(box);
    FillItems(robotsBox_, ListTexts::Robots);
    FillItems(revisitUnitBox_, ListTexts::Unit);
    FillItems(distributionBox_, ItemLists::Distribution);
    // First, so that the handlers below read which words still stand.
    TrackOwnWords(robotsBox_, static_cast<int>(ListTexts::Robots.size()));
    TrackOwnWords(revisitUnitBox_, static_cast<int>(ListTexts::Unit.size()));
    TrackOwnWords(distributionBox_, static_cast<int>(ItemLists::Distribution.size()));
    // The page may be narrower than the longest robots item.
    for (QComboBox* box : {robotsBox_, revisitUnitBox_, distributionBox_}) {
        box->setMinimumContentsLength(8);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    revisitCountBox_->setRange(kRevisitMin, kRevisitMax);
    revisitCountBox_->setEnabled(false);
    revisitUnitBox_->setEnabled(false);

    auto* group = new QGroupBox(msg::kUserGroup);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(4);
    int row = 0;
    auto addRow = [&](const QString& caption, const char* labelName, QWidget* control) {
        QLabel* label = Caption(caption, labelName);
        label->setBuddy(control);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    };
    auto addMemo = [&](const QString& caption, const char* labelName, QPlainTextEdit* memo,
                       QLabel* counter) {
        auto* labels = new QVBoxLayout;
        QLabel* label = Caption(caption, labelName);
        label->setBuddy(memo);
        labels->addWidget(label);
        labels->addWidget(counter);
        if (memo == descriptionEdit_) labels->addWidget(descriptionWidthLabel_);
        labels->addStretch();
        grid->addLayout(labels, row, 0);
        grid->addWidget(memo, row, 1);
        grid->setRowStretch(row, 1);
        ++row;
    };
    {
        // The width under the caption, as the description's counters: the
        // field keeps the page's full width.
        auto* labels = new QVBoxLayout;
        labels->setSpacing(0);
        QLabel* label = Caption(msg::kTitleLabel, "LabelTitle");
        label->setBuddy(titleEdit_);
        labels->addWidget(label);
        labels->addWidget(titleWidthLabel_);
        grid->addLayout(labels, row, 0);
        grid->addWidget(titleEdit_, row, 1, Qt::AlignTop);
        ++row;
    }
    addRow(msg::kAuthorLabel, "LabelAuthor", authorBox_);
    addRow(msg::kCopyrightLabel, "LabelCopyright", copyrightBox_);
    addMemo(msg::kDescriptionLabel, "LabelDescription", descriptionEdit_, descriptionCountLabel_);
    addMemo(msg::kKeywordsLabel, "LabelKeywords", keywordsEdit_, keywordsCountLabel_);
    {
        indexingLabel_ = Named(new QLabel, "LabelIndexing");
        indexingLabel_->setTextFormat(Qt::PlainText);
        // The verdict under the box, which keeps the page's full width.
        auto* robotsRow = new QWidget;
        auto* robotsLayout = new QVBoxLayout(robotsRow);
        robotsLayout->setContentsMargins(0, 0, 0, 0);
        robotsLayout->setSpacing(0);
        robotsLayout->addWidget(robotsBox_);
        robotsLayout->addWidget(indexingLabel_);
        QLabel* label = Caption(msg::kRobotsLabel, "LabelRobots");
        label->setBuddy(robotsBox_);
        grid->addWidget(label, row, 0);
        grid->addWidget(robotsRow, row, 1);
        ++row;
    }
    auto* revisit = new QWidget;
    auto* revisitRow = new QHBoxLayout(revisit);
    revisitRow->setContentsMargins(0, 0, 0, 0);
    revisitCountBox_->setMinimumWidth(64);
    revisitRow->addWidget(revisitCountBox_);
    revisitRow->addWidget(revisitUnitBox_, 1);
    addRow(msg::kRevisitLabel, "LabelRevisit", revisit);
    addRow(msg::kGeneratorLabel, "LabelGenerator", generatorBox_);
    addRow(QStringLiteral("ProgId :"), "LabelProgId", progIdBox_);
    addRow(msg::kDistributionLabel, "LabelDistribution", distributionBox_);
    addRow(msg::kUrlLabel, "LabelUrl", urlBox_);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(group);

    connect(titleEdit_, &QLineEdit::textChanged, this, &NamePage::titleChanged);
    connect(descriptionEdit_, &QPlainTextEdit::textChanged, this, &NamePage::descriptionChanged);
    connect(keywordsEdit_, &QPlainTextEdit::textChanged, this, &NamePage::keywordsChanged);
    connect(robotsBox_, &QComboBox::currentIndexChanged, this, &NamePage::robotsChanged);
    auto compare = [this] { Q_EMIT Edited(FieldEdit::Compare); };
    for (QComboBox* box : {authorBox_, copyrightBox_, generatorBox_, progIdBox_, urlBox_})
        connect(box, &QComboBox::editTextChanged, this, compare);
    for (QComboBox* box : {revisitUnitBox_, distributionBox_})
        connect(box, &QComboBox::currentIndexChanged, this, compare);
    connect(revisitCountBox_, &QSpinBox::valueChanged, this, compare);
}

void NamePage::ReadInto(MetaFields& f, const TextCodec& codec, std::size_t* refs) const {
    f.Title = FromQt(codec, titleEdit_->text(), refs);
    f.Author = FromQt(codec, authorBox_->currentText(), refs);
    f.Copyright = FromQt(codec, copyrightBox_->currentText(), refs);
    f.Description = MemoFromQt(codec, PlainText(*descriptionEdit_), refs);
    f.Keywords = MemoFromQt(codec, PlainText(*keywordsEdit_), refs);
    auto own = [&f](int index) -> std::string& { return f.OwnText[static_cast<std::size_t>(index)]; };
    f.Robots = ReadOwnWords(robotsBox_, static_cast<int>(ListTexts::Robots.size()), own(kRobots));
    f.SetRevisitCount(revisitCountBox_->value());
    f.RevisitUnit = ReadOwnWords(revisitUnitBox_, static_cast<int>(ListTexts::Unit.size()), own(kRevisitAfter));
    f.Generator = FromQt(codec, generatorBox_->currentText(), refs);
    f.ProgId = FromQt(codec, progIdBox_->currentText(), refs);
    f.Distribution =
        ReadOwnWords(distributionBox_, static_cast<int>(ItemLists::Distribution.size()), own(kDistribution));
    f.Url = FromQt(codec, urlBox_->currentText(), refs);
}

void NamePage::Show(const MetaFields& f, const TextCodec& codec) {
    {
        const QSignalBlocker b1(titleEdit_), b2(authorBox_), b3(copyrightBox_), b4(descriptionEdit_),
            b5(keywordsEdit_), b6(robotsBox_), b7(revisitCountBox_), b8(revisitUnitBox_), b9(generatorBox_),
            b10(progIdBox_), b11(distributionBox_), b12(urlBox_);
        titleEdit_->setText(ToQt(codec, f.Title));
        titleEdit_->setCursorPosition(0);
        SetBoxText(authorBox_, ToQt(codec, f.Author));
        SetBoxText(copyrightBox_, ToQt(codec, f.Copyright));
        descriptionEdit_->setPlainText(MemoToQt(codec, f.Description));
        keywordsEdit_->setPlainText(MemoToQt(codec, f.Keywords));
        auto own = [&](QComboBox* box, std::size_t listed, int field, int index) {
            const std::string& words = f.OwnText[static_cast<std::size_t>(index)];
            ShowOwnWords(box, static_cast<int>(listed), field, words, ToQt(codec, words));
        };
        own(robotsBox_, ListTexts::Robots.size(), f.Robots, kRobots);
        revisitCountBox_->setValue(f.RevisitCount);
        own(revisitUnitBox_, ListTexts::Unit.size(), f.RevisitUnit, kRevisitAfter);
        SetBoxText(generatorBox_, ToQt(codec, f.Generator));
        SetBoxText(progIdBox_, ToQt(codec, f.ProgId));
        own(distributionBox_, ItemLists::Distribution.size(), f.Distribution, kDistribution);
        SetBoxText(urlBox_, ToQt(codec, f.Url));
    }
    UpdateCounters();
    UpdateRevisitEnabled();
    MeasureTitle();
    MeasureDescription();
    Q_EMIT SnippetTextsChanged();
}

QString NamePage::TitleText() const { return titleEdit_->text(); }

void NamePage::ShowIndexing(const QString& text, const QString& tooltip) {
    indexingLabel_->setText(text);
    indexingLabel_->setToolTip(tooltip);
}

void NamePage::SetCodecSource(std::function<const TextCodec&()> codec) { codec_ = std::move(codec); }

// Measured as the page would carry the text: characters its charset lacks
// count as the "&#N;" written for them.
void NamePage::MeasureTitle() {
    const QString text = titleEdit_->text();
    title_ = codec_ ? codec_().ToUtf8(FromQt(codec_(), text)) : text.toStdString();
    ShowWidth(titleWidthLabel_, TextWidthPx(title_, kDesktopSerp.titleSizePx), kDesktopSerp.titlePx);
}

void NamePage::MeasureDescription() {
    const QString text = PlainText(*descriptionEdit_);
    description_ = codec_ ? codec_().ToUtf8(MemoFromQt(codec_(), text, nullptr)) : text.toStdString();
    ShowWidth(descriptionWidthLabel_, TextWidthPx(description_, kDesktopSerp.descriptionSizePx),
              kDesktopSerp.descriptionPx);
}

void NamePage::titleChanged() {
    MeasureTitle();
    Q_EMIT SnippetTextsChanged();
    Q_EMIT Edited(FieldEdit::Title);
}

void NamePage::descriptionChanged() {
    descriptionCountLabel_->setText(CharacterCountText(descriptionEdit_));
    MeasureDescription();
    Q_EMIT SnippetTextsChanged();
    Q_EMIT Edited(FieldEdit::Description);
}

void NamePage::keywordsChanged() {
    keywordsCountLabel_->setText(CharacterCountText(keywordsEdit_));
    Q_EMIT Edited(FieldEdit::Keywords);
}

void NamePage::robotsChanged() {
    UpdateRevisitEnabled();
    Q_EMIT Edited(FieldEdit::Compare);
}

void NamePage::UpdateCounters() {
    descriptionCountLabel_->setText(CharacterCountText(descriptionEdit_));
    keywordsCountLabel_->setText(CharacterCountText(keywordsEdit_));
}

void NamePage::UpdateRevisitEnabled() {
    const int robots = robotsBox_->currentIndex();
    const bool on = robots >= 1 && robots <= 3 && !robotsBox_->currentText().isEmpty();
    revisitCountBox_->setEnabled(on);
    revisitUnitBox_->setEnabled(on);
}

}  // namespace veskaron::ui
