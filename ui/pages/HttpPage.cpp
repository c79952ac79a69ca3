#include "ui/pages/HttpPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QTimeEdit>
#include <QAbstractItemView>
#include <QVBoxLayout>
#include <algorithm>

#include "messages/window_texts.h"
#include "controls/ComBox.h"
#include "engine/catalogue.h"
#include "messages/catalogue_texts.h"
#include "engine/expiry.h"
#include "messages/page_texts.h"
#include "ui/common/Dialogs.h"
#include "ui/pages/DocText.h"
#include "ui/common/Hints.h"
#include "ui/common/Widgets.h"

namespace veskaron::ui {
namespace {

QGroupBox* Group(const QString& title, const QString& name) { return Named(new QGroupBox(title), name); }

// The page holds many rows: keep the groups' own margins small so it fits
// the window's normal size.
template <typename L>
L* Compact(L* layout) {
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    return layout;
}

QDate ToQDate(const Date& d) { return QDate(d.year, d.month, d.day); }
QTime ToQTime(const TimeOfDay& t) { return QTime(t.hour, t.minute, t.second); }

}  // namespace

HttpPage::HttpPage(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    layout->addWidget(BuildExpiryGroup());
    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildLanguageGroup(), 1);
    middle->addWidget(BuildCacheGroup(), 1);
    layout->addLayout(middle);
    layout->addWidget(BuildEffectsGroup());
    // Room to spare goes below the groups, not between their rows.
    layout->addStretch(1);

    connect(refreshBox_, &QCheckBox::clicked, this, &HttpPage::refreshChanged);
    connect(refreshSecondsBox_, &QSpinBox::valueChanged, this, &HttpPage::refreshChanged);
    connect(refreshUrlBox_, &QComboBox::editTextChanged, this, &HttpPage::refreshChanged);
    connect(expiryBox_, &QCheckBox::clicked, this, &HttpPage::expiryToggled);
    connect(expiryDateEdit_, &QDateEdit::dateChanged, this, &HttpPage::expiryDateChanged);
    connect(expiryTimeEdit_, &QTimeEdit::timeChanged, this, &HttpPage::expiryDateChanged);
    connect(contentTypeBox_, &QCheckBox::clicked, this, &HttpPage::contentTypeToggled);
    // First, so that the handlers below read which words still stand.
    TrackOwnWords(cacheControlBox_, static_cast<int>(ListTexts::Cache.size()));
    TrackOwnWords(pragmaBox_, static_cast<int>(ListTexts::Pragma.size()));
    TrackOwnWords(typeBox_, static_cast<int>(ItemLists::Type.size()));
    TrackOwnWords(languageBox_, static_cast<int>(ItemLists::Language.size()));
    for (TComBox* box : effectBoxes_) TrackOwnWords(box, kEffectCount);
    auto compare = [this] { Q_EMIT Edited(FieldEdit::Compare); };
    for (QComboBox* box : {cacheControlBox_, pragmaBox_, typeBox_, charsetBox_, languageBox_})
        connect(box, &QComboBox::currentIndexChanged, this, compare);
    connect(locationBox_, &QComboBox::editTextChanged, this, compare);
    for (int i = 0; i < 4; ++i) {
        connect(transitionBoxes_[i], &QCheckBox::clicked, this, [this, i] { transitionToggled(i); });
        connect(durationBoxes_[i], &QSpinBox::valueChanged, this, compare);
        connect(effectBoxes_[i], &QComboBox::currentIndexChanged, this, compare);
    }
}

QWidget* HttpPage::BuildExpiryGroup() {
    expiryBox_ = Named(new QCheckBox(msg::kExpiresBox), QStringLiteral("CheckBoxExpiries"),
                       msg::kExpiresHint, 13);
    expiryDateEdit_ = Named(new QDateEdit, QStringLiteral("DateEdit1"), msg::kExpiryDateHint, 13);
    expiryDateEdit_->setCalendarPopup(true);
    expiryDateEdit_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    expiryDateEdit_->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    expiryTimeEdit_ = Named(new QTimeEdit, QStringLiteral("DateTimePicker2"), msg::kExpiryTimeHint, 13);
    expiryTimeEdit_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    expiryDateLabel_ = Caption(msg::kExpiryDateLabel, QStringLiteral("Label32"), expiryDateEdit_);
    expiryTimeLabel_ = Caption(msg::kExpiryTimeLabel, QStringLiteral("Label33"), expiryTimeEdit_);
    expiryTextLabel_ = Named(new QLabel, QStringLiteral("Label34"), msg::kExpiryTextHint);
    expiryTextLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    refreshBox_ = Named(new QCheckBox(msg::kRefreshBox), QStringLiteral("CheckBoxRefrech"),
                        msg::kRefreshHint, 12);
    refreshSecondsBox_ = Named(new QSpinBox, QStringLiteral("SpinEdit1"), msg::kRefreshSecondsHint, 12);
    refreshSecondsBox_->setRange(kRefreshMin, kRefreshMax);
    refreshSecondsLabel_ =
        Caption(msg::kRefreshSecondsLabel, QStringLiteral("Label30"), refreshSecondsBox_);
    refreshSecondsLabel_->setWordWrap(true);
    refreshUrlBox_ = Named(new QComboBox, QStringLiteral("ComboBoxCharset"),
                            msg::kRefreshUrlHint, 12);
    MakeHistoryBox(refreshUrlBox_);
    locationBox_ = Named(new QComboBox, QStringLiteral("ComboBoxLocation"),
                         msg::kLocationHint, 16);
    MakeHistoryBox(locationBox_);

    auto* group = Group(msg::kExpiryGroup, QStringLiteral("GroupBox3"));
    auto* grid = Compact(new QGridLayout(group));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(expiryDateLabel_);
    dateRow->addWidget(expiryDateEdit_);
    dateRow->addSpacing(8);
    dateRow->addWidget(expiryTimeLabel_);
    dateRow->addWidget(expiryTimeEdit_);
    dateRow->addStretch();
    grid->addWidget(expiryBox_, 0, 0);
    grid->addLayout(dateRow, 0, 1);
    grid->addWidget(expiryTextLabel_, 1, 1);
    auto* refreshRow = new QHBoxLayout;
    refreshRow->addWidget(refreshSecondsBox_);
    refreshRow->addWidget(refreshSecondsLabel_, 1);
    grid->addWidget(refreshBox_, 2, 0);
    grid->addLayout(refreshRow, 2, 1);
    grid->addWidget(refreshUrlBox_, 3, 1);
    grid->addWidget(Caption(msg::kLocationLabel, QStringLiteral("LabelLocation"), locationBox_), 4, 0);
    grid->addWidget(locationBox_, 4, 1);
    grid->setColumnStretch(1, 1);
    SetHelpTopic(group, 13);
    return group;
}

QWidget* HttpPage::BuildLanguageGroup() {
    contentTypeBox_ = Named(new QCheckBox(QStringLiteral("Content-Type")), QStringLiteral("CheckBoxType"),
                            msg::kContentTypeHint, 14);
    typeBox_ = Named(new QComboBox, QStringLiteral("ComboBoxType"), msg::kTypeHint, 14);
    charsetBox_ = Named(new QComboBox, QStringLiteral("ComboBoxWin"), msg::kCharsetHint, 14);
    languageBox_ = Named(new QComboBox, QStringLiteral("ComboBoxLanguage"),
                         msg::kLanguageHint, 15);
    FillItems(typeBox_, ItemLists::Type);
    FillItems(charsetBox_, ItemLists::Charset);
    FillItems(languageBox_, ItemLists::Language);
    languageBox_->setMaxVisibleItems(20);
    for (QComboBox* box : {typeBox_, charsetBox_, languageBox_}) {
        box->setMinimumContentsLength(6);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    typeLabel_ = Caption(msg::kTypeLabel, QStringLiteral("Label31"), typeBox_);
    charsetLabel_ = Caption(msg::kCharsetLabel, QStringLiteral("Label29"), charsetBox_);

    auto* group = Group(msg::kLanguageGroup, QStringLiteral("GroupBox4"));
    auto* grid = Compact(new QGridLayout(group));
    grid->addWidget(contentTypeBox_, 0, 0, 1, 2);
    grid->addWidget(typeLabel_, 1, 0);
    grid->addWidget(typeBox_, 1, 1);
    grid->addWidget(charsetLabel_, 2, 0);
    grid->addWidget(charsetBox_, 2, 1);
    grid->addWidget(Caption(msg::kLanguageLabel, QStringLiteral("LabelLanguage"), languageBox_), 3, 0);
    grid->addWidget(languageBox_, 3, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* HttpPage::BuildCacheGroup() {
    cacheControlBox_ = Named(new QComboBox, QStringLiteral("ComboBoxCasecontrol"),
                             msg::kCacheControlHint, 10);
    pragmaBox_ = Named(new QComboBox, QStringLiteral("ComboBoxProgma"),
                       msg::kPragmaHint, 11);
    FillItems(cacheControlBox_, ListTexts::Cache);
    FillItems(pragmaBox_, ListTexts::Pragma);
    // The group shares the row with the language group and grows with it.
    for (QComboBox* box : {cacheControlBox_, pragmaBox_}) {
        box->setMinimumContentsLength(10);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }

    auto* group = Group(msg::kCacheGroup, QStringLiteral("GroupBox5"));
    auto* grid = Compact(new QGridLayout(group));
    grid->addWidget(Caption(msg::kCacheControlLabel, QStringLiteral("LabelCache"), cacheControlBox_), 0, 0);
    grid->addWidget(cacheControlBox_, 1, 0);
    grid->addWidget(Caption(msg::kPragmaLabel, QStringLiteral("LabelPragma"), pragmaBox_), 2, 0);
    grid->addWidget(pragmaBox_, 3, 0);
    grid->setRowStretch(4, 1);
    return group;
}

QWidget* HttpPage::BuildEffectsGroup() {
    const QString captions[4] = {msg::kPageEnterBox, msg::kPageExitBox,
                                 msg::kSiteEnterBox, msg::kSiteExitBox};
    const QString hints[4] = {
        msg::kPageEnterHint,
        msg::kPageExitHint,
        msg::kSiteEnterHint,
        msg::kSiteExitHint,
    };
    // Page and site one above the other, so each effect list gets the
    // page's width for its long item texts.
    auto* group = Group(msg::kEffectsGroup, QStringLiteral("GroupBox6"));
    auto* column = Compact(new QVBoxLayout(group));
    QGroupBox* halves[2] = {Group(msg::kPageEffectsGroup, QStringLiteral("GroupBox7")),
                            Group(msg::kSiteEffectsGroup, QStringLiteral("GroupBox8"))};
    QGridLayout* grids[2] = {new QGridLayout(halves[0]), new QGridLayout(halves[1])};
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        transitionBoxes_[i] = Named(new QCheckBox(captions[i]), QStringLiteral("XPCheckBox") + n, hints[i]);
        durationBoxes_[i] = Named(new QSpinBox, QStringLiteral("SpinEdit") + QString::number(i + 2),
                                  msg::kDurationHint);
        durationBoxes_[i]->setRange(kDurationMin, kDurationMax);
        effectBoxes_[i] = Named(new TComBox, QStringLiteral("ComBox") + n, msg::kEffectHint);
        FillItems(effectBoxes_[i], ListTexts::Effect);
        effectBoxes_[i]->setMinimumContentsLength(12);
        effectBoxes_[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        effectBoxes_[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        QGridLayout* grid = grids[i / 2];
        Compact(grid);
        const int r = i % 2;
        grid->addWidget(transitionBoxes_[i], r, 0);
        grid->addWidget(durationBoxes_[i], r, 1);
        grid->addWidget(effectBoxes_[i], r, 2);
        grid->setColumnStretch(2, 1);
    }
    // The same column widths in both groups, so the lists line up.
    const int captionWidth =
        std::max({transitionBoxes_[0]->sizeHint().width(), transitionBoxes_[1]->sizeHint().width(),
                  transitionBoxes_[2]->sizeHint().width(), transitionBoxes_[3]->sizeHint().width()});
    for (QGridLayout* grid : grids) grid->setColumnMinimumWidth(0, captionWidth);
    column->addWidget(halves[0]);
    column->addWidget(halves[1]);
    return group;
}

void HttpPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The open effect list shows the whole item texts even when the box is
    // narrower; measured once the fonts are final.
    for (TComBox* box : effectBoxes_) {
        QAbstractItemView* view = box->view();
        view->ensurePolished();
        int widest = 0;
        for (int i = 0; i < box->count(); ++i)
            widest = std::max(widest, view->fontMetrics().horizontalAdvance(box->itemText(i)));
        view->setMinimumWidth(widest + 2 * view->frameWidth() + 32);
    }
}

void HttpPage::ReadInto(MetaFields& f, const TextCodec& codec, std::size_t* refs) const {
    auto own = [&f](int index) -> std::string& { return f.OwnText[static_cast<std::size_t>(index)]; };
    f.CacheControl = ReadOwnWords(cacheControlBox_, static_cast<int>(ListTexts::Cache.size()), own(kCacheControl));
    f.Pragma = ReadOwnWords(pragmaBox_, static_cast<int>(ListTexts::Pragma.size()), own(kPragma));
    f.RefreshOn = refreshBox_->isChecked();
    f.SetRefreshSeconds(refreshSecondsBox_->value());
    f.RefreshUrl = FromQt(codec, refreshUrlBox_->currentText(), refs);
    f.ExpiriesOn = expiryBox_->isChecked();
    const QDate date = expiryDateEdit_->date();
    f.ExpiriesDate = {date.year(), date.month(), date.day()};
    const QTime time = expiryTimeEdit_->time();
    f.ExpiriesTime = {time.hour(), time.minute(), time.second()};
    f.ExpiriesText = FromQt(codec, expiryTextLabel_->text(), refs);
    f.ContentTypeOn = contentTypeBox_->isChecked();
    f.ContentType = ReadOwnWords(typeBox_, static_cast<int>(ItemLists::Type.size()), own(kContentType));
    const int listed = static_cast<int>(ItemLists::Charset.size());
    const int charset = charsetBox_->currentIndex();
    f.Charset = charset >= listed ? 0 : charset;
    f.CharsetText = charset >= listed ? charsetBox_->currentText().toStdString() : std::string();
    f.ContentLanguage =
        ReadOwnWords(languageBox_, static_cast<int>(ItemLists::Language.size()), own(kContentLanguage));
    f.Location = FromQt(codec, locationBox_->currentText(), refs);
    for (int i = 0; i < 4; ++i) {
        Transition& t = f.TransitionAt(i);
        t.On = transitionBoxes_[i]->isChecked();
        t.SetDuration(durationBoxes_[i]->value());
        t.Effect = ReadOwnWords(effectBoxes_[i], kEffectCount, own(kPageEnter + i));
    }
}

void HttpPage::ShowCharset(const MetaFields& f) {
    const int listed = static_cast<int>(ItemLists::Charset.size());
    while (charsetBox_->count() > listed) charsetBox_->removeItem(listed);
    if (f.Charset <= 0 && !f.CharsetText.empty()) {
        charsetBox_->addItem(QString::fromStdString(f.CharsetText));
        charsetBox_->setCurrentIndex(listed);
    } else {
        SetBoxIndex(charsetBox_, f.Charset);
    }
}

void HttpPage::Show(const MetaFields& f, const TextCodec& codec, bool refreshUrlEnabled) {
    {
        const QSignalBlocker b1(cacheControlBox_), b2(pragmaBox_), b3(refreshBox_),
            b4(refreshSecondsBox_), b5(refreshUrlBox_), b6(expiryBox_), b7(expiryDateEdit_),
            b8(expiryTimeEdit_), b9(contentTypeBox_), b10(typeBox_), b11(charsetBox_),
            b12(languageBox_), b13(locationBox_);
        auto own = [&](QComboBox* box, std::size_t listed, int field, int index, bool selectOwn = false) {
            const std::string& words = f.OwnText[static_cast<std::size_t>(index)];
            ShowOwnWords(box, static_cast<int>(listed), field, words, ToQt(codec, words), selectOwn);
        };
        own(cacheControlBox_, ListTexts::Cache.size(), f.CacheControl, kCacheControl);
        own(pragmaBox_, ListTexts::Pragma.size(), f.Pragma, kPragma);
        refreshBox_->setChecked(f.RefreshOn);
        refreshSecondsBox_->setValue(f.RefreshSeconds);
        if (f.RefreshUrl.empty()) refreshUrlBox_->setCurrentIndex(-1);
        SetBoxText(refreshUrlBox_, ToQt(codec, f.RefreshUrl));
        expiryBox_->setChecked(f.ExpiriesOn);
        expiryDateEdit_->setDate(ToQDate(f.ExpiriesDate));
        expiryTimeEdit_->setTime(ToQTime(f.ExpiriesTime));
        expiryTextLabel_->setText(ToQt(codec, f.ExpiriesText));
        contentTypeBox_->setChecked(f.ContentTypeOn);
        own(typeBox_, ItemLists::Type.size(), f.ContentType, kContentType);
        ShowCharset(f);
        own(languageBox_, ItemLists::Language.size(), f.ContentLanguage, kContentLanguage);
        SetBoxText(locationBox_, ToQt(codec, f.Location));
        for (int i = 0; i < 4; ++i) {
            const QSignalBlocker c1(transitionBoxes_[i]), c2(durationBoxes_[i]), c3(effectBoxes_[i]);
            const Transition& t = f.TransitionAt(i);
            transitionBoxes_[i]->setChecked(t.On);
            durationBoxes_[i]->setValue(t.Duration);
            // Every effect is a list item: words of another filter show as the page's own.
            own(effectBoxes_[i], kEffectCount, t.Effect, kPageEnter + i, true);
        }
    }
    UpdateRefreshEnabled();
    refreshUrlBox_->setEnabled(refreshUrlEnabled);
    UpdateTypeEnabled();
    SyncExpiryControls();
    for (int i = 0; i < 4; ++i) UpdateTransitionEnabled(i);
}

void HttpPage::ShowFresh(const DateTime& now, const TextCodec& codec) {
    MetaFields fresh = FreshFields(now);
    if (auto text = FormatExpiryText(fresh.ExpiriesDate, fresh.ExpiriesTime)) fresh.ExpiriesText = *text;
    Show(fresh, codec, false);
}

void HttpPage::SyncExpiryControls() {
    const bool on = expiryBox_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{expiryDateLabel_, expiryDateEdit_, expiryTimeLabel_,
                                                      expiryTimeEdit_, expiryTextLabel_})
        w->setEnabled(on);
}

void HttpPage::refreshChanged() {
    UpdateRefreshEnabled();
    Q_EMIT Edited(FieldEdit::Refresh);
}

void HttpPage::expiryToggled() {
    SyncExpiryControls();
    Q_EMIT Edited(FieldEdit::Expiry);
}

void HttpPage::expiryDateChanged() {
    const QDate date = expiryDateEdit_->date();
    const QTime time = expiryTimeEdit_->time();
    const auto text = FormatExpiryText({date.year(), date.month(), date.day()},
                                       {time.hour(), time.minute(), time.second()});
    if (!text) CurrentDialogs().Error(this, FromUtf8(kDateConversionError));
    expiryTextLabel_->setText(QString::fromStdString(text.value_or(std::string())));
    SyncExpiryControls();
    Q_EMIT Edited(FieldEdit::Expiry);
}

void HttpPage::contentTypeToggled() {
    UpdateTypeEnabled();
    Q_EMIT Edited(FieldEdit::ContentType);
}

void HttpPage::transitionToggled(int i) {
    UpdateTransitionEnabled(i);
    Q_EMIT Edited(FieldEdit::Compare);
}

void HttpPage::UpdateRefreshEnabled() {
    const bool on = refreshBox_->isChecked();
    refreshSecondsBox_->setEnabled(on);
    refreshSecondsLabel_->setEnabled(on);
    refreshUrlBox_->setEnabled(on);
}

void HttpPage::UpdateTypeEnabled() {
    const bool on = contentTypeBox_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{typeLabel_, typeBox_, charsetLabel_, charsetBox_})
        w->setEnabled(on);
}

void HttpPage::UpdateTransitionEnabled(int i) {
    const bool on = transitionBoxes_[i]->isChecked();
    durationBoxes_[i]->setEnabled(on);
    effectBoxes_[i]->setEnabled(on);
}

}  // namespace veskaron::ui
