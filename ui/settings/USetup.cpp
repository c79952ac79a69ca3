#include "ui/settings/USetup.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
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
#include "settings/output_order.h"
#include "settings/settings_keys.h"
#include "settings/setup_values.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FlatStyle.h"

namespace veskaron::ui {
namespace {

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QCheckBox* CheckBox(const char* name, const QString& caption) {
    return Named(new QCheckBox(caption), name);
}

QGroupBox* Group(const char* name, const QString& caption, QLayout* content) {
    auto* group = Named(new QGroupBox(caption), name);
    group->setLayout(content);
    return group;
}

// A group box of radio buttons whose ids are the item indices.
QButtonGroup* RadioGroup(QWidget* owner, QVBoxLayout* into, const char* name,
                         const QString& caption, const QStringList& items) {
    auto* box = Named(new QGroupBox(caption), name);
    auto* column = new QVBoxLayout(box);
    auto* buttons = Named(new QButtonGroup(owner), name);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i]);
        button->setObjectName(QStringLiteral("%1Item%2").arg(QLatin1String(name)).arg(i));
        buttons->addButton(button, i);
        column->addWidget(button);
    }
    buttons->button(0)->setChecked(true);
    into->addWidget(box);
    return buttons;
}

// A stored index past the last item selects the last one, a negative one
// none, so "any value but 0" keeps its meaning for the readers of the group.
void SelectIndex(QButtonGroup& group, int index) {
    const int last = static_cast<int>(group.buttons().size()) - 1;
    if (index >= 0) {
        group.button(std::min(index, last))->setChecked(true);
        return;
    }
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons()) button->setChecked(false);
    group.setExclusive(true);
}

// An entry wider than the list minus this gets its full text as a tip.
constexpr int kTipMargin = 19;

QString Qt8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

TFmSetup::TFmSetup(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FmSetup"));
    setWindowTitle(QStringLiteral("Установки"));

    PageControl1 = Named(new QTabWidget, "PageControl1");
    auto* general = Named(new QWidget, "TabSheet1");
    auto* meta = Named(new QWidget, "TabSheet2");
    auto* generator = Named(new QWidget, "TabSheet3");
    BuildGeneralPage(general);
    BuildMetaPage(meta);
    BuildGeneratorPage(generator);
    PageControl1->addTab(general, QStringLiteral("Общие"));
    PageControl1->addTab(meta, QStringLiteral("Сохранение МЕТА"));
    PageControl1->addTab(generator, QStringLiteral("Генератор"));

    Button2 = Named(new QPushButton(QStringLiteral("Ok")), "Button2");
    Button3 = Named(new QPushButton(QStringLiteral("Отмена")), "Button3");
    Button2->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);

    connect(Button2, &QPushButton::clicked, this, &TFmSetup::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFmSetup::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFmSetup::SpeedButton2Click);
    // Setting a box from the stored value runs its handler too, as a click does.
    connect(CheckBox1, &QCheckBox::toggled, this, &TFmSetup::CheckBox1Click);
    connect(CheckBox14, &QCheckBox::toggled, this, &TFmSetup::CheckBox14Click);
    connect(CheckBox15, &QCheckBox::toggled, this, &TFmSetup::CheckBox15Click);

    FormCreate();
}

void TFmSetup::BuildGeneralPage(QWidget* page) {
    CheckBox2 = CheckBox("CheckBox2", QStringLiteral("Показывать пиктограммы файлов"));
    Label3 = Named(new QLabel(QStringLiteral(
                       "Строка задания расширений редактируемых файлов: (*.htm; *.html)")),
                   "Label3");
    Label3->setWordWrap(true);
    Label3->setToolTip(QStringLiteral("Разделитель - точка с запятой"));
    Edit1 = Named(new QLineEdit(QStringLiteral("*.htm; *.html")), "Edit1");
    Label3->setBuddy(Edit1);
    auto* files = new QVBoxLayout;
    files->addWidget(CheckBox2);
    files->addWidget(Label3);
    files->addWidget(Edit1);

    CheckBoxBak = CheckBox("CheckBoxBak", QStringLiteral("Создавать резервные копии (*.bak)"));
    CheckBoxBak->setChecked(true);
    auto* backup = new QVBoxLayout;
    backup->addWidget(CheckBoxBak);

    ComboBoxStyle = Named(new QComboBox, "ComboBoxStyle");
    ComboBoxStyle->addItems({QStringLiteral("Обычный"), QStringLiteral("Кнопки"),
                             QStringLiteral("Утопленные кнопки")});
    auto* tabs = new QVBoxLayout;
    tabs->addWidget(ComboBoxStyle);

    ComboBox1 = Named(new QComboBox, "ComboBox1");
    for (const std::string_view speed : kModemSpeeds) ComboBox1->addItem(Qt8(speed));
    ComboBox1->setMaxVisibleItems(16);
    auto* modem = new QHBoxLayout;
    modem->addWidget(ComboBox1, 1);
    modem->addWidget(Named(new QLabel(QStringLiteral("бит/с")), "Label1"));

    CheckBox1 = CheckBox("CheckBox1", QStringLiteral("на \"Рабочий стол\""));
    CheckBox14 = CheckBox("CheckBox14", QStringLiteral("в меню \"Пуск\""));
    CheckBox15 = CheckBox("CheckBox15", QStringLiteral("в меню \"Программы\""));
    auto* icons = new QVBoxLayout;
    icons->addWidget(CheckBox1);
    icons->addWidget(CheckBox14);
    icons->addWidget(CheckBox15);

    CheckBoxXP = CheckBox("CheckBoxXP", QStringLiteral("Стиль XP"));
    auto* look = new QVBoxLayout;
    look->addWidget(CheckBoxXP);

    auto* left = new QVBoxLayout;
    left->addWidget(Group("GroupBoxFileList", QStringLiteral("Список файлов"), files));
    left->addWidget(Group("GroupBoxFiles", QStringLiteral("Файлы : "), backup));
    left->addWidget(Group("GroupBoxTabs", QStringLiteral("Вид вкладок"), tabs));
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(Group("GroupBoxModem", QStringLiteral("Скорость модема"), modem));
    right->addWidget(Group("GroupBoxIcons", QStringLiteral("Вывести иконки программы:"), icons));
    right->addWidget(Group("GroupBoxLook", QStringLiteral("Оформление"), look));
    right->addStretch();
    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
}

void TFmSetup::BuildMetaPage(QWidget* page) {
    auto* left = new QVBoxLayout;
    RadioGroup1 = RadioGroup(this, left, "RadioGroup1", QStringLiteral("Вставка новых МЕТА тегов: "),
                             {QStringLiteral("Впереди заголовка (Рекомендуется)"),
                              QStringLiteral("Сзади заголовка")});
    RadioGroup2 = RadioGroup(this, left, "RadioGroup2", QStringLiteral("Размещение content в строке "),
                             {QStringLiteral("<META name=\"...\" content=\"...\">"),
                              QStringLiteral("<META content=\"...\" name=\"...\">")});
    RadioGroup3 = RadioGroup(this, left, "RadioGroup3", QStringLiteral("Всталять МЕТА в документ : "),
                             {QStringLiteral("Построчно"), QStringLiteral("В одну строку")});
    left->addStretch();

    ListBoxMETA = Named(new QListWidget, "ListBoxMETA");
    ListBoxMETA->setAccessibleName(QStringLiteral("Порядок вывода строк:"));
    ListBoxMETA->setSelectionMode(QAbstractItemView::SingleSelection);
    // Narrow on purpose: entries that do not fit show their full text as a tip.
    ListBoxMETA->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBoxMETA->setTextElideMode(Qt::ElideRight);
    // Wide enough for every "name" entry; the longer "http-equiv" ones show
    // their full text as a tip, and the list takes the width the dialog grows by.
    int nameWidth = 0;
    for (const auto& row : MakeOrderCaptions()) {
        const QString caption = Qt8(row.caption);
        if (caption.startsWith(QLatin1String("name")))
            nameWidth = std::max(nameWidth, ListBoxMETA->fontMetrics().horizontalAdvance(caption));
    }
    ListBoxMETA->setMinimumWidth(nameWidth + kTipMargin + 8);
    ListBoxMETA->viewport()->setMouseTracking(true);
    ListBoxMETA->viewport()->installEventFilter(this);

    SpeedButton1 = Named(new QToolButton, "SpeedButton1");
    SpeedButton1->setArrowType(Qt::UpArrow);
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setMinimumSize(26, 26);
    SpeedButton1->setToolTip(QStringLiteral("Переместить вверх"));
    SpeedButton1->setAccessibleName(SpeedButton1->toolTip());  // an arrow alone names nothing
    SpeedButton2 = Named(new QToolButton, "SpeedButton2");
    SpeedButton2->setArrowType(Qt::DownArrow);
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setMinimumSize(26, 26);
    SpeedButton2->setToolTip(QStringLiteral("Переместить вниз"));
    SpeedButton2->setAccessibleName(SpeedButton2->toolTip());  // an arrow alone names nothing
    auto* moves = new QVBoxLayout;
    moves->addWidget(SpeedButton1);
    moves->addWidget(SpeedButton2);
    moves->addStretch();

    auto* order = new QHBoxLayout;
    order->addWidget(ListBoxMETA, 1);
    order->addLayout(moves);

    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left);
    columns->addWidget(Group("GroupBoxOrder", QStringLiteral("Порядок вывода строк:"), order), 1);
}

void TFmSetup::BuildGeneratorPage(QWidget* page) {
    SEMinWord = Named(new QSpinBox, "SEMinWord");
    SEMinWord->setRange(2, 16);
    SEMinWord->setValue(4);
    auto* label = Named(new QLabel(QStringLiteral("Минимальная длина слова")), "Label2");
    label->setBuddy(SEMinWord);
    auto* minWord = new QHBoxLayout;
    minWord->addWidget(label);
    minWord->addWidget(SEMinWord);
    minWord->addStretch();

    ChBox1 = CheckBox("ChBox1", QStringLiteral("исключать цифры из поиска"));
    ChBox2 = CheckBox("ChBox2", QStringLiteral("Вносить в \"keywords\" слова из списка обязательных."));
    CheckBoxQuestDelWord =
        CheckBox("CheckBoxQuestDelWord", QStringLiteral("Вывод предупреждения об удалении слов."));
    CheckBoxQuestDelWord->setChecked(true);
    CheckBox3 = CheckBox("CheckBox3", QStringLiteral("Включать описание страницы (тег - Description)"));
    CheckBox4 = CheckBox("CheckBox4", QStringLiteral("Включать Alt в список слов"));

    auto* column = new QVBoxLayout(page);
    column->addLayout(minWord);
    for (QCheckBox* box : {ChBox1, ChBox2, CheckBoxQuestDelWord, CheckBox3, CheckBox4})
        column->addWidget(box);
    column->addStretch();
}

void TFmSetup::FormCreate() {
    ReadCommonSettings();
    BuildOrderCaptions();

    std::string orderText;
    {
        KeyAccess access;
        const DialogSettings stored = ReadDialogSettings(access);
        ComboBox1->setCurrentIndex(stored.Modem);
        SelectIndex(*RadioGroup1, stored.InsMeta);
        SelectIndex(*RadioGroup2, stored.InsContent);
        orderText = stored.MetaList;
        ComboBoxStyle->setCurrentIndex(stored.NoteStyle);
        // A stored wish rewrites its shortcut with the current program path.
        if (stored.IconDesktop) CheckBox1->setChecked(*stored.IconDesktop);
        if (stored.IconStartMenu) CheckBox14->setChecked(*stored.IconStartMenu);
        if (stored.IconPrograms) CheckBox15->setChecked(*stored.IconPrograms);
    }

    const SetupValues& v = CurrentSetupValues();
    CheckBoxXP->setChecked(v.StyleXP);
    ChBox1->setChecked(v.KeyCifra);
    ChBox2->setChecked(v.BolSaveKeyObword);
    Edit1->setText(QString::fromStdString(v.FileFiltr));
    CheckBox2->setChecked(v.IconFile);
    CheckBox3->setChecked(v.InsertDescription);
    CheckBox4->setChecked(v.BolAlt);
    CheckBoxQuestDelWord->setChecked(v.QuestDelWord);
    CheckBoxBak->setChecked(v.BakFiles);
    // The writer puts the block on one line for 1 alone; every other stored
    // value is its default, line by line, and shows as that.
    SelectIndex(*RadioGroup3, v.InsertMetaText == 1 ? 1 : 0);
    SEMinWord->setValue(v.MinWord);
    ApplyFlatStyle(v.StyleXP);

    CurrentOutputOrder() = ParseOutputOrder(orderText);
    FillOrderList();
}

void TFmSetup::FillOrderList() {
    ListBoxMETA->clear();
    const OrderCaptionTable& captions = OrderCaptions();
    for (const std::int32_t index : CurrentOutputOrder())
        ListBoxMETA->addItem(Qt8(captions[static_cast<std::size_t>(index)].caption));
}

void TFmSetup::ShowModal() { CurrentDialogs().ExecModal(*this); }

void TFmSetup::Button2Click() {
    SetupValues& v = CurrentSetupValues();
    v.MinWord = SEMinWord->value();
    v.KeyCifra = ChBox1->isChecked();
    v.BolSaveKeyObword = ChBox2->isChecked();
    v.IconFile = CheckBox2->isChecked();
    v.QuestDelWord = CheckBoxQuestDelWord->isChecked();
    v.BakFiles = CheckBoxBak->isChecked();
    v.InsertMetaText = RadioGroup3->checkedId();
    v.InsertDescription = CheckBox3->isChecked();
    v.StyleXP = CheckBoxXP->isChecked();
    v.BolAlt = CheckBox4->isChecked();
    v.FileFiltr = Edit1->text().toStdString();  // stored as typed

    ConfirmedSettings confirmed;
    confirmed.setup = v;
    confirmed.Modem = ComboBox1->currentIndex();
    confirmed.InsMeta = InsMeta();
    confirmed.InsContent = InsContent();
    confirmed.order = CurrentOutputOrder();
    confirmed.NoteStyle = NoteStyle();
    confirmed.IconDesktop = CheckBox1->isChecked();
    confirmed.IconStartMenu = CheckBox14->isChecked();
    confirmed.IconPrograms = CheckBox15->isChecked();
    {
        KeyAccess access;
        WriteConfirmedSettings(access, confirmed);
        access.Close();  // a failure is reported by the store
    }

    // The file list takes the mask without the blanks around it.
    v.FileFiltr = Edit1->text().trimmed().toStdString();
    ApplyFlatStyle(v.StyleXP);
    Q_EMIT Applied(NoteStyle());
    accept();
}

int TFmSetup::SelectedOrderRow() const {
    const QList<QListWidgetItem*> selected = ListBoxMETA->selectedItems();
    return selected.isEmpty() ? -1 : ListBoxMETA->row(selected.first());
}

void TFmSetup::SpeedButton1Click() {
    const int from = SelectedOrderRow();
    if (ListBoxMETA->count() < 1) return;
    const int to = MoveOrderUp(CurrentOutputOrder(), from);
    if (to == from) return;
    ListBoxMETA->insertItem(to, ListBoxMETA->takeItem(from));
    ListBoxMETA->setCurrentRow(to);
}

void TFmSetup::SpeedButton2Click() {
    const int from = SelectedOrderRow();
    if (ListBoxMETA->count() < 1) return;
    const int to = MoveOrderDown(CurrentOutputOrder(), from);
    if (to == from) return;
    ListBoxMETA->insertItem(to, ListBoxMETA->takeItem(from));
    ListBoxMETA->setCurrentRow(to);
}

void TFmSetup::CheckBox1Click() { ShortcutBoxClick(*CheckBox1, "Desktop"); }
void TFmSetup::CheckBox14Click() { ShortcutBoxClick(*CheckBox14, "Start Menu"); }
void TFmSetup::CheckBox15Click() { ShortcutBoxClick(*CheckBox15, "Programs"); }

void TFmSetup::ShortcutBoxClick(const QCheckBox& box, const char* folderName) {
    const std::string folder = ShortcutFolder(folderName);
    FShortcutPath = ShortcutFilePath(folder);
    // Nothing is reported: a folder that cannot be made skips the shortcut.
    if (box.isChecked()) {
        WriteShortcut(folder, ProgramFilePath());
    } else {
        DeleteShortcut(folder);
    }
}

bool TFmSetup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBoxMETA->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            FLastListY = static_cast<QMouseEvent*>(event)->position().toPoint().y();
        } else if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            FLastListY = help->pos().y();
            return ListBoxMETATip(help->pos(), help->globalPos());
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFmSetup::ListBoxMETATip(const QPoint& pos, const QPoint& globalPos) {
    QWidget* viewport = ListBoxMETA->viewport();
    const QModelIndex index = ListBoxMETA->indexAt(QPoint(0, pos.y()));
    const QString text = index.isValid() ? index.data().toString() : QString();
    if (text.isEmpty() ||
        ListBoxMETA->fontMetrics().horizontalAdvance(text) <= ListBoxMETA->width() - kTipMargin) {
        QToolTip::hideText();
        return true;
    }
    // The entry's row across the list: the tip stays while the pointer does.
    const QRect entry(0, ListBoxMETA->visualRect(index).top(), viewport->width(),
                      ListBoxMETA->visualRect(index).height());
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

int TFmSetup::NoteStyle() const { return ComboBoxStyle->currentIndex(); }

std::string TFmSetup::ModemSpeed() const { return ComboBox1->currentText().toStdString(); }

int TFmSetup::InsMeta() const { return RadioGroup1->checkedId(); }

int TFmSetup::InsContent() const { return RadioGroup2->checkedId(); }

int TFmSetup::MinWord() const { return SEMinWord->value(); }

}  // namespace veskaron::ui
