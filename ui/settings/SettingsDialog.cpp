#include "ui/settings/SettingsDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

#include "platform/paths.h"
#include "platform/shortcuts.h"
#include "messages/window_texts.h"
#include "messages/qt_text.h"
#include "settings/output_order.h"
#include "settings/settings_keys.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FlatStyle.h"
#include "ui/common/Widgets.h"

namespace veskaron::ui {
namespace {

using session::SettingsValues;

QCheckBox* CheckBox(const char* name, const QString& caption) {
    return Named(new QCheckBox(caption), name);
}

QGroupBox* Group(const char* name, const QString& caption, QLayout* content) {
    auto* group = Named(new QGroupBox(caption), name);
    group->setLayout(content);
    return group;
}

// A radio group box added to `into`; the button group carries the layout
// name too.
QButtonGroup* AddRadioGroup(QWidget* owner, QVBoxLayout* into, const char* name, const QString& caption,
                            const QStringList& items) {
    auto* buttons = new QButtonGroup(owner);
    buttons->setObjectName(QString::fromLatin1(name));
    into->addWidget(RadioGroup(QString::fromLatin1(name), caption, items, buttons));
    return buttons;
}

void BindBox(QObject* context, QCheckBox* box, SettingsValues& values, bool SettingsValues::*field) {
    QObject::connect(box, &QCheckBox::toggled, context, [&values, field](bool on) { values.*field = on; });
}

// The checked button's id is the value of the enum.
template <typename E>
void BindGroup(QObject* context, QButtonGroup* group, SettingsValues& values, E SettingsValues::*field) {
    QObject::connect(group, &QButtonGroup::idToggled, context, [&values, field](int id, bool checked) {
        if (checked) values.*field = static_cast<E>(id);
    });
}

template <typename E>
void Select(QButtonGroup* group, E value) {
    group->button(static_cast<int>(value))->setChecked(true);
}

// An entry wider than the list minus this gets its full text as a tip.
constexpr int kTipMargin = 19;


}  // namespace

SettingsDialog::SettingsDialog(session::Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), edited_(settings.values()) {
    setObjectName(QStringLiteral("FmSetup"));
    setWindowTitle(msg::setup::kTitle);

    pages_ = Named(new QTabWidget, "PageControl1");
    auto* general = Named(new QWidget, "TabSheet1");
    auto* meta = Named(new QWidget, "TabSheet2");
    auto* generator = Named(new QWidget, "TabSheet3");
    buildGeneralPage(general);
    buildMetaPage(meta);
    buildGeneratorPage(generator);
    pages_->addTab(general, msg::setup::kGeneralTab);
    pages_->addTab(meta, msg::setup::kMetaTab);
    pages_->addTab(generator, msg::setup::kGeneratorTab);

    okButton_ = Named(new QPushButton(QStringLiteral("Ok")), "Button2");
    cancelButton_ = Named(new QPushButton(msg::setup::kCancel), "Button3");
    okButton_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);

    connect(okButton_, &QPushButton::clicked, this, &SettingsDialog::confirm);
    connect(cancelButton_, &QPushButton::clicked, this, &SettingsDialog::reject);
    connect(moveUpButton_, &QToolButton::clicked, this, [this] { moveOrderEntry(true); });
    connect(moveDownButton_, &QToolButton::clicked, this, [this] { moveOrderEntry(false); });
    bindControls();
    showValues();
}

void SettingsDialog::buildGeneralPage(QWidget* page) {
    fileIconsBox_ = CheckBox("CheckBox2", msg::setup::kFileIcons);
    auto* maskCaption = Named(new QLabel(msg::setup::kMaskCaption),
                              "Label3");
    maskCaption->setWordWrap(true);
    maskCaption->setToolTip(msg::setup::kMaskHint);
    maskEdit_ = Named(new QLineEdit(QStringLiteral("*.htm; *.html")), "Edit1");
    maskCaption->setBuddy(maskEdit_);
    auto* files = new QVBoxLayout;
    files->addWidget(fileIconsBox_);
    files->addWidget(maskCaption);
    files->addWidget(maskEdit_);

    backupBox_ = CheckBox("CheckBoxBak", msg::setup::kBackups);
    backupBox_->setChecked(true);
    auto* backup = new QVBoxLayout;
    backup->addWidget(backupBox_);

    tabStyleBox_ = Named(new QComboBox, "ComboBoxStyle");
    tabStyleBox_->addItems({msg::setup::kTabsPlain, msg::setup::kTabsButtons,
                            msg::setup::kTabsSunken});
    auto* tabs = new QVBoxLayout;
    tabs->addWidget(tabStyleBox_);

    modemBox_ = Named(new QComboBox, "ComboBox1");
    for (const std::string_view speed : kModemSpeeds) modemBox_->addItem(FromUtf8(speed));
    modemBox_->setMaxVisibleItems(16);
    auto* modem = new QHBoxLayout;
    modem->addWidget(modemBox_, 1);
    modem->addWidget(Named(new QLabel(msg::setup::kBitsPerSecond), "Label1"));

    desktopShortcutBox_ = CheckBox("CheckBox1", msg::setup::kDesktopShortcut);
    startMenuShortcutBox_ = CheckBox("CheckBox14", msg::setup::kStartMenuShortcut);
    programsShortcutBox_ = CheckBox("CheckBox15", msg::setup::kProgramsShortcut);
    auto* icons = new QVBoxLayout;
    icons->addWidget(desktopShortcutBox_);
    icons->addWidget(startMenuShortcutBox_);
    icons->addWidget(programsShortcutBox_);

    flatStyleBox_ = CheckBox("CheckBoxXP", msg::setup::kFlatStyle);
    auto* look = new QVBoxLayout;
    look->addWidget(flatStyleBox_);

    auto* left = new QVBoxLayout;
    left->addWidget(Group("GroupBoxFileList", msg::setup::kFileListGroup, files));
    left->addWidget(Group("GroupBoxFiles", msg::setup::kFilesGroup, backup));
    left->addWidget(Group("GroupBoxTabs", msg::setup::kTabsGroup, tabs));
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(Group("GroupBoxModem", msg::setup::kModemGroup, modem));
    right->addWidget(Group("GroupBoxIcons", msg::setup::kIconsGroup, icons));
    right->addWidget(Group("GroupBoxLook", msg::setup::kLookGroup, look));
    right->addStretch();
    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
}

void SettingsDialog::buildMetaPage(QWidget* page) {
    auto* left = new QVBoxLayout;
    placementGroup_ = AddRadioGroup(this, left, "RadioGroup1", msg::setup::kPlacementGroup,
                                    {msg::setup::kPlacementStart,
                                     msg::setup::kPlacementEnd});
    attributeOrderGroup_ = AddRadioGroup(this, left, "RadioGroup2", msg::setup::kAttributeOrderGroup,
                                         {QStringLiteral("<META name=\"...\" content=\"...\">"),
                                          QStringLiteral("<META content=\"...\" name=\"...\">")});
    lineModeGroup_ = AddRadioGroup(this, left, "RadioGroup3", msg::setup::kLineModeGroup,
                                   {msg::setup::kTagPerLine, msg::setup::kOneLine});
    // As laid out: the first item of each group until the stored values are shown.
    for (QButtonGroup* group : {placementGroup_, attributeOrderGroup_, lineModeGroup_})
        group->button(0)->setChecked(true);
    left->addStretch();

    orderList_ = Named(new QListWidget, "ListBoxMETA");
    orderList_->setAccessibleName(msg::setup::kOrderGroup);
    orderList_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every entry whole as the dialog opens; should the list be made narrower,
    // an entry that no longer fits shows its full text as a tip.
    orderList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    orderList_->setTextElideMode(Qt::ElideRight);
    int entryWidth = 0;
    for (const auto& row : MakeOrderCaptions())
        entryWidth = std::max(entryWidth, orderList_->fontMetrics().horizontalAdvance(FromUtf8(row.caption)));
    orderList_->setMinimumWidth(entryWidth + kTipMargin + 8);
    orderList_->viewport()->setMouseTracking(true);
    orderList_->viewport()->installEventFilter(this);

    auto arrow = [](const char* name, Qt::ArrowType type, const QString& hint) {
        auto* button = Named(new QToolButton, name);
        button->setArrowType(type);
        button->setAutoRaise(true);
        button->setMinimumSize(26, 26);
        button->setToolTip(hint);
        button->setAccessibleName(hint);  // an arrow alone names nothing
        return button;
    };
    moveUpButton_ = arrow("SpeedButton1", Qt::UpArrow, msg::setup::kMoveUp);
    moveDownButton_ = arrow("SpeedButton2", Qt::DownArrow, msg::setup::kMoveDown);
    auto* moves = new QVBoxLayout;
    moves->addWidget(moveUpButton_);
    moves->addWidget(moveDownButton_);
    moves->addStretch();

    auto* order = new QHBoxLayout;
    order->addWidget(orderList_, 1);
    order->addLayout(moves);

    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left);
    columns->addWidget(Group("GroupBoxOrder", msg::setup::kOrderGroup, order), 1);
}

void SettingsDialog::buildGeneratorPage(QWidget* page) {
    minWordBox_ = Named(new QSpinBox, "SEMinWord");
    minWordBox_->setRange(2, 16);
    minWordBox_->setValue(4);
    auto* minWord = new QHBoxLayout;
    minWord->addWidget(Caption(msg::setup::kMinWord, QStringLiteral("Label2"), minWordBox_));
    minWord->addWidget(minWordBox_);
    minWord->addStretch();

    digitsBox_ = CheckBox("ChBox1", msg::setup::kNoDigits);
    mandatoryWordsBox_ = CheckBox("ChBox2", msg::setup::kMandatoryWords);
    confirmDeletionBox_ = CheckBox("CheckBoxQuestDelWord", msg::setup::kConfirmDeletion);
    confirmDeletionBox_->setChecked(true);
    descriptionWordsBox_ = CheckBox("CheckBox3", msg::setup::kDescriptionWords);
    altWordsBox_ = CheckBox("CheckBox4", msg::setup::kAltWords);

    auto* column = new QVBoxLayout(page);
    column->addLayout(minWord);
    for (QCheckBox* box : {digitsBox_, mandatoryWordsBox_, confirmDeletionBox_, descriptionWordsBox_, altWordsBox_})
        column->addWidget(box);
    column->addStretch();
}

// Every control writes its value into the copy the dialog edits.
void SettingsDialog::bindControls() {
    BindBox(this, fileIconsBox_, edited_, &SettingsValues::fileIcons);
    BindBox(this, backupBox_, edited_, &SettingsValues::backupFiles);
    BindBox(this, flatStyleBox_, edited_, &SettingsValues::flatStyle);
    BindBox(this, digitsBox_, edited_, &SettingsValues::digitsInWords);
    BindBox(this, mandatoryWordsBox_, edited_, &SettingsValues::addMandatoryWords);
    BindBox(this, confirmDeletionBox_, edited_, &SettingsValues::confirmWordDeletion);
    BindBox(this, descriptionWordsBox_, edited_, &SettingsValues::wordsFromDescription);
    BindBox(this, altWordsBox_, edited_, &SettingsValues::wordsFromAlt);
    BindGroup(this, placementGroup_, edited_, &SettingsValues::placement);
    BindGroup(this, attributeOrderGroup_, edited_, &SettingsValues::attributeOrder);
    BindGroup(this, lineModeGroup_, edited_, &SettingsValues::lineMode);
    connect(maskEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { edited_.fileMask = text.toStdString(); });
    connect(tabStyleBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) edited_.tabStyle = static_cast<session::TabStyle>(index);
    });
    connect(modemBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) edited_.modemSpeed = modemBox_->itemText(index).toInt();
    });
    connect(minWordBox_, &QSpinBox::valueChanged, this, [this](int length) { edited_.minWordLength = length; });
    // Setting a box from the stored wish writes the shortcut, as a click does.
    connect(desktopShortcutBox_, &QCheckBox::toggled, this, [this] {
        shortcutToggled(*desktopShortcutBox_, "Desktop", &session::ShortcutWishes::desktop);
    });
    connect(startMenuShortcutBox_, &QCheckBox::toggled, this, [this] {
        shortcutToggled(*startMenuShortcutBox_, "Start Menu", &session::ShortcutWishes::startMenu);
    });
    connect(programsShortcutBox_, &QCheckBox::toggled, this, [this] {
        shortcutToggled(*programsShortcutBox_, "Programs", &session::ShortcutWishes::programs);
    });
}

// Once, at creation: the controls show the settings as the run starts.
void SettingsDialog::showValues() {
    const SettingsValues shown = edited_;
    modemBox_->setCurrentIndex(ModemIndex(shown.modemSpeed));
    Select(placementGroup_, shown.placement);
    Select(attributeOrderGroup_, shown.attributeOrder);
    tabStyleBox_->setCurrentIndex(static_cast<int>(shown.tabStyle));
    // A stored wish rewrites its shortcut with the current program path.
    desktopShortcutBox_->setChecked(shown.shortcuts.desktop);
    startMenuShortcutBox_->setChecked(shown.shortcuts.startMenu);
    programsShortcutBox_->setChecked(shown.shortcuts.programs);

    flatStyleBox_->setChecked(shown.flatStyle);
    digitsBox_->setChecked(shown.digitsInWords);
    mandatoryWordsBox_->setChecked(shown.addMandatoryWords);
    maskEdit_->setText(QString::fromStdString(shown.fileMask));
    fileIconsBox_->setChecked(shown.fileIcons);
    descriptionWordsBox_->setChecked(shown.wordsFromDescription);
    altWordsBox_->setChecked(shown.wordsFromAlt);
    confirmDeletionBox_->setChecked(shown.confirmWordDeletion);
    backupBox_->setChecked(shown.backupFiles);
    Select(lineModeGroup_, shown.lineMode);
    minWordBox_->setValue(shown.minWordLength);
    ApplyFlatStyle(shown.flatStyle);
    fillOrderList();
}

void SettingsDialog::fillOrderList() {
    orderList_->clear();
    const OrderCaptionTable captions = MakeOrderCaptions();
    for (const std::int32_t index : edited_.outputOrder)
        orderList_->addItem(FromUtf8(captions[static_cast<std::size_t>(index)].caption));
}

void SettingsDialog::ShowModal() { CurrentDialogs().ExecModal(*this); }

void SettingsDialog::confirm() {
    settings_.commit(edited_);  // a store failure is reported by the store
    ApplyFlatStyle(settings_.values().flatStyle);
    Q_EMIT confirmed();
    accept();
}

void SettingsDialog::reject() {
    settings_.keepForRun(edited_);
    QDialog::reject();
}

void SettingsDialog::moveOrderEntry(bool up) {
    if (orderList_->count() < 1) return;
    const QList<QListWidgetItem*> selected = orderList_->selectedItems();
    const int from = selected.isEmpty() ? -1 : orderList_->row(selected.first());
    const int to = up ? MoveOrderUp(edited_.outputOrder, from) : MoveOrderDown(edited_.outputOrder, from);
    if (to == from) return;
    orderList_->insertItem(to, orderList_->takeItem(from));
    orderList_->setCurrentRow(to);
}

void SettingsDialog::shortcutToggled(const QCheckBox& box, const char* folderName,
                               bool session::ShortcutWishes::*wish) {
    edited_.shortcuts.*wish = box.isChecked();
    const std::string folder = ShortcutFolder(folderName);
    const std::string_view fileName = ShortcutFileName(folderName);
    shortcutPath_ = ShortcutFilePath(folder, fileName);
    // Nothing is reported: a folder that cannot be made skips the shortcut.
    const session::ShortcutWishes& w = edited_.shortcuts;
    if (box.isChecked()) {
        WriteShortcut(folder, ProgramFilePath(), fileName);
    } else if (!ShortcutWanted(folderName, w.desktop, w.startMenu, w.programs)) {
        DeleteShortcut(folder, fileName);
    }
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == orderList_->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            lastListY_ = static_cast<QMouseEvent*>(event)->position().toPoint().y();
        } else if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            lastListY_ = help->pos().y();
            return showLongEntryTip(help->pos(), help->globalPos());
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool SettingsDialog::showLongEntryTip(const QPoint& pos, const QPoint& globalPos) {
    QWidget* viewport = orderList_->viewport();
    const QModelIndex index = orderList_->indexAt(QPoint(0, pos.y()));
    const QString text = index.isValid() ? index.data().toString() : QString();
    if (text.isEmpty() ||
        orderList_->fontMetrics().horizontalAdvance(text) <= orderList_->width() - kTipMargin) {
        QToolTip::hideText();
        return true;
    }
    // The entry's row across the list: the tip stays while the pointer does.
    const QRect entry(0, orderList_->visualRect(index).top(), viewport->width(),
                      orderList_->visualRect(index).height());
    const QPoint at = viewport->mapToGlobal(entry.topLeft() + QPoint(2, -3));
    QToolTip::showText(globalPos, text, viewport, entry);
    // Over the entry itself rather than below the pointer. The tip lets the
    // pointer through first: a window under the pointer would make the list
    // lose it and the tip would close at once.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->inherits("QTipLabel") || !w->isVisible()) continue;
        if (QWindow* window = w->windowHandle()) window->setFlag(Qt::WindowTransparentForInput);
        w->move(at);
    }
    return true;
}

}  // namespace veskaron::ui
