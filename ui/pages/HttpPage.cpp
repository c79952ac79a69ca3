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

    connect(CheckBoxRefrech, &QCheckBox::clicked, this, &HttpPage::refreshChanged);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &HttpPage::refreshChanged);
    connect(refreshUrlBox_, &QComboBox::editTextChanged, this, &HttpPage::refreshChanged);
    connect(CheckBoxExpiries, &QCheckBox::clicked, this, &HttpPage::expiryToggled);
    connect(DateEdit1, &QDateEdit::dateChanged, this, &HttpPage::expiryDateChanged);
    connect(DateTimePicker2, &QTimeEdit::timeChanged, this, &HttpPage::expiryDateChanged);
    connect(CheckBoxType, &QCheckBox::clicked, this, &HttpPage::contentTypeToggled);
    // First, so that the handlers below read which words still stand.
    TrackOwnWords(ComboBoxCasecontrol, static_cast<int>(ListTexts::Cache.size()));
    TrackOwnWords(ComboBoxProgma, static_cast<int>(ListTexts::Pragma.size()));
    TrackOwnWords(ComboBoxType, static_cast<int>(ItemLists::Type.size()));
    TrackOwnWords(ComboBoxLanguage, static_cast<int>(ItemLists::Language.size()));
    for (TComBox* box : ComBox) TrackOwnWords(box, kEffectCount);
    auto compare = [this] { Q_EMIT Edited(FieldEdit::Compare); };
    for (QComboBox* box : {ComboBoxCasecontrol, ComboBoxProgma, ComboBoxType, ComboBoxWin,
                           ComboBoxLanguage})
        connect(box, &QComboBox::currentIndexChanged, this, compare);
    connect(ComboBoxLocation, &QComboBox::editTextChanged, this, compare);
    for (int i = 0; i < 4; ++i) {
        connect(XPCheckBox[i], &QCheckBox::clicked, this, [this, i] { transitionToggled(i); });
        connect(SpinEdit[i], &QSpinBox::valueChanged, this, compare);
        connect(ComBox[i], &QComboBox::currentIndexChanged, this, compare);
    }
}

QWidget* HttpPage::BuildExpiryGroup() {
    CheckBoxExpiries = Named(new QCheckBox(msg::kExpiresBox), QStringLiteral("CheckBoxExpiries"),
                             msg::kExpiresHint, 13);
    DateEdit1 = Named(new QDateEdit, QStringLiteral("DateEdit1"), msg::kExpiryDateHint, 13);
    DateEdit1->setCalendarPopup(true);
    DateEdit1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateEdit1->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    DateTimePicker2 = Named(new QTimeEdit, QStringLiteral("DateTimePicker2"), msg::kExpiryTimeHint, 13);
    DateTimePicker2->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    Label32 = Caption(msg::kExpiryDateLabel, QStringLiteral("Label32"), DateEdit1);
    Label33 = Caption(msg::kExpiryTimeLabel, QStringLiteral("Label33"), DateTimePicker2);
    Label34 = Named(new QLabel, QStringLiteral("Label34"), msg::kExpiryTextHint);
    Label34->setTextInteractionFlags(Qt::TextSelectableByMouse);

    CheckBoxRefrech = Named(new QCheckBox(msg::kRefreshBox), QStringLiteral("CheckBoxRefrech"),
                            msg::kRefreshHint, 12);
    SpinEdit1 = Named(new QSpinBox, QStringLiteral("SpinEdit1"), msg::kRefreshSecondsHint, 12);
    SpinEdit1->setRange(kRefreshMin, kRefreshMax);
    Label30 = Caption(msg::kRefreshSecondsLabel, QStringLiteral("Label30"), SpinEdit1);
    Label30->setWordWrap(true);
    refreshUrlBox_ = Named(new QComboBox, QStringLiteral("ComboBoxCharset"),
                            msg::kRefreshUrlHint, 12);
    MakeHistoryBox(refreshUrlBox_);
    ComboBoxLocation = Named(new QComboBox, QStringLiteral("ComboBoxLocation"),
                             msg::kLocationHint, 16);
    MakeHistoryBox(ComboBoxLocation);

    auto* group = Group(msg::kExpiryGroup, QStringLiteral("GroupBox3"));
    auto* grid = Compact(new QGridLayout(group));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(Label32);
    dateRow->addWidget(DateEdit1);
    dateRow->addSpacing(8);
    dateRow->addWidget(Label33);
    dateRow->addWidget(DateTimePicker2);
    dateRow->addStretch();
    grid->addWidget(CheckBoxExpiries, 0, 0);
    grid->addLayout(dateRow, 0, 1);
    grid->addWidget(Label34, 1, 1);
    auto* refreshRow = new QHBoxLayout;
    refreshRow->addWidget(SpinEdit1);
    refreshRow->addWidget(Label30, 1);
    grid->addWidget(CheckBoxRefrech, 2, 0);
    grid->addLayout(refreshRow, 2, 1);
    grid->addWidget(refreshUrlBox_, 3, 1);
    grid->addWidget(Caption(msg::kLocationLabel, QStringLiteral("LabelLocation"), ComboBoxLocation), 4, 0);
    grid->addWidget(ComboBoxLocation, 4, 1);
    grid->setColumnStretch(1, 1);
    SetHelpTopic(group, 13);
    return group;
}

QWidget* HttpPage::BuildLanguageGroup() {
    CheckBoxType = Named(new QCheckBox(QStringLiteral("Content-Type")), QStringLiteral("CheckBoxType"),
                         msg::kContentTypeHint, 14);
    ComboBoxType = Named(new QComboBox, QStringLiteral("ComboBoxType"), msg::kTypeHint, 14);
    ComboBoxWin = Named(new QComboBox, QStringLiteral("ComboBoxWin"), msg::kCharsetHint, 14);
    ComboBoxLanguage = Named(new QComboBox, QStringLiteral("ComboBoxLanguage"),
                             msg::kLanguageHint, 15);
    FillItems(ComboBoxType, ItemLists::Type);
    FillItems(ComboBoxWin, ItemLists::Charset);
    FillItems(ComboBoxLanguage, ItemLists::Language);
    ComboBoxLanguage->setMaxVisibleItems(20);
    for (QComboBox* box : {ComboBoxType, ComboBoxWin, ComboBoxLanguage}) {
        box->setMinimumContentsLength(6);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    Label31 = Caption(msg::kTypeLabel, QStringLiteral("Label31"), ComboBoxType);
    Label29 = Caption(msg::kCharsetLabel, QStringLiteral("Label29"), ComboBoxWin);

    auto* group = Group(msg::kLanguageGroup, QStringLiteral("GroupBox4"));
    auto* grid = Compact(new QGridLayout(group));
    grid->addWidget(CheckBoxType, 0, 0, 1, 2);
    grid->addWidget(Label31, 1, 0);
    grid->addWidget(ComboBoxType, 1, 1);
    grid->addWidget(Label29, 2, 0);
    grid->addWidget(ComboBoxWin, 2, 1);
    grid->addWidget(Caption(msg::kLanguageLabel, QStringLiteral("LabelLanguage"), ComboBoxLanguage), 3, 0);
    grid->addWidget(ComboBoxLanguage, 3, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* HttpPage::BuildCacheGroup() {
    ComboBoxCasecontrol = Named(new QComboBox, QStringLiteral("ComboBoxCasecontrol"),
                                msg::kCacheControlHint, 10);
    ComboBoxProgma = Named(new QComboBox, QStringLiteral("ComboBoxProgma"),
                           msg::kPragmaHint, 11);
    FillItems(ComboBoxCasecontrol, ListTexts::Cache);
    FillItems(ComboBoxProgma, ListTexts::Pragma);
    // The group shares the row with the language group and grows with it.
    for (QComboBox* box : {ComboBoxCasecontrol, ComboBoxProgma}) {
        box->setMinimumContentsLength(10);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }

    auto* group = Group(msg::kCacheGroup, QStringLiteral("GroupBox5"));
    auto* grid = Compact(new QGridLayout(group));
    grid->addWidget(Caption(msg::kCacheControlLabel, QStringLiteral("LabelCache"), ComboBoxCasecontrol), 0, 0);
    grid->addWidget(ComboBoxCasecontrol, 1, 0);
    grid->addWidget(Caption(msg::kPragmaLabel, QStringLiteral("LabelPragma"), ComboBoxProgma), 2, 0);
    grid->addWidget(ComboBoxProgma, 3, 0);
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
        XPCheckBox[i] = Named(new QCheckBox(captions[i]), QStringLiteral("XPCheckBox") + n, hints[i]);
        SpinEdit[i] = Named(new QSpinBox, QStringLiteral("SpinEdit") + QString::number(i + 2),
                            msg::kDurationHint);
        SpinEdit[i]->setRange(kDurationMin, kDurationMax);
        ComBox[i] = Named(new TComBox, QStringLiteral("ComBox") + n, msg::kEffectHint);
        FillItems(ComBox[i], ListTexts::Effect);
        ComBox[i]->setMinimumContentsLength(12);
        ComBox[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        ComBox[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        QGridLayout* grid = grids[i / 2];
        Compact(grid);
        const int r = i % 2;
        grid->addWidget(XPCheckBox[i], r, 0);
        grid->addWidget(SpinEdit[i], r, 1);
        grid->addWidget(ComBox[i], r, 2);
        grid->setColumnStretch(2, 1);
    }
    // The same column widths in both groups, so the lists line up.
    const int captionWidth = std::max({XPCheckBox[0]->sizeHint().width(), XPCheckBox[1]->sizeHint().width(),
                                       XPCheckBox[2]->sizeHint().width(), XPCheckBox[3]->sizeHint().width()});
    for (QGridLayout* grid : grids) grid->setColumnMinimumWidth(0, captionWidth);
    column->addWidget(halves[0]);
    column->addWidget(halves[1]);
    return group;
}

void HttpPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The open effect list shows the whole item texts even when the box is
    // narrower; measured once the fonts are final.
    for (TComBox* box : ComBox) {
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
    f.CacheControl = ReadOwnWords(ComboBoxCasecontrol, static_cast<int>(ListTexts::Cache.size()), own(kCacheControl));
    f.Pragma = ReadOwnWords(ComboBoxProgma, static_cast<int>(ListTexts::Pragma.size()), own(kPragma));
    f.RefreshOn = CheckBoxRefrech->isChecked();
    f.SetRefreshSeconds(SpinEdit1->value());
    f.RefreshUrl = FromQt(codec, refreshUrlBox_->currentText(), refs);
    f.ExpiriesOn = CheckBoxExpiries->isChecked();
    const QDate date = DateEdit1->date();
    f.ExpiriesDate = {date.year(), date.month(), date.day()};
    const QTime time = DateTimePicker2->time();
    f.ExpiriesTime = {time.hour(), time.minute(), time.second()};
    f.ExpiriesText = FromQt(codec, Label34->text(), refs);
    f.ContentTypeOn = CheckBoxType->isChecked();
    f.ContentType = ReadOwnWords(ComboBoxType, static_cast<int>(ItemLists::Type.size()), own(kContentType));
    const int listed = static_cast<int>(ItemLists::Charset.size());
    const int charset = ComboBoxWin->currentIndex();
    f.Charset = charset >= listed ? 0 : charset;
    f.CharsetText = charset >= listed ? ComboBoxWin->currentText().toStdString() : std::string();
    f.ContentLanguage =
        ReadOwnWords(ComboBoxLanguage, static_cast<int>(ItemLists::Language.size()), own(kContentLanguage));
    f.Location = FromQt(codec, ComboBoxLocation->currentText(), refs);
    for (int i = 0; i < 4; ++i) {
        Transition& t = f.TransitionAt(i);
        t.On = XPCheckBox[i]->isChecked();
        t.SetDuration(SpinEdit[i]->value());
        t.Effect = ReadOwnWords(ComBox[i], kEffectCount, own(kPageEnter + i));
    }
}

void HttpPage::ShowCharset(const MetaFields& f) {
    const int listed = static_cast<int>(ItemLists::Charset.size());
    while (ComboBoxWin->count() > listed) ComboBoxWin->removeItem(listed);
    if (f.Charset <= 0 && !f.CharsetText.empty()) {
        ComboBoxWin->addItem(QString::fromStdString(f.CharsetText));
        ComboBoxWin->setCurrentIndex(listed);
    } else {
        SetBoxIndex(ComboBoxWin, f.Charset);
    }
}

void HttpPage::Show(const MetaFields& f, const TextCodec& codec, bool refreshUrlEnabled) {
    {
        const QSignalBlocker b1(ComboBoxCasecontrol), b2(ComboBoxProgma), b3(CheckBoxRefrech),
            b4(SpinEdit1), b5(refreshUrlBox_), b6(CheckBoxExpiries), b7(DateEdit1),
            b8(DateTimePicker2), b9(CheckBoxType), b10(ComboBoxType), b11(ComboBoxWin),
            b12(ComboBoxLanguage), b13(ComboBoxLocation);
        auto own = [&](QComboBox* box, std::size_t listed, int field, int index, bool selectOwn = false) {
            const std::string& words = f.OwnText[static_cast<std::size_t>(index)];
            ShowOwnWords(box, static_cast<int>(listed), field, words, ToQt(codec, words), selectOwn);
        };
        own(ComboBoxCasecontrol, ListTexts::Cache.size(), f.CacheControl, kCacheControl);
        own(ComboBoxProgma, ListTexts::Pragma.size(), f.Pragma, kPragma);
        CheckBoxRefrech->setChecked(f.RefreshOn);
        SpinEdit1->setValue(f.RefreshSeconds);
        if (f.RefreshUrl.empty()) refreshUrlBox_->setCurrentIndex(-1);
        SetBoxText(refreshUrlBox_, ToQt(codec, f.RefreshUrl));
        CheckBoxExpiries->setChecked(f.ExpiriesOn);
        DateEdit1->setDate(ToQDate(f.ExpiriesDate));
        DateTimePicker2->setTime(ToQTime(f.ExpiriesTime));
        Label34->setText(ToQt(codec, f.ExpiriesText));
        CheckBoxType->setChecked(f.ContentTypeOn);
        own(ComboBoxType, ItemLists::Type.size(), f.ContentType, kContentType);
        ShowCharset(f);
        own(ComboBoxLanguage, ItemLists::Language.size(), f.ContentLanguage, kContentLanguage);
        SetBoxText(ComboBoxLocation, ToQt(codec, f.Location));
        for (int i = 0; i < 4; ++i) {
            const QSignalBlocker c1(XPCheckBox[i]), c2(SpinEdit[i]), c3(ComBox[i]);
            const Transition& t = f.TransitionAt(i);
            XPCheckBox[i]->setChecked(t.On);
            SpinEdit[i]->setValue(t.Duration);
            // Every effect is a list item: words of another filter show as the page's own.
            own(ComBox[i], kEffectCount, t.Effect, kPageEnter + i, true);
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
    const bool on = CheckBoxExpiries->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Label32, DateEdit1, Label33, DateTimePicker2, Label34})
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
    const QDate date = DateEdit1->date();
    const QTime time = DateTimePicker2->time();
    const auto text = FormatExpiryText({date.year(), date.month(), date.day()},
                                       {time.hour(), time.minute(), time.second()});
    if (!text) CurrentDialogs().Error(this, FromUtf8(kDateConversionError));
    Label34->setText(QString::fromStdString(text.value_or(std::string())));
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
    const bool on = CheckBoxRefrech->isChecked();
    SpinEdit1->setEnabled(on);
    Label30->setEnabled(on);
    refreshUrlBox_->setEnabled(on);
}

void HttpPage::UpdateTypeEnabled() {
    const bool on = CheckBoxType->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Label31, ComboBoxType, Label29, ComboBoxWin})
        w->setEnabled(on);
}

void HttpPage::UpdateTransitionEnabled(int i) {
    const bool on = XPCheckBox[i]->isChecked();
    SpinEdit[i]->setEnabled(on);
    ComBox[i]->setEnabled(on);
}

}  // namespace veskaron::ui
