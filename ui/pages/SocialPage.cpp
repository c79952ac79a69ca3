#include "ui/pages/SocialPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>

#include "messages/audit_texts.h"
#include "messages/window_texts.h"
#include "ui/common/Widgets.h"
#include "ui/pages/DocText.h"
#include "ui/pages/FieldEdit.h"
#include "ui/pages/NamePage.h"
#include "ui/pages/SerpPreview.h"

namespace veskaron::ui {
namespace {

QString TextOf(const QWidget* w) {
    if (auto* line = qobject_cast<const QLineEdit*>(w)) return line->text();
    if (auto* box = qobject_cast<const QComboBox*>(w)) return box->currentText();
    return PlainText(*qobject_cast<const QPlainTextEdit*>(w));
}

void SetTextOf(QWidget* w, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else if (auto* box = qobject_cast<QComboBox*>(w)) {
        SetBoxText(box, text);
    } else {
        qobject_cast<QPlainTextEdit*>(w)->setPlainText(text);
    }
}

QComboBox* ValueBox(std::initializer_list<const char*> items) {
    auto* box = new QComboBox;
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : items) box->addItem(QString::fromLatin1(item));
    box->setCurrentIndex(-1);
    return box;
}

QLabel* CardLine(const char* name, const QColor& color, int pixels, bool bold = false) {
    auto* label = Named(new QLabel, name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    QFont font = label->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

SocialPage::SocialPage(QWidget* parent) : QWidget(parent) {
    serp_ = new SerpPreview;
    auto line = [](const char* name) { return Named(new QLineEdit, name); };
    auto memo = [](const char* name) {
        auto* box = Named(new QPlainTextEdit, name);
        box->setTabChangesFocus(true);
        box->setMinimumHeight(44);
        box->setMaximumHeight(70);
        return box;
    };
    controls_[kCanonical] = Named(line("EditCanonical"), "EditCanonical", msg::kCanonicalHint);
    controls_[kViewport] = Named(ValueBox({"width=device-width, initial-scale=1",
                                           "width=device-width, initial-scale=1, shrink-to-fit=no",
                                           "width=device-width", "width=1024"}),
                                 "ComboViewport", msg::kViewportHint);
    controls_[kOgTitle] = line("EditOgTitle");
    controls_[kOgDescription] = memo("MemoOgDescription");
    controls_[kOgType] = Named(ValueBox({"website", "article", "product", "profile", "book", "video.movie"}), "ComboOgType");
    controls_[kOgUrl] = line("EditOgUrl");
    controls_[kOgImage] = line("EditOgImage");
    controls_[kOgSiteName] = line("EditOgSiteName");
    controls_[kOgLocale] = Named(ValueBox({"ru_RU", "en_US", "uk_UA", "be_BY", "kk_KZ", "de_DE"}), "ComboOgLocale");
    controls_[kTwitterCard] =
        Named(ValueBox({"summary", "summary_large_image", "app", "player"}), "ComboTwitterCard");
    controls_[kTwitterTitle] = line("EditTwitterTitle");
    controls_[kTwitterDescription] = memo("MemoTwitterDescription");
    controls_[kTwitterImage] = line("EditTwitterImage");
    controls_[kTwitterSite] = line("EditTwitterSite");
    for (int f : {kOgTitle, kOgDescription, kTwitterTitle, kTwitterDescription})
        counters_[f] = Named(new QLabel(msg::kNoCharacters),
                             QStringLiteral("Label%1Count").arg(controls_[f]->objectName()));

    htmlLangLabel_ = Named(new QLabel, "LabelHtmlLang");
    htmlLangLabel_->setTextFormat(Qt::PlainText);
    ogFromTitleButton_ = Named(new QPushButton(msg::kFromTitle), "ButtonOgFromTitle", msg::kFromTitleHint);
    twitterFromTitleButton_ = Named(new QPushButton(msg::kFromTitle), "ButtonTwitterFromTitle", msg::kFromTitleHint);
    headDataList_ = Named(new QListWidget, "ListHeadData");
    headDataList_->setMaximumHeight(80);
    headDataList_->setSelectionMode(QAbstractItemView::NoSelection);

    auto group = [](const QString& caption, const char* name) {
        auto* box = Named(new QGroupBox(caption), name);
        auto* grid = new QGridLayout(box);
        grid->setVerticalSpacing(4);
        grid->setColumnStretch(1, 1);
        return std::pair{box, grid};
    };
    auto addRow = [this](QGridLayout* grid, const QString& caption, QWidget* control, int field = -1) {
        const int row = grid->rowCount();
        auto* labels = new QVBoxLayout;
        auto* label = new QLabel(caption);
        label->setBuddy(control);
        labels->addWidget(label);
        if (field >= 0 && counters_[field]) labels->addWidget(counters_[field]);
        labels->addStretch();
        grid->addLayout(labels, row, 0);
        grid->addWidget(control, row, 1);
    };

    auto [addresses, addressGrid] = group(msg::kAddressesGroup, "GroupAddresses");
    addRow(addressGrid, msg::kCanonicalLabel, controls_[kCanonical]);
    addRow(addressGrid, msg::kViewportLabel, controls_[kViewport]);
    addRow(addressGrid, msg::kHtmlLangLabel, htmlLangLabel_);

    auto [og, ogGrid] = group(msg::kOgGroup, "GroupOpenGraph");
    addRow(ogGrid, msg::kOgTitleLabel, controls_[kOgTitle], kOgTitle);
    addRow(ogGrid, msg::kOgDescriptionLabel, controls_[kOgDescription], kOgDescription);
    addRow(ogGrid, msg::kOgTypeLabel, controls_[kOgType]);
    addRow(ogGrid, msg::kOgUrlLabel, controls_[kOgUrl]);
    addRow(ogGrid, msg::kOgImageLabel, controls_[kOgImage]);
    addRow(ogGrid, msg::kOgSiteNameLabel, controls_[kOgSiteName]);
    addRow(ogGrid, msg::kOgLocaleLabel, controls_[kOgLocale]);
    ogGrid->addWidget(ogFromTitleButton_, ogGrid->rowCount(), 1, Qt::AlignLeft);

    auto [twitter, twitterGrid] = group(msg::kTwitterGroup, "GroupTwitter");
    addRow(twitterGrid, msg::kTwitterCardLabel, controls_[kTwitterCard]);
    addRow(twitterGrid, msg::kOgTitleLabel, controls_[kTwitterTitle], kTwitterTitle);
    addRow(twitterGrid, msg::kOgDescriptionLabel, controls_[kTwitterDescription], kTwitterDescription);
    addRow(twitterGrid, msg::kOgImageLabel, controls_[kTwitterImage]);
    addRow(twitterGrid, msg::kTwitterSiteLabel, controls_[kTwitterSite]);
    twitterGrid->addWidget(twitterFromTitleButton_, twitterGrid->rowCount(), 1, Qt::AlignLeft);

    auto* lists = Named(new QGroupBox(msg::kHeadListsGroup), "GroupHeadData");
    (new QVBoxLayout(lists))->addWidget(headDataList_);

    auto* card = Named(new QGroupBox(msg::kLinkCardGroup), "GroupLinkCard");
    cardImageLabel_ = CardLine("LabelCardImage", QColor(0x60, 0x60, 0x60), 12);
    cardImageLabel_->setAlignment(Qt::AlignCenter);
    cardImageLabel_->setMinimumHeight(60);
    cardImageLabel_->setStyleSheet(QStringLiteral("background: #dde3ea;"));
    cardSiteLabel_ = CardLine("LabelCardSite", QColor(0x60, 0x67, 0x70), 12);
    cardTitleLabel_ = CardLine("LabelCardTitle", QColor(0x10, 0x10, 0x10), 15, true);
    cardDescriptionLabel_ = CardLine("LabelCardDescription", QColor(0x50, 0x55, 0x5c), 13);
    auto* cardColumn = new QVBoxLayout(card);
    cardColumn->setSpacing(2);
    for (QLabel* l : {cardImageLabel_, cardSiteLabel_, cardTitleLabel_, cardDescriptionLabel_})
        cardColumn->addWidget(l);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    for (QWidget* w : {static_cast<QWidget*>(serp_), static_cast<QWidget*>(addresses),
                       static_cast<QWidget*>(og), static_cast<QWidget*>(twitter), static_cast<QWidget*>(card),
                       static_cast<QWidget*>(lists)})
        layout->addWidget(w);
    layout->addStretch();

    for (int f = 0; f < kModernFieldCount; ++f) {
        QWidget* w = controls_[f];
        auto edit = [this, f] { changed(f); };
        if (auto* l = qobject_cast<QLineEdit*>(w)) connect(l, &QLineEdit::textChanged, this, edit);
        else if (auto* b = qobject_cast<QComboBox*>(w)) connect(b, &QComboBox::editTextChanged, this, edit);
        else connect(qobject_cast<QPlainTextEdit*>(w), &QPlainTextEdit::textChanged, this, edit);
    }
    connect(ogFromTitleButton_, &QPushButton::clicked, this, [this] { fillFromTitle(kOgTitle, kOgDescription); });
    connect(twitterFromTitleButton_, &QPushButton::clicked, this,
            [this] { fillFromTitle(kTwitterTitle, kTwitterDescription); });
    UpdateCard();
}

void SocialPage::SetPageTexts(std::function<std::pair<QString, QString>()> texts) { pageTexts_ = std::move(texts); }

QString SocialPage::Canonical() const { return TextOf(controls_[kCanonical]); }

void SocialPage::Show(const ModernFields& fields, const ModernHead& head, const TextCodec& codec) {
    showing_ = true;
    for (int f = 0; f < kModernFieldCount; ++f) SetTextOf(controls_[f], ToQt(codec, fields[f]));
    showing_ = false;
    edited_.fill(false);
    htmlLangLabel_->setText(head.hasHtmlLang ? ToQt(codec, head.htmlLang) : msg::kNoHtmlLang);
    headDataList_->clear();
    for (const HreflangLink& link : head.hreflang)
        headDataList_->addItem(msg::HreflangItem(ToQt(codec, link.lang), ToQt(codec, link.href)));
    for (const JsonLdBlock& block : head.jsonLd)
        headDataList_->addItem(msg::JsonLdItem(QString::fromStdString(block.type), block.valid,
                                               QString::fromStdString(JsonLdErrorText(block))));
    if (headDataList_->count() == 0) headDataList_->addItem(msg::kNoHeadLists);
    UpdateCounters();
    UpdateCard();
}

ModernFields SocialPage::Read(const ModernFields& shown, const TextCodec& codec, std::size_t* references) const {
    ModernFields f = shown;
    for (int i = 0; i < kModernFieldCount; ++i) {
        if (!edited_[static_cast<std::size_t>(i)]) continue;
        // One line per value: a tag's value has no line breaks of its own.
        QString text = TextOf(controls_[i]);
        text.replace(u'\n', u' ');
        f[i] = FromQt(codec, text, references);
    }
    return f;
}

void SocialPage::changed(int field) {
    if (showing_) return;
    edited_[static_cast<std::size_t>(field)] = true;
    UpdateCounters();
    UpdateCard();
    Q_EMIT Edited();
}

void SocialPage::fillFromTitle(int titleField, int descriptionField) {
    if (!pageTexts_) return;
    const auto [title, description] = pageTexts_();
    SetTextOf(controls_[titleField], title);
    SetTextOf(controls_[descriptionField], description);
}

void SocialPage::UpdateCounters() {
    for (int f = 0; f < kModernFieldCount; ++f) {
        if (!counters_[f]) continue;
        if (auto* memo = qobject_cast<QPlainTextEdit*>(controls_[f])) counters_[f]->setText(CharacterCountText(memo));
        else counters_[f]->setText(msg::kCharacterCount.arg(TextOf(controls_[f]).size()));
    }
}

// The shared link as networks draw it: the Open Graph values, else the
// Twitter ones, else the page's own title and description.
void SocialPage::UpdateCard() {
    auto first = [this](int a, int b) {
        const QString one = TextOf(controls_[a]).simplified();
        return one.isEmpty() ? TextOf(controls_[b]).simplified() : one;
    };
    const auto page = pageTexts_ ? pageTexts_() : std::pair<QString, QString>{};
    QString title = first(kOgTitle, kTwitterTitle), description = first(kOgDescription, kTwitterDescription);
    // A card shows a few lines: a long description is not simplified whole.
    if (title.isEmpty()) title = page.first.left(300).simplified();
    if (description.isEmpty()) description = page.second.left(600).simplified();
    const QString image = first(kOgImage, kTwitterImage);
    QString site = TextOf(controls_[kOgSiteName]).simplified();
    if (site.isEmpty()) site = QUrl(first(kOgUrl, kCanonical)).host();
    cardImageLabel_->setText(image.isEmpty() ? msg::kNoImage : image);
    cardSiteLabel_->setText(site.toUpper());
    cardTitleLabel_->setText(title);
    cardDescriptionLabel_->setText(description);
}

}  // namespace veskaron::ui
