#include "ui/keywords/GeneratorControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <initializer_list>

#include "messages/window_texts.h"
#include "ui/common/Widgets.h"
#include "ui/keywords/WordListView.h"

namespace veskaron::ui {

namespace {

namespace text = msg::keywords;

const QColor kNumberColor(128, 0, 0);
const QColor kStartColor(0, 128, 0);

void MakeBold(QWidget* w) {
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

// A count or statistic: bold maroon.
QLabel* Number(QWidget* parent, const char* name, const QString& hint = {}, int digits = 6) {
    auto* label = Named(new QLabel(parent), name, hint);
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

// A flat list button with a glyph, or with a picture that then also names it.
QToolButton* SpeedButton(QWidget* parent, const char* name, const QString& hint,
                         const QString& glyph, QStyle::StandardPixmap icon = QStyle::SP_CustomBase) {
    auto* b = Named(new QToolButton(parent), name, hint);
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

const QString kPlus = QStringLiteral("+");
const QString kMinus = QStringLiteral("\u2212");
const QString kPencil = QStringLiteral("\u270E");

// The list, its buttons in a row below it, and its numbers at the row's end.
void FillListGroup(WordListControls& list, const char* listName,
                   std::initializer_list<QToolButton*> buttons,
                   std::initializer_list<QLabel*> numbers) {
    QGroupBox* box = list.group;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
    list.view = Named(new WordListView(box), listName);
    list.view->setAccessibleName(box->title());
    list.view->setMinimumSize(40, 30);
    layout->addWidget(list.view, 1);

    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    for (QToolButton* b : buttons) row->addWidget(b);
    row->addStretch(1);
    for (QLabel* n : numbers) {
        row->addSpacing(8);
        row->addWidget(n);
    }
    layout->addLayout(row);
}

// The four buttons of the lists that are edited by hand.
void EditButtons(WordListControls& list, const char* add, const char* remove, const char* edit) {
    list.add = SpeedButton(list.group, add, text::kAdd, kPlus);
    list.remove = SpeedButton(list.group, remove, text::kDelete, kMinus);
    list.edit = SpeedButton(list.group, edit, text::kEdit, kPencil);
}

void FileButtons(WordListControls& list, const char* open, const char* save) {
    list.open = SpeedButton(list.group, open, text::kOpen, {}, QStyle::SP_DialogOpenButton);
    list.save = SpeedButton(list.group, save, text::kSave, {}, QStyle::SP_DialogSaveButton);
}

// A radio group with the window's tight margins.
QGroupBox* Choice(QWidget* parent, const char* name, const QString& caption,
                  const QStringList& items, QButtonGroup*& group) {
    group = new QButtonGroup(parent);
    QGroupBox* box = RadioGroup(QLatin1String(name), caption, items, group);
    box->layout()->setContentsMargins(6, 2, 6, 2);
    box->layout()->setSpacing(0);
    return box;
}

QWidget* OutputPage(GeneratorControls& c) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    layout->addWidget(Choice(page, "RG1", text::kSortCaption, text::kSortItems, c.sortChoice));

    c.choiceOrProgress = new QStackedWidget(page);
    c.wordChoicePanel = new QWidget(c.choiceOrProgress);
    auto* grid = new QGridLayout(c.wordChoicePanel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    c.allWords = Named(new QRadioButton(text::kAllWords, c.wordChoicePanel), "RadioButton1");
    c.repeatedWords = Named(new QRadioButton(text::kRepeatedWords, c.wordChoicePanel), "RadioButton2");
    c.wordChoice = new QButtonGroup(c.wordChoicePanel);
    c.wordChoice->addButton(c.allWords, 0);
    c.wordChoice->addButton(c.repeatedWords, 1);
    c.allWords->setChecked(true);
    c.repeatThreshold = Named(new QSpinBox(c.wordChoicePanel), "SpinEdit1");
    c.repeatThreshold->setRange(0, 999);
    c.repeatThreshold->setValue(1);
    grid->addWidget(c.allWords, 0, 0, 1, 4);
    grid->addWidget(c.repeatedWords, 1, 0, 1, 4);
    grid->addWidget(Caption(text::kMoreThan, QStringLiteral("Label2"), c.repeatThreshold), 2, 0);
    grid->addWidget(c.repeatThreshold, 2, 1);
    grid->addWidget(Caption(text::kTimes, QStringLiteral("Label1")), 2, 2);
    grid->setColumnStretch(3, 1);
    c.choiceOrProgress->addWidget(c.wordChoicePanel);

    c.progressPanel = Named(new QWidget(c.choiceOrProgress), "Panel2");
    auto* panel = new QVBoxLayout(c.progressPanel);
    panel->setContentsMargins(0, 0, 0, 0);
    c.progress = Named(new QProgressBar(c.progressPanel), "ProgrBar");
    c.progress->setRange(0, 100);
    c.progress->setValue(0);
    c.stop = Named(new QPushButton(text::kStop, c.progressPanel), "BtStop", text::kStopHint);
    c.stop->setAutoDefault(false);
    panel->addStretch(1);
    panel->addWidget(c.progress);
    panel->addWidget(c.stop, 0, Qt::AlignLeft);
    panel->addStretch(1);
    c.choiceOrProgress->addWidget(c.progressPanel);
    c.choiceOrProgress->setCurrentWidget(c.wordChoicePanel);
    layout->addWidget(c.choiceOrProgress);
    layout->addStretch(1);
    return page;
}

QWidget* StatisticsPage(GeneratorControls& c) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    const struct {
        const char* captionName;
        const char* numberName;
    } rows[] = {{"Label8", "Label13"},  {"Label9", "Label14"},  {"Label10", "Label15"},
                {"Label11", "Label16"}, {"Label12", "Label17"}, {"Label18", "Label19"}};
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(Caption(text::kStatistics[i], QLatin1String(rows[i].captionName)), i, 0);
        c.statistics[static_cast<std::size_t>(i)] = Number(page, rows[i].numberName);
        grid->addWidget(c.statistics[static_cast<std::size_t>(i)], i, 1);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(6, 1);
    return page;
}

QGroupBox* SavingGroup(GeneratorControls& c, QDialog* window) {
    auto* box = Named(new QGroupBox(text::kSavingGroup), "GroupBox5");
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setSpacing(3);
    QGroupBox* separators = Choice(box, "RG2", text::kSeparatorCaption, text::kSeparatorItems,
                                   c.separatorChoice);
    c.sortAlphabetically = Named(new QCheckBox(text::kSortAlphabetically, box), "CheckBox1");

    c.start = Named(new QPushButton(text::kStart, box), "BtStr");
    QFont big = c.start->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.15);
    c.start->setFont(big);
    QPalette green = c.start->palette();
    // Green while it can be pressed; greyed like any button during a count.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        green.setColor(group, QPalette::ButtonText, kStartColor);
    c.start->setPalette(green);
    c.start->setMinimumHeight(c.start->sizeHint().height() + 8);

    c.save = Named(new QPushButton(window->style()->standardIcon(QStyle::SP_DialogApplyButton),
                                   text::kSave, box),
                   "BtOk");
    c.save->setEnabled(false);
    c.cancel = Named(new QPushButton(window->style()->standardIcon(QStyle::SP_DialogCancelButton),
                                     text::kCancel, box),
                     "BtCnl");
    for (QPushButton* b : {c.start, c.save, c.cancel}) b->setAutoDefault(false);

    grid->addWidget(separators, 0, 0, 1, 2);
    grid->addWidget(c.sortAlphabetically, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->addWidget(c.start, 3, 0, 1, 2);
    grid->addWidget(c.save, 4, 0);
    grid->addWidget(c.cancel, 4, 1);
    return box;
}

}  // namespace

GeneratorControls BuildGeneratorControls(QDialog* window) {
    GeneratorControls c;
    auto* root = new QVBoxLayout(window);
    root->setContentsMargins(4, 4, 4, 4);
    auto* columns = Named(new QSplitter(Qt::Horizontal, window), "Splitter1");
    columns->setChildrenCollapsible(false);
    root->addWidget(columns);
    auto column = [&](const char* name) {
        auto* s = Named(new QSplitter(Qt::Vertical, columns), name);
        s->setChildrenCollapsible(false);
        columns->addWidget(s);
        return s;
    };
    QSplitter* left = column("SplitterLeft");
    QSplitter* middle = column("SplitterMiddle");
    QSplitter* right = column("SplitterRight");

    // Left: the mandatory words and the excluded words.
    c.insert.group = Named(new QGroupBox(text::kInsertGroup, left), "GroupBox1");
    EditButtons(c.insert, "SpeedButton1", "SpeedButton2", "SpeedButton3");
    FileButtons(c.insert, "SpeedButton4", "SpeedButton5");
    c.insert.count = Number(c.insert.group, "Label4", text::kTotalWords);
    FillListGroup(c.insert, "ListBox1",
                  {c.insert.add, c.insert.remove, c.insert.edit, c.insert.open, c.insert.save},
                  {c.insert.count});
    left->addWidget(c.insert.group);

    c.excluded.group = Named(new QGroupBox(text::kDeleteGroup, left), "GroupBox3");
    EditButtons(c.excluded, "SpeedButton6", "SpeedButton7", "SpeedButton8");
    FileButtons(c.excluded, "SpeedButton13", "SpeedButton19");
    c.excluded.count = Number(c.excluded.group, "Label6", text::kTotalWords);
    FillListGroup(c.excluded, "ListBox3",
                  {c.excluded.add, c.excluded.remove, c.excluded.edit, c.excluded.open,
                   c.excluded.save},
                  {c.excluded.count});
    left->addWidget(c.excluded.group);

    // Middle: the formed words, the output choices and the statistics.
    QGroupBox* formed = c.formed.group =
        Named(new QGroupBox(text::kFormedGroup, middle), "GroupBox2");
    c.transferWord = SpeedButton(formed, "SpeedButton9", text::kTransferWord, QStringLiteral(">"));
    c.transferSelected =
        SpeedButton(formed, "SpeedButton11", text::kTransferWords, QStringLiteral(">>"));
    c.formed.remove = SpeedButton(formed, "SpeedButton10", text::kDelete, kMinus);
    c.selectAll = SpeedButton(formed, "SpeedButton12", text::kSelectAll, QStringLiteral("\u2611"));
    c.formed.count = Number(formed, "Label3", text::kTotalWords);
    FillListGroup(c.formed, "ListBox2",
                  {c.transferWord, c.transferSelected, c.formed.remove, c.selectAll},
                  {c.formed.count});
    middle->addWidget(formed);
    for (QToolButton* b : {c.transferWord, c.transferSelected, c.formed.remove, c.selectAll})
        b->setEnabled(false);

    auto* notebook = Named(new QTabWidget(middle), "TabbedNotebook1");
    notebook->addTab(OutputPage(c), text::kOutputTab);
    notebook->addTab(StatisticsPage(c), text::kStatisticsTab);
    middle->addWidget(notebook);

    // Right: the keywords and how they are saved.
    c.keywords.group = Named(new QGroupBox(text::kKeywordGroup, right), "GroupBox4");
    EditButtons(c.keywords, "SpeedButton14", "SpeedButton15", "SpeedButton16");
    c.moveUp = SpeedButton(c.keywords.group, "SpeedButton17", text::kUp, {}, QStyle::SP_ArrowUp);
    c.moveDown = SpeedButton(c.keywords.group, "SpeedButton18", text::kDown, {}, QStyle::SP_ArrowDown);
    c.keywords.count = Number(c.keywords.group, "Label5", text::kTotalWords);
    c.keywordCharacters = Number(c.keywords.group, "Label7", text::kCharacters, 7);
    FillListGroup(c.keywords, "ListBox4",
                  {c.keywords.add, c.keywords.remove, c.keywords.edit, c.moveUp, c.moveDown},
                  {c.keywords.count, c.keywordCharacters});
    right->addWidget(c.keywords.group);
    QGroupBox* saving = SavingGroup(c, window);
    right->addWidget(saving);

    for (QGroupBox* box : {c.insert.group, formed, c.excluded.group, c.keywords.group, saving}) {
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
    return c;
}

}  // namespace veskaron::ui
