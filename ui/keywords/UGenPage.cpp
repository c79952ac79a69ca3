#include "ui/keywords/UGenPage.h"

#include "platform/error_text.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDrag>
#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScopeGuard>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

#include "generator/word_list_file.h"
#include "platform/key_store.h"
#include "platform/line_list.h"
#include "settings/setup_values.h"
#include "ui/common/Dialogs.h"
#include "ui/pages/DocText.h"
#include "ui/keywords/KeywordHost.h"

namespace veskaron::ui {

using generator::ListKind;
using generator::WordList;

namespace {

const QString kDragFormat = QStringLiteral("application/x-veskaron-word");
const QColor kNumberColor(128, 0, 0);
const QColor kStartColor(0, 128, 0);

int Index(ListKind kind) { return static_cast<int>(kind); }

void MakeBold(QWidget* w) {
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

// A count or statistic: bold maroon.
QLabel* Number(QWidget* parent, const char* name, const QString& hint = {}, int digits = 6) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(QLatin1String(name));
    label->setToolTip(hint);
    MakeBold(label);
    // Room for large counts from the start: the columns do not widen once
    // the window is shown, and a count cut at its left reads as another number.
    label->setText(QString(digits, u'0'));
    label->setMinimumWidth(label->sizeHint().width());
    label->setText(QStringLiteral("0"));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, kNumberColor);
    label->setPalette(p);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QToolButton* SpeedButton(QWidget* parent, const char* name, const QString& hint,
                         const QString& glyph, QStyle::StandardPixmap icon = QStyle::SP_CustomBase) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    if (icon != QStyle::SP_CustomBase) {
        b->setIcon(parent->style()->standardIcon(icon));
        b->setAccessibleName(hint);  // a picture alone names nothing
    } else {
        b->setText(glyph);
    }
    b->setAutoRaise(true);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return b;
}

// Checks the button with `id` in an exclusive group, or none for an id the
// group does not have.
void CheckOnly(QButtonGroup* group, int id) {
    QAbstractButton* target = group->button(id);
    if (target) {
        target->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

QGroupBox* RadioGroup(QWidget* parent, const char* name, const QString& caption,
                      const QStringList& items, QButtonGroup*& group) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(0);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(QStringLiteral("%1Item%2").arg(QLatin1String(name)).arg(i));
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    return box;
}

QString WithDefaultExtension(const QString& name, const QString& extension) {
    if (!QFileInfo(name).suffix().isEmpty() || QFileInfo::exists(name)) return name;
    return name + extension;
}

}  // namespace

// ---- The list model: shows a WordList's entries ----

class WordListModel final : public QAbstractListModel {
public:
    WordListModel(const WordList& list, std::function<QString(std::string_view)> shown,
                  QObject* parent)
        : QAbstractListModel(parent), list_(list), shown_(std::move(shown)) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(list_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() ||
            static_cast<std::size_t>(index.row()) >= list_.size())
            return {};
        return shown_(list_.at(static_cast<std::size_t>(index.row())));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::ItemIsDropEnabled;
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
    }
    // The list changed as a whole: the views read it afresh.
    void Reset() {
        beginResetModel();
        endResetModel();
    }

private:
    const WordList& list_;
    std::function<QString(std::string_view)> shown_;
};

// ---- TWordListView ----

TWordListView::TWordListView(QWidget* parent) : QListView(parent) {
    setUniformItemSizes(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
}

void TWordListView::startDrag(Qt::DropActions) {
    Q_EMIT StartDrag(this);
    auto* mime = new QMimeData;
    mime->setData(kDragFormat, {});
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
}

void TWordListView::dragEnterEvent(QDragEnterEvent* event) {
    if (CanDrop && CanDrop(event->source())) event->acceptProposedAction();
    else event->ignore();
}

void TWordListView::dragMoveEvent(QDragMoveEvent* event) {
    if (CanDrop && CanDrop(event->source())) event->acceptProposedAction();
    else event->ignore();
}

void TWordListView::dropEvent(QDropEvent* event) {
    if (!CanDrop || !CanDrop(event->source())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT DragDrop(event->source(), this);
}

// ---- TFmKeyWord ----

TFmKeyWord::TFmKeyWord(KeywordHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("FmKeyWord"));
    setWindowTitle(QStringLiteral("ВАРНОК-Soft ::: Генератор слов страницы"));
    // The lists hold the document's own text, compared by its letters.
    parts_[Index(ListKind::Insert)].list = WordList(true, Kind());
    parts_[Index(ListKind::Delete)].list = WordList(false, Kind());
    parts_[Index(ListKind::Formed)].list = WordList(true, Kind());
    parts_[Index(ListKind::Keyword)].list = WordList(true, Kind());
    CreateControls();
    // The first size, or what the captions need in a wider font.
    resize(QSize(598, 348).expandedTo(minimumSizeHint()));
    // Centred on the screen, not over the main window.
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - rect().center());
}

TFmKeyWord::~TFmKeyWord() = default;

// ---- Conversions ----

TextKind TFmKeyWord::Kind() const {
    return host_.Codec().Name() == "utf-8" ? TextKind::Utf8 : TextKind::Cp1251;
}

QString TFmKeyWord::Shown(std::string_view text) const { return ToQt(host_.Codec(), text); }

std::string TFmKeyWord::Stored(const QString& text) const { return FromQt(host_.Codec(), text); }

bool TFmKeyWord::ReadListFile(const std::string& path, std::vector<std::string>& entries,
                              bool& missing, std::string& error) const {
    if (Kind() == TextKind::Utf8) {
        // The same reader that turns the writer's "&#N;" back into the word.
        LineListRead loaded = ReadLineListUtf8(path);
        missing = loaded.missing;
        error = loaded.error;
        if (loaded.ok) entries = std::move(loaded.items);
        return loaded.ok;
    }
    generator::WordListRead loaded = generator::ReadWordListFile(path);
    missing = loaded.missing;
    error = loaded.error;
    if (loaded.ok) entries = std::move(loaded.entries);
    return loaded.ok;
}

std::string TFmKeyWord::WriteListFile(const std::string& path,
                                      const std::vector<std::string>& entries) const {
    if (Kind() == TextKind::Cp1251) return generator::WriteWordListFile(path, entries);
    // A word that Windows-1251 cannot hold is kept as "&#N;" and read back as itself.
    const FileStatus status = WriteLineListUtf8(path, entries);
    return status.ok ? std::string() : status.error;
}

// ---- Controls ----

void TFmKeyWord::CreateControls() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);
    auto* columns = new QSplitter(Qt::Horizontal, this);
    columns->setObjectName(QStringLiteral("Splitter1"));
    columns->setChildrenCollapsible(false);
    root->addWidget(columns);

    auto column = [&](const char* name) {
        auto* s = new QSplitter(Qt::Vertical, columns);
        s->setObjectName(QLatin1String(name));
        s->setChildrenCollapsible(false);
        columns->addWidget(s);
        return s;
    };
    QSplitter* left = column("SplitterLeft");
    QSplitter* middle = column("SplitterMiddle");
    QSplitter* right = column("SplitterRight");

    const QString add = QStringLiteral("Добавить");
    const QString del = QStringLiteral("Удалить");
    const QString edit = QStringLiteral("Изменить");
    const QString open = QStringLiteral("Открыть");
    const QString save = QStringLiteral("Сохранить");
    const QString total = QStringLiteral("Всего слов");
    const QString plus = QStringLiteral("+");
    const QString minus = QStringLiteral("\u2212");
    const QString pencil = QStringLiteral("\u270E");

    // Left: the mandatory words and the excluded words.
    GroupBox1 = new QGroupBox(QStringLiteral("Обязательные к заполнению:"), left);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    left->addWidget(CreateListGroup(
        ListKind::Insert, GroupBox1, "ListBox1",
        {SpeedButton(GroupBox1, "SpeedButton1", add, plus),
         SpeedButton(GroupBox1, "SpeedButton2", del, minus),
         SpeedButton(GroupBox1, "SpeedButton3", edit, pencil),
         SpeedButton(GroupBox1, "SpeedButton4", open, {}, QStyle::SP_DialogOpenButton),
         SpeedButton(GroupBox1, "SpeedButton5", save, {}, QStyle::SP_DialogSaveButton)},
        {Number(GroupBox1, "Label4", total)}));

    GroupBox3 = new QGroupBox(QStringLiteral("Обязательные к удалению:"), left);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    left->addWidget(CreateListGroup(
        ListKind::Delete, GroupBox3, "ListBox3",
        {SpeedButton(GroupBox3, "SpeedButton6", add, plus),
         SpeedButton(GroupBox3, "SpeedButton7", del, minus),
         SpeedButton(GroupBox3, "SpeedButton8", edit, pencil),
         SpeedButton(GroupBox3, "SpeedButton13", open, {}, QStyle::SP_DialogOpenButton),
         SpeedButton(GroupBox3, "SpeedButton19", save, {}, QStyle::SP_DialogSaveButton)},
        {Number(GroupBox3, "Label6", total)}));

    // Middle: the formed words, the output choices and the statistics.
    GroupBox2 = new QGroupBox(QStringLiteral("Сформированные слова:"), middle);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    SpeedButton9 = SpeedButton(GroupBox2, "SpeedButton9",
                               QStringLiteral("Перенос слова в \"Keywords\"."), QStringLiteral(">"));
    SpeedButton11 = SpeedButton(GroupBox2, "SpeedButton11",
                                QStringLiteral("Перенос всех слов в \"Keywords\"."),
                                QStringLiteral(">>"));
    SpeedButton10 = SpeedButton(GroupBox2, "SpeedButton10", del, minus);
    SpeedButton12 = SpeedButton(GroupBox2, "SpeedButton12", QStringLiteral("Выделить все"),
                                QStringLiteral("\u2611"));
    Label3 = Number(GroupBox2, "Label3", total);
    middle->addWidget(CreateListGroup(ListKind::Formed, GroupBox2, "ListBox2",
                                      {SpeedButton9, SpeedButton11, SpeedButton10, SpeedButton12},
                                      {Label3}));
    for (QToolButton* b : {SpeedButton9, SpeedButton11, SpeedButton10, SpeedButton12})
        b->setEnabled(false);

    TabbedNotebook1 = new QTabWidget(middle);
    TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
    TabbedNotebook1->addTab(CreateOutputPage(), QStringLiteral("Вывод слов"));
    TabbedNotebook1->addTab(CreateStatisticsPage(), QStringLiteral("Статистика"));
    middle->addWidget(TabbedNotebook1);

    // Right: the keywords and how they are saved.
    GroupBox4 = new QGroupBox(QStringLiteral("Keywords : "), right);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    Label5 = Number(GroupBox4, "Label5", total);
    Label7 = Number(GroupBox4, "Label7", QStringLiteral("Символов с учетом разделителей"), 7);
    right->addWidget(CreateListGroup(
        ListKind::Keyword, GroupBox4, "ListBox4",
        {SpeedButton(GroupBox4, "SpeedButton14", add, plus),
         SpeedButton(GroupBox4, "SpeedButton15", del, minus),
         SpeedButton(GroupBox4, "SpeedButton16", edit, pencil),
         SpeedButton(GroupBox4, "SpeedButton17", QStringLiteral("Вверх"), {}, QStyle::SP_ArrowUp),
         SpeedButton(GroupBox4, "SpeedButton18", QStringLiteral("Вниз"), {}, QStyle::SP_ArrowDown)},
        {Label5, Label7}));
    Part(ListKind::Keyword).count = nullptr;  // shown with the character count
    right->addWidget(CreateSavingGroup());

    for (QGroupBox* box : {GroupBox1, GroupBox2, GroupBox3, GroupBox4, GroupBox5}) {
        // Bold captions only: the controls inside keep the window's font.
        for (QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->font().bold()) continue;
            QFont normal = child->font();
            normal.setBold(false);  // set explicitly, so the box's bold does not reach it
            child->setFont(normal);
        }
        MakeBold(box);
    }

    // The lists take what the window grows by; the choices keep their size.
    left->setStretchFactor(0, 1);
    left->setStretchFactor(1, 1);
    for (QSplitter* s : {middle, right}) {
        s->setStretchFactor(0, 1);
        s->setStretchFactor(1, 0);
    }

    // The list buttons.
    auto connectButton = [this](const char* name, auto handler) {
        auto* b = findChild<QToolButton*>(QLatin1String(name));
        connect(b, &QToolButton::clicked, this, handler);
    };
    struct ListButtons {
        ListKind kind;
        const char *add, *del, *edit;
    };
    for (const ListButtons& lb : {ListButtons{ListKind::Insert, "SpeedButton1", "SpeedButton2", "SpeedButton3"},
                                  ListButtons{ListKind::Delete, "SpeedButton6", "SpeedButton7", "SpeedButton8"},
                                  ListButtons{ListKind::Keyword, "SpeedButton14", "SpeedButton15", "SpeedButton16"}}) {
        const ListKind kind = lb.kind;
        connectButton(lb.add, [this, kind] { ListAdd(kind); });
        connectButton(lb.del, [this, kind] { ListDelete(kind); });
        connectButton(lb.edit, [this, kind] { ListEdit(kind); });
    }
    connectButton("SpeedButton4", [this] { ListOpen(ListKind::Insert); });
    connectButton("SpeedButton5", [this] { ListSave(ListKind::Insert); });
    connectButton("SpeedButton13", [this] { ListOpen(ListKind::Delete); });
    connectButton("SpeedButton19", [this] { ListSave(ListKind::Delete); });
    connectButton("SpeedButton17", [this] { KeywordMove(true); });
    connectButton("SpeedButton18", [this] { KeywordMove(false); });
    connectButton("SpeedButton9", [this] { TransferCurrentClick(); });
    connectButton("SpeedButton11", [this] { TransferSelectedClick(); });
    connectButton("SpeedButton10", [this] { ListDelete(ListKind::Formed); });
    connectButton("SpeedButton12", [this] { SelectAllClick(); });

    TWordListView* formed = Part(ListKind::Formed).view;
    connect(formed, &QAbstractItemView::doubleClicked, this, [this] { TransferCurrentClick(); });
    connect(formed->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { if (!pushing_) ListBox2Click(); });
    Part(ListKind::Keyword).view->setDragEnabled(false);

    connect(rg1Buttons_, &QButtonGroup::idClicked, this, [this] { RG1Click(); });
    connect(selectionButtons_, &QButtonGroup::idClicked, this, [this] { RG1Click(); });
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this] { SpinEdit1Change(); });
    connect(rg2Buttons_, &QButtonGroup::idClicked, this, [this] { RG2Click(); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    connect(BtStr, &QPushButton::clicked, this, [this] { BtStrClick(); });
    connect(BtOk, &QPushButton::clicked, this, [this] { BtOkClick(); });
    connect(BtCnl, &QPushButton::clicked, this, [this] { BtCnlClick(); });
}

QWidget* TFmKeyWord::CreateListGroup(ListKind kind, QGroupBox* box, const char* listName,
                                     std::vector<QToolButton*> buttons,
                                     std::vector<QLabel*> numbers) {
    ListPart& part = Part(kind);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
    part.view = new TWordListView(box);
    part.view->setObjectName(QLatin1String(listName));
    part.view->setAccessibleName(box->title());
    part.model = new WordListModel(part.list, [this](std::string_view b) { return Shown(b); },
                                   part.view);
    part.view->setModel(part.model);
    part.view->setSelectionMode(part.list.multiSelect() ? QAbstractItemView::ExtendedSelection
                                                        : QAbstractItemView::SingleSelection);
    part.view->setDragEnabled(true);
    part.view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    part.view->CanDrop = [this](QObject* source) { return ListBoxDragOver(source); };
    connect(part.view, &TWordListView::StartDrag, this, &TFmKeyWord::ListBoxStartDrag);
    connect(part.view, &TWordListView::DragDrop, this, &TFmKeyWord::ListBoxDragDrop);
    part.view->setMinimumSize(40, 30);
    layout->addWidget(part.view, 1);

    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    for (QToolButton* b : buttons) row->addWidget(b);
    row->addStretch(1);
    for (QLabel* n : numbers) {
        row->addSpacing(8);
        row->addWidget(n);
    }
    layout->addLayout(row);
    part.count = numbers.empty() ? nullptr : numbers.front();
    return box;
}

QWidget* TFmKeyWord::CreateOutputPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    RG1 = RadioGroup(page, "RG1", QStringLiteral("Сортировка : "),
                     {QStringLiteral("Без сортировки"), QStringLiteral("по возрастанию"),
                      QStringLiteral("по убыванию")},
                     rg1Buttons_);
    layout->addWidget(RG1);

    selectionStack_ = new QStackedWidget(page);
    selectionControls_ = new QWidget(selectionStack_);
    auto* grid = new QGridLayout(selectionControls_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    RadioButton1 = new QRadioButton(QStringLiteral("Все"), selectionControls_);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(QStringLiteral("повторяющиеся "), selectionControls_);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    selectionButtons_ = new QButtonGroup(selectionControls_);
    selectionButtons_->addButton(RadioButton1, 0);
    selectionButtons_->addButton(RadioButton2, 1);
    RadioButton1->setChecked(true);
    auto* label2 = new QLabel(QStringLiteral("более"), selectionControls_);
    label2->setObjectName(QStringLiteral("Label2"));
    SpinEdit1 = new QSpinBox(selectionControls_);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(0, 999);
    SpinEdit1->setValue(1);
    label2->setBuddy(SpinEdit1);
    auto* label1 = new QLabel(QStringLiteral("раз"), selectionControls_);
    label1->setObjectName(QStringLiteral("Label1"));
    grid->addWidget(RadioButton1, 0, 0, 1, 4);
    grid->addWidget(RadioButton2, 1, 0, 1, 4);
    grid->addWidget(label2, 2, 0);
    grid->addWidget(SpinEdit1, 2, 1);
    grid->addWidget(label1, 2, 2);
    grid->setColumnStretch(3, 1);
    selectionStack_->addWidget(selectionControls_);

    Panel2 = new QWidget(selectionStack_);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* panelLayout = new QVBoxLayout(Panel2);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    ProgrBar = new QProgressBar(Panel2);
    ProgrBar->setObjectName(QStringLiteral("ProgrBar"));
    ProgrBar->setRange(0, 100);
    ProgrBar->setValue(0);
    panelLayout->addWidget(ProgrBar, 0, Qt::AlignVCenter);
    selectionStack_->addWidget(Panel2);
    selectionStack_->setCurrentWidget(selectionControls_);
    layout->addWidget(selectionStack_);
    layout->addStretch(1);
    return page;
}

QWidget* TFmKeyWord::CreateStatisticsPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    const struct {
        const char* caption;
        const char* captionName;
        const char* numberName;
    } rows[] = {
        {"Всего слов", "Label8", "Label13"},
        {"Выбранных", "Label9", "Label14"},
        {"С повтором > 3 раз", "Label10", "Label15"},
        {"С повтором = 3 раз", "Label11", "Label16"},
        {"С повтором  2 раза", "Label12", "Label17"},
        {"                      1 раз", "Label18", "Label19"},
    };
    for (int i = 0; i < 6; ++i) {
        auto* caption = new QLabel(QString::fromUtf8(rows[i].caption), page);
        caption->setObjectName(QLatin1String(rows[i].captionName));
        grid->addWidget(caption, i, 0);
        statistics_[static_cast<std::size_t>(i)] = Number(page, rows[i].numberName);
        grid->addWidget(statistics_[static_cast<std::size_t>(i)], i, 1);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(6, 1);
    return page;
}

QWidget* TFmKeyWord::CreateSavingGroup() {
    GroupBox5 = new QGroupBox(QStringLiteral("Сохранение в \"Keywords\" : "));
    GroupBox5->setObjectName(QStringLiteral("GroupBox5"));
    auto* grid = new QGridLayout(GroupBox5);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setSpacing(3);
    RG2 = RadioGroup(GroupBox5, "RG2", QStringLiteral("Разделитель : "),
                     {QStringLiteral("Запятая"), QStringLiteral("Пробел"),
                      QStringLiteral("Запятая и пробел")},
                     rg2Buttons_);
    CheckBox1 = new QCheckBox(QStringLiteral("Сортировать по алфавиту"), GroupBox5);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    BtStr = new QPushButton(QStringLiteral("Запуск"), GroupBox5);
    BtStr->setObjectName(QStringLiteral("BtStr"));
    QFont big = BtStr->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.15);
    BtStr->setFont(big);
    QPalette green = BtStr->palette();
    green.setColor(QPalette::ButtonText, kStartColor);
    BtStr->setPalette(green);
    BtStr->setMinimumHeight(BtStr->sizeHint().height() + 8);

    BtOk = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton),
                           QStringLiteral("Сохранить"), GroupBox5);
    BtOk->setObjectName(QStringLiteral("BtOk"));
    BtOk->setEnabled(false);
    BtCnl = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                            QStringLiteral("Отмена"), GroupBox5);
    BtCnl->setObjectName(QStringLiteral("BtCnl"));
    for (QPushButton* b : {BtStr, BtOk, BtCnl}) b->setAutoDefault(false);

    grid->addWidget(RG2, 0, 0, 1, 2);
    grid->addWidget(CheckBox1, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->addWidget(BtStr, 3, 0, 1, 2);
    grid->addWidget(BtOk, 4, 0);
    grid->addWidget(BtCnl, 4, 1);
    return GroupBox5;
}

// ---- Lists and views ----

TFmKeyWord::ListPart& TFmKeyWord::Part(ListKind kind) { return parts_[static_cast<std::size_t>(kind)]; }

const TFmKeyWord::ListPart& TFmKeyWord::Part(ListKind kind) const {
    return parts_[static_cast<std::size_t>(kind)];
}

const WordList& TFmKeyWord::List(ListKind kind) const { return Part(kind).list; }

int TFmKeyWord::KindOf(const QObject* view) const {
    for (std::size_t i = 0; i < parts_.size(); ++i)
        if (view && parts_[i].view == view) return static_cast<int>(i);
    return -1;
}

void TFmKeyWord::Pull(ListKind kind) {
    ListPart& p = Part(kind);
    const QItemSelectionModel* sel = p.view->selectionModel();
    const QModelIndexList rows = sel->selectedRows();
    if (p.list.multiSelect()) {
        p.list.SelectAll(false);
        for (const QModelIndex& i : rows) p.list.Select(static_cast<std::size_t>(i.row()), true);
        const QModelIndex current = sel->currentIndex();
        p.list.SetCurrent(current.isValid() ? current.row() : -1);
    } else {
        p.list.SetCurrent(rows.size() == 1 ? rows.front().row() : -1);
    }
}

void TFmKeyWord::Push(ListKind kind) {
    ListPart& p = Part(kind);
    const bool wasPushing = pushing_;
    pushing_ = true;
    // A reset scrolls to the top; the user keeps the place in a long list.
    const int scroll = p.view->verticalScrollBar()->value();
    p.model->Reset();
    p.view->doItemsLayout();
    p.view->verticalScrollBar()->setValue(scroll);
    QItemSelectionModel* sel = p.view->selectionModel();
    const std::vector<std::size_t> chosen = p.list.SelectedIndices();
    QItemSelection selection;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        const std::size_t first = chosen[k];
        while (k + 1 < chosen.size() && chosen[k + 1] == chosen[k] + 1) ++k;
        selection.select(p.model->index(static_cast<int>(first)),
                         p.model->index(static_cast<int>(chosen[k])));
    }
    if (p.list.current() >= 0)
        sel->setCurrentIndex(p.model->index(p.list.current()), QItemSelectionModel::NoUpdate);
    sel->select(selection, QItemSelectionModel::ClearAndSelect);
    pushing_ = wasPushing;
    if (p.count) p.count->setText(QString::number(p.list.size()));
}

void TFmKeyWord::RefreshCounters() {
    WordList& keywords = Part(ListKind::Keyword).list;
    const std::size_t before = keywords.size();
    const generator::KeywordCounters c =
        generator::UpdateKeywordCounters(keywords, rg2Buttons_->checkedId(), minWordLen_);
    if (keywords.size() != before) Push(ListKind::Keyword);
    Label5->setText(QString::number(c.words));
    Label7->setText(QString::number(c.characters));
}

void TFmKeyWord::Refill() {
    const std::vector<std::string> lines = generator::FillWordList(
        table_, generator::SortModeFromIndex(rg1Buttons_->checkedId()),
        !RadioButton1->isChecked(), SpinEdit1->value());
    const generator::WordStatistics s = generator::ComputeWordStatistics(table_, lines.size());
    Part(ListKind::Formed).list.Assign(lines);
    Push(ListKind::Formed);
    const std::int64_t values[] = {s.total, s.selected, s.over3, s.exactly3, s.twice, s.once};
    for (std::size_t i = 0; i < statistics_.size(); ++i)
        statistics_[i]->setText(QString::number(values[i]));
}

void TFmKeyWord::SetRadioChecks(bool all, bool repeated) {
    selectionButtons_->setExclusive(false);
    // Set one after the other, the later one wins when both are asked for.
    RadioButton1->setChecked(all && !repeated);
    RadioButton2->setChecked(repeated);
    selectionButtons_->setExclusive(true);
}

std::vector<std::string> TFmKeyWord::DescriptionLines() const {
    return SplitLineList(Stored(host_.Description()));
}

// ---- Showing and closing ----

void TFmKeyWord::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TFmKeyWord::FormShow() {
    Label3->setText(QStringLiteral("0"));
    BtOk->setEnabled(false);
    table_.Clear();

    GeneratorSettings stored;
    {
        KeyAccess access;
        stored = ReadGeneratorSettings(access);
        RefreshGeneratorFlags(access, CurrentSetupValues());
    }
    CheckOnly(rg1Buttons_, stored.RG1);
    CheckOnly(rg2Buttons_, stored.RG2);
    SetRadioChecks(stored.RG3, stored.RG4);
    {
        const QSignalBlocker block(SpinEdit1);
        SpinEdit1->setValue(stored.SE1);
    }
    insertListFile_ = stored.FWord;
    deleteListFile_ = stored.FWordDel;
    LoadListsAtShow();

    minWordLen_ = host_.MinWord();

    // The field's lines joined by CR LF.
    QString keywords = host_.Keywords();
    keywords.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    keywords.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    int choice = rg2Buttons_->checkedId();
    generator::SplitKeywords(Stored(keywords), choice, Part(ListKind::Keyword).list);
    CheckOnly(rg2Buttons_, choice);
    Push(ListKind::Keyword);

    Part(ListKind::Formed).list.Clear();
    Push(ListKind::Formed);
    RefreshCounters();
    BtOk->setEnabled(false);
}

void TFmKeyWord::LoadListsAtShow() {
    for (ListKind kind : {ListKind::Insert, ListKind::Delete}) {
        const std::string& file = kind == ListKind::Insert ? insertListFile_ : deleteListFile_;
        WordList& list = Part(kind).list;
        list.Clear();
        std::vector<std::string> entries;
        bool missing = false;
        std::string error;
        if (ReadListFile(file, entries, missing, error)) {
            list.Assign(std::move(entries));
        } else if (!missing) {
            CurrentDialogs().Error(this, QStringLiteral("Не удалось прочитать список слов из файла "
                                                        "\"%1\".\n%2")
                                             .arg(QString::fromStdString(file),
                                                  QString::fromStdString(RussianFileError(error))));
        }
        Push(kind);
    }
}

void TFmKeyWord::done(int result) {
    if (running_) return;  // the run ends first; the window closes after it
    FormClose();
    QDialog::done(result);
}

void TFmKeyWord::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFmKeyWord::FormClose() {
    GeneratorSettings g;
    g.RG1 = rg1Buttons_->checkedId();
    g.RG2 = rg2Buttons_->checkedId();
    g.RG3 = RadioButton1->isChecked();
    g.RG4 = RadioButton2->isChecked();
    g.SE1 = SpinEdit1->value();
    g.FWord = insertListFile_;
    g.FWordDel = deleteListFile_;
    KeyAccess access;
    WriteGeneratorSettings(access, g);
    access.Close();
}

// ---- Run ----

// Runs `work` on a worker thread while this loop keeps the window painting;
// user input waits until the work is over, as in a modal run. `work` must not
// touch a widget.
void TFmKeyWord::WhilePainting(const std::function<void()>& work) {
    QThread* worker = QThread::create(work);
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    delete worker;
}

void TFmKeyWord::BtStrClick() {
    if (running_) return;
    running_ = true;
    ProgrBar->setValue(0);
    selectionStack_->setCurrentWidget(Panel2);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    const std::string source = host_.SourceBytes();
    const std::vector<std::string> description = DescriptionLines();
    const std::vector<std::string> excluded = Part(ListKind::Delete).list.entries();
    const SetupValues& setup = CurrentSetupValues();
    generator::GeneratorOptions options;
    options.minWordLen = minWordLen_;
    options.keyCifra = setup.KeyCifra;
    options.bolAlt = setup.BolAlt;
    options.insertDescription = setup.InsertDescription;
    options.kind = Kind();

    generator::WordTable fresh;
    std::string failure;
    QProgressBar* bar = ProgrBar;
    WhilePainting([&] {
        try {
            generator::RunGenerator(source, description, excluded, options, fresh, [bar](int p) {
                QMetaObject::invokeMethod(bar, [bar, p] { bar->setValue(p); }, Qt::QueuedConnection);
            });
        } catch (const std::exception& e) {
            failure = e.what();
        }
    });
    QCoreApplication::sendPostedEvents(bar, QEvent::MetaCall);

    table_ = std::move(fresh);
    Refill();
    BtOk->setEnabled(true);
    const bool any = !Part(ListKind::Formed).list.empty();
    SpeedButton9->setEnabled(any);
    SpeedButton10->setEnabled(any);
    SpeedButton12->setEnabled(any);
    SpeedButton11->setEnabled(false);
    selectionStack_->setCurrentWidget(selectionControls_);
    QApplication::restoreOverrideCursor();
    running_ = false;
    if (!failure.empty())
        CurrentDialogs().Error(this, QStringLiteral("Подсчёт слов прерван: %1")
                                         .arg(QString::fromStdString(failure)));
}

// ---- Choices ----

void TFmKeyWord::RG1Click() { Refill(); }

void TFmKeyWord::SpinEdit1Change() {
    SetRadioChecks(false, true);
    Refill();
}

void TFmKeyWord::RG2Click() {
    RefreshCounters();
    BtOk->setEnabled(true);
}

void TFmKeyWord::CheckBox1Click() {
    Pull(ListKind::Keyword);
    Part(ListKind::Keyword).list.SetSorted(CheckBox1->isChecked());
    Push(ListKind::Keyword);
    BtOk->setEnabled(true);
}

void TFmKeyWord::ListBox2Click() {
    const bool any = Part(ListKind::Formed).view->selectionModel()->hasSelection();
    for (QToolButton* b : {SpeedButton9, SpeedButton11, SpeedButton10, SpeedButton12})
        b->setEnabled(any);
}

void TFmKeyWord::BtCnlClick() { reject(); }

void TFmKeyWord::BtOkClick() {
    if (running_) return;
    // A long keyword list takes a while to compose and more to show in the
    // main window's box.
    running_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto done = qScopeGuard([this] {
        QApplication::restoreOverrideCursor();
        running_ = false;
    });
    Pull(ListKind::Keyword);
    auto failed = [this](const std::string& file, const std::string& error) {
        CurrentDialogs().Error(this, QStringLiteral("Не удалось записать список слов в файл "
                                                    "\"%1\".\n%2")
                                         .arg(QString::fromStdString(file),
                                              QString::fromStdString(RussianFileError(error))));
    };
    // The excluded words first: if they cannot be kept, nothing is handed over.
    if (std::string error = WriteListFile(deleteListFile_, Part(ListKind::Delete).list.entries());
        !error.empty()) {
        failed(deleteListFile_, error);
        return;
    }
    WordList& keywords = Part(ListKind::Keyword).list;
    std::string text;
    const WordList& insert = Part(ListKind::Insert).list;
    const int choice = rg2Buttons_->checkedId();
    const bool keepWords = CurrentSetupValues().BolSaveKeyObword;
    const bool sorted = CheckBox1->isChecked();
    WhilePainting([&] { text = generator::ComposeKeywordsText(insert, keywords, choice, keepWords, sorted); });
    keywords.SetSorted(CheckBox1->isChecked());
    Push(ListKind::Keyword);
    host_.SetKeywords(Shown(text));
    if (std::string error = WriteListFile(insertListFile_, Part(ListKind::Insert).list.entries());
        !error.empty()) {
        failed(insertListFile_, error);
        return;
    }
    running_ = false;  // the window may close now
    accept();
}

// ---- List buttons ----

void TFmKeyWord::ListAdd(ListKind kind) {
    Pull(kind);
    WordList& list = Part(kind).list;
    const char* prompt =
        kind == ListKind::Keyword ? generator::kPromptKeyword : generator::kPromptMandatoryWord;
    QString initial;
    for (;;) {
        const std::optional<QString> text =
            CurrentDialogs().InputText(this, Ui(generator::kTitleInput), Ui(prompt), initial);
        if (!text) return;
        if (generator::AddWord(list, Stored(*text)) == generator::AddOutcome::Added) break;
        if (CurrentDialogs().AskYesNo(this, Ui(generator::kTitleError),
                                      Ui(generator::kDuplicateWordQuestion),
                                      MessageKind::Error) != Answer::Yes)
            return;
        initial = *text;
    }
    Push(kind);
    if (kind == ListKind::Keyword) RefreshCounters();
}

void TFmKeyWord::ListDelete(ListKind kind) {
    Pull(kind);
    WordList& list = Part(kind).list;
    const std::optional<std::string> question = generator::DeleteQuestion(list);
    if (!question) return;
    // The word in the question goes through the document's codec like every shown word.
    const QString text =
        generator::DeleteCount(list) == 1
            ? QStringLiteral("Удалить \"%1\"?").arg(Shown(list.at(list.SelectedIndices().front())))
            : Ui(*question);
    if (CurrentSetupValues().QuestDelWord &&
        CurrentDialogs().AskYesNo(this, Ui(generator::kTitleAttention), text,
                                  MessageKind::Warning) != Answer::Yes)
        return;
    generator::DeleteChosen(list);
    Push(kind);
    if (kind == ListKind::Keyword) RefreshCounters();
}

void TFmKeyWord::ListEdit(ListKind kind) {
    Pull(kind);
    WordList& list = Part(kind).list;
    if (!list.empty() && list.current() >= 0) {
        QString initial = Shown(list.at(static_cast<std::size_t>(list.current())));
        for (;;) {
            const std::optional<QString> text = CurrentDialogs().InputText(
                this, Ui(generator::kTitleChange), Ui(generator::kPromptChange), initial);
            if (!text) break;
            if (generator::EditWord(list, kind, Stored(*text)) != generator::EditOutcome::Refused)
                break;
            CurrentDialogs().Message(this, MessageKind::Error, Ui(generator::kTitleError),
                                     Ui(generator::kSameWordMessage));
            initial = *text;
        }
        Push(kind);
    }
    if (kind == ListKind::Keyword) RefreshCounters();
}

namespace {

struct ListFileKind {
    QString filter;
    QString extension;
};

ListFileKind FileKindOf(ListKind kind) {
    if (kind == ListKind::Insert)
        return {QStringLiteral("Файл вставляемых слов *.fkh (*.fkh)"), QStringLiteral(".fkh")};
    return {QStringLiteral("Файл удаляемых слов *.fkw (*.fkw)"), QStringLiteral(".fkw")};
}

}  // namespace

void TFmKeyWord::ListOpen(ListKind kind) {
    std::string& file = kind == ListKind::Insert ? insertListFile_ : deleteListFile_;
    const ListFileKind fk = FileKindOf(kind);
    const std::optional<QString> name = CurrentDialogs().OpenFileName(
        this, QStringLiteral("Открыть"), QString::fromStdString(file), fk.filter);
    if (!name) return;
    file = WithDefaultExtension(*name, fk.extension).toStdString();
    std::vector<std::string> entries;
    bool missing = false;
    std::string error;
    if (!ReadListFile(file, entries, missing, error)) {
        CurrentDialogs().Error(this, QStringLiteral("Не удалось прочитать список слов из файла "
                                                    "\"%1\".\n%2")
                                         .arg(QString::fromStdString(file),
                                              QString::fromStdString(RussianFileError(error))));
        return;
    }
    Part(kind).list.Assign(std::move(entries));
    Push(kind);
}

void TFmKeyWord::ListSave(ListKind kind) {
    std::string& file = kind == ListKind::Insert ? insertListFile_ : deleteListFile_;
    const ListFileKind fk = FileKindOf(kind);
    const std::optional<QString> name = CurrentDialogs().SaveFileName(
        this, QStringLiteral("Сохранить"), QString::fromStdString(file), fk.filter);
    if (!name) return;
    file = WithDefaultExtension(*name, fk.extension).toStdString();
    const std::string error = WriteListFile(file, Part(kind).list.entries());
    if (!error.empty()) {
        CurrentDialogs().Error(this, QStringLiteral("Не удалось записать список слов в файл "
                                                    "\"%1\".\n%2")
                                         .arg(QString::fromStdString(file),
                                              QString::fromStdString(RussianFileError(error))));
    }
}

void TFmKeyWord::KeywordMove(bool up) {
    Pull(ListKind::Keyword);
    WordList& list = Part(ListKind::Keyword).list;
    if (up ? generator::MoveUp(list) : generator::MoveDown(list)) Push(ListKind::Keyword);
}

void TFmKeyWord::TransferCurrentClick() {
    Pull(ListKind::Formed);
    Pull(ListKind::Keyword);
    const generator::TransferOutcome outcome =
        generator::TransferCurrent(Part(ListKind::Formed).list, Part(ListKind::Keyword).list);
    if (outcome == generator::TransferOutcome::Duplicate)
        CurrentDialogs().Message(this, MessageKind::Error, Ui(generator::kTitleError),
                                 Ui(generator::kSameWordMessage));
    Push(ListKind::Keyword);
    RefreshCounters();
}

void TFmKeyWord::TransferSelectedClick() {
    Pull(ListKind::Formed);
    Pull(ListKind::Keyword);
    generator::TransferSelected(Part(ListKind::Formed).list, Part(ListKind::Keyword).list);
    Push(ListKind::Formed);
    Push(ListKind::Keyword);
    RefreshCounters();
}

void TFmKeyWord::SelectAllClick() {
    selectAllOn_ = !selectAllOn_;
    Pull(ListKind::Formed);
    Part(ListKind::Formed).list.SelectAll(selectAllOn_);
    Push(ListKind::Formed);
    SpeedButton11->setEnabled(selectAllOn_);
}

// ---- Drag and drop ----

void TFmKeyWord::ListBoxStartDrag(TWordListView* source) {
    const int kind = KindOf(source);
    if (kind < 0) return;
    Pull(static_cast<ListKind>(kind));
    dragged_ = generator::DragStartText(parts_[static_cast<std::size_t>(kind)].list, dragged_);
}

bool TFmKeyWord::ListBoxDragOver(QObject* source) const {
    return KindOf(source) >= 0 && generator::AcceptsDrop(dragged_);
}

void TFmKeyWord::ListBoxDragDrop(QObject* source, TWordListView* target) {
    const int from = KindOf(source);
    const int to = KindOf(target);
    if (from < 0 || to < 0 || !generator::AcceptsDrop(dragged_)) return;
    const auto sourceKind = static_cast<ListKind>(from);
    const auto targetKind = static_cast<ListKind>(to);
    Pull(sourceKind);
    if (targetKind != sourceKind) Pull(targetKind);
    generator::DropWords(Part(sourceKind).list, Part(targetKind).list, dragged_);
    Push(sourceKind);
    if (targetKind != sourceKind) Push(targetKind);
    RefreshCounters();
}

}  // namespace veskaron::ui
