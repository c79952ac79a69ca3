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
    Edit1 = Named(new QLineEdit, "Edit1", msg::kTitleHint, 1);
    ComboBox1 = Named(new QComboBox, "ComboBox1", msg::kAuthorHint, 2);
    ComboBox3 = Named(new QComboBox, "ComboBox3", msg::kCopyrightHint, 3);
    Memo1 = Named(MakeMemo(), "Memo1", msg::kDescriptionHint, 4);
    Memo2 = Named(MakeMemo(), "Memo2", msg::kKeywordsHint, 5);
    CR1 = Named(new QComboBox, "CR1", msg::kRobotsHint, 6);
    SEditRev1 = Named(new QSpinBox, "SEditRev1", msg::kRevisitCountHint, 23);
    ComboBox2 = Named(new QComboBox, "ComboBox2", msg::kRevisitUnitHint, 23);
    ComboBoxGENERATOR = Named(new QComboBox, "ComboBoxGENERATOR", msg::kGeneratorFieldHint, 7);
    ComboBoxProgId = Named(new QComboBox, "ComboBoxProgId", msg::kProgIdHint, 22);
    ComboBox4 = Named(new QComboBox, "ComboBox4", msg::kDistributionHint, 8);
    ComboBoxUrl = Named(new QComboBox, "ComboBoxUrl", msg::kUrlHint, 21);
    Label17 = Caption(msg::kNoCharacters, "Label17");
    Label18 = Caption(msg::kNoCharacters, "Label18");
    LabelTitlePx = Named(new QLabel(msg::kWidthPx.arg(0).arg(kDesktopSerp.titlePx)), "LabelTitlePx",
                         msg::kWidthHint, 1);
    LabelDescriptionPx = Named(new QLabel(msg::kWidthPx.arg(0).arg(kDesktopSerp.descriptionPx)),
                               "LabelDescriptionPx", msg::kWidthHint, 4);

    for (QComboBox* box : {ComboBox1, ComboBox3, ComboBoxGENERATOR, ComboBoxProgId, ComboBoxUrl})
        MakeHistoryBox(box);
    FillItems(CR1, ListTexts::Robots);
    FillItems(ComboBox2, ListTexts::Unit);
    FillItems(ComboBox4, ItemLists::Distribution);
    // First, so that the handlers below read which words still stand.
    TrackOwnWords(CR1, static_cast<int>(ListTexts::Robots.size()));
    TrackOwnWords(ComboBox2, static_cast<int>(ListTexts::Unit.size()));
    TrackOwnWords(ComboBox4, static_cast<int>(ItemLists::Distribution.size()));
    // The page may be narrower than the longest robots item.
    for (QComboBox* box : {CR1, ComboBox2, ComboBox4}) {
        box->setMinimumContentsLength(8);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    SEditRev1->setRange(kRevisitMin, kRevisitMax);
    SEditRev1->setEnabled(false);
    ComboBox2->setEnabled(false);

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
        if (memo == Memo1) labels->addWidget(LabelDescriptionPx);
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
        label->setBuddy(Edit1);
        labels->addWidget(label);
        labels->addWidget(LabelTitlePx);
        grid->addLayout(labels, row, 0);
        grid->addWidget(Edit1, row, 1, Qt::AlignTop);
        ++row;
    }
    addRow(msg::kAuthorLabel, "LabelAuthor", ComboBox1);
    addRow(msg::kCopyrightLabel, "LabelCopyright", ComboBox3);
    addMemo(msg::kDescriptionLabel, "LabelDescription", Memo1, Label17);
    addMemo(msg::kKeywordsLabel, "LabelKeywords", Memo2, Label18);
    {
        LabelIndexing = Named(new QLabel, "LabelIndexing");
        LabelIndexing->setTextFormat(Qt::PlainText);
        // The verdict under the box, which keeps the page's full width.
        auto* robotsRow = new QWidget;
        auto* robotsLayout = new QVBoxLayout(robotsRow);
        robotsLayout->setContentsMargins(0, 0, 0, 0);
        robotsLayout->setSpacing(0);
        robotsLayout->addWidget(CR1);
        robotsLayout->addWidget(LabelIndexing);
        QLabel* label = Caption(msg::kRobotsLabel, "LabelRobots");
        label->setBuddy(CR1);
        grid->addWidget(label, row, 0);
        grid->addWidget(robotsRow, row, 1);
        ++row;
    }
    auto* revisit = new QWidget;
    auto* revisitRow = new QHBoxLayout(revisit);
    revisitRow->setContentsMargins(0, 0, 0, 0);
    SEditRev1->setMinimumWidth(64);
    revisitRow->addWidget(SEditRev1);
    revisitRow->addWidget(ComboBox2, 1);
    addRow(msg::kRevisitLabel, "LabelRevisit", revisit);
    addRow(msg::kGeneratorLabel, "LabelGenerator", ComboBoxGENERATOR);
    addRow(QStringLiteral("ProgId :"), "LabelProgId", ComboBoxProgId);
    addRow(msg::kDistributionLabel, "LabelDistribution", ComboBox4);
    addRow(msg::kUrlLabel, "LabelUrl", ComboBoxUrl);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(group);

    connect(Edit1, &QLineEdit::textChanged, this, &NamePage::titleChanged);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &NamePage::descriptionChanged);
    connect(Memo2, &QPlainTextEdit::textChanged, this, &NamePage::keywordsChanged);
    connect(CR1, &QComboBox::currentIndexChanged, this, &NamePage::robotsChanged);
    auto compare = [this] { Q_EMIT Edited(FieldEdit::Compare); };
    for (QComboBox* box : {ComboBox1, ComboBox3, ComboBoxGENERATOR, ComboBoxProgId, ComboBoxUrl})
        connect(box, &QComboBox::editTextChanged, this, compare);
    for (QComboBox* box : {ComboBox2, ComboBox4})
        connect(box, &QComboBox::currentIndexChanged, this, compare);
    connect(SEditRev1, &QSpinBox::valueChanged, this, compare);
}

void NamePage::ReadInto(MetaFields& f, const TextCodec& codec, std::size_t* refs) const {
    f.Title = FromQt(codec, Edit1->text(), refs);
    f.Author = FromQt(codec, ComboBox1->currentText(), refs);
    f.Copyright = FromQt(codec, ComboBox3->currentText(), refs);
    f.Description = MemoFromQt(codec, PlainText(*Memo1), refs);
    f.Keywords = MemoFromQt(codec, PlainText(*Memo2), refs);
    auto own = [&f](int index) -> std::string& { return f.OwnText[static_cast<std::size_t>(index)]; };
    f.Robots = ReadOwnWords(CR1, static_cast<int>(ListTexts::Robots.size()), own(kRobots));
    f.SetRevisitCount(SEditRev1->value());
    f.RevisitUnit = ReadOwnWords(ComboBox2, static_cast<int>(ListTexts::Unit.size()), own(kRevisitAfter));
    f.Generator = FromQt(codec, ComboBoxGENERATOR->currentText(), refs);
    f.ProgId = FromQt(codec, ComboBoxProgId->currentText(), refs);
    f.Distribution = ReadOwnWords(ComboBox4, static_cast<int>(ItemLists::Distribution.size()), own(kDistribution));
    f.Url = FromQt(codec, ComboBoxUrl->currentText(), refs);
}

void NamePage::Show(const MetaFields& f, const TextCodec& codec) {
    {
        const QSignalBlocker b1(Edit1), b2(ComboBox1), b3(ComboBox3), b4(Memo1), b5(Memo2),
            b6(CR1), b7(SEditRev1), b8(ComboBox2), b9(ComboBoxGENERATOR), b10(ComboBoxProgId),
            b11(ComboBox4), b12(ComboBoxUrl);
        Edit1->setText(ToQt(codec, f.Title));
        Edit1->setCursorPosition(0);
        SetBoxText(ComboBox1, ToQt(codec, f.Author));
        SetBoxText(ComboBox3, ToQt(codec, f.Copyright));
        Memo1->setPlainText(MemoToQt(codec, f.Description));
        Memo2->setPlainText(MemoToQt(codec, f.Keywords));
        auto own = [&](QComboBox* box, std::size_t listed, int field, int index) {
            const std::string& words = f.OwnText[static_cast<std::size_t>(index)];
            ShowOwnWords(box, static_cast<int>(listed), field, words, ToQt(codec, words));
        };
        own(CR1, ListTexts::Robots.size(), f.Robots, kRobots);
        SEditRev1->setValue(f.RevisitCount);
        own(ComboBox2, ListTexts::Unit.size(), f.RevisitUnit, kRevisitAfter);
        SetBoxText(ComboBoxGENERATOR, ToQt(codec, f.Generator));
        SetBoxText(ComboBoxProgId, ToQt(codec, f.ProgId));
        own(ComboBox4, ItemLists::Distribution.size(), f.Distribution, kDistribution);
        SetBoxText(ComboBoxUrl, ToQt(codec, f.Url));
    }
    UpdateCounters();
    UpdateRevisitEnabled();
    MeasureTitle();
    MeasureDescription();
    Q_EMIT SnippetTextsChanged();
}

QString NamePage::TitleText() const { return Edit1->text(); }

void NamePage::ShowIndexing(const QString& text, const QString& tooltip) {
    LabelIndexing->setText(text);
    LabelIndexing->setToolTip(tooltip);
}

void NamePage::SetCodecSource(std::function<const TextCodec&()> codec) { codec_ = std::move(codec); }

// Measured as the page would carry the text: characters its charset lacks
// count as the "&#N;" written for them.
void NamePage::MeasureTitle() {
    const QString text = Edit1->text();
    title_ = codec_ ? codec_().ToUtf8(FromQt(codec_(), text)) : text.toStdString();
    ShowWidth(LabelTitlePx, TextWidthPx(title_, kDesktopSerp.titleSizePx), kDesktopSerp.titlePx);
}

void NamePage::MeasureDescription() {
    const QString text = PlainText(*Memo1);
    description_ = codec_ ? codec_().ToUtf8(MemoFromQt(codec_(), text, nullptr)) : text.toStdString();
    ShowWidth(LabelDescriptionPx, TextWidthPx(description_, kDesktopSerp.descriptionSizePx),
              kDesktopSerp.descriptionPx);
}

void NamePage::titleChanged() {
    MeasureTitle();
    Q_EMIT SnippetTextsChanged();
    Q_EMIT Edited(FieldEdit::Title);
}

void NamePage::descriptionChanged() {
    Label17->setText(CharacterCountText(Memo1));
    MeasureDescription();
    Q_EMIT SnippetTextsChanged();
    Q_EMIT Edited(FieldEdit::Description);
}

void NamePage::keywordsChanged() {
    Label18->setText(CharacterCountText(Memo2));
    Q_EMIT Edited(FieldEdit::Keywords);
}

void NamePage::robotsChanged() {
    UpdateRevisitEnabled();
    Q_EMIT Edited(FieldEdit::Compare);
}

void NamePage::UpdateCounters() {
    Label17->setText(CharacterCountText(Memo1));
    Label18->setText(CharacterCountText(Memo2));
}

void NamePage::UpdateRevisitEnabled() {
    const int robots = CR1->currentIndex();
    const bool on = robots >= 1 && robots <= 3 && !CR1->currentText().isEmpty();
    SEditRev1->setEnabled(on);
    ComboBox2->setEnabled(on);
}

}  // namespace veskaron::ui
