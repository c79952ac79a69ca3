#pragma once
// The controls of the generator window and their layout: three columns, each
// split in two, with the lists, their buttons and counts, the output choices,
// the statistics and the saving group. Every control carries its layout name
// as objectName; the window wires the controls through these pointers.
#include <array>

class QButtonGroup;
class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QWidget;

namespace veskaron::ui {

class WordListView;

// A word list with its buttons (null where the list has no such button) and
// the count of its entries beside it.
struct WordListControls {
    QGroupBox* group = nullptr;
    WordListView* view = nullptr;
    QToolButton* add = nullptr;
    QToolButton* remove = nullptr;
    QToolButton* edit = nullptr;
    QToolButton* open = nullptr;
    QToolButton* save = nullptr;
    QLabel* count = nullptr;
};

struct GeneratorControls {
    WordListControls insert;    // mandatory words
    WordListControls excluded;  // words never counted
    WordListControls formed;    // the counted words
    WordListControls keywords;  // the keywords being put together

    QToolButton* transferWord = nullptr;      // ">"
    QToolButton* transferSelected = nullptr;  // ">>"
    QToolButton* selectAll = nullptr;
    QToolButton* moveUp = nullptr;
    QToolButton* moveDown = nullptr;
    QLabel* keywordCharacters = nullptr;

    QButtonGroup* sortChoice = nullptr;
    QRadioButton* allWords = nullptr;
    QRadioButton* repeatedWords = nullptr;
    QButtonGroup* wordChoice = nullptr;
    QSpinBox* repeatThreshold = nullptr;
    // The word choice, or during a run the progress panel in its place.
    QStackedWidget* choiceOrProgress = nullptr;
    QWidget* wordChoicePanel = nullptr;
    QWidget* progressPanel = nullptr;
    QProgressBar* progress = nullptr;
    QPushButton* stop = nullptr;
    std::array<QLabel*, 6> statistics{};

    QButtonGroup* separatorChoice = nullptr;
    QCheckBox* sortAlphabetically = nullptr;
    QPushButton* start = nullptr;
    QPushButton* save = nullptr;
    QPushButton* cancel = nullptr;
};

// Builds the controls into `window`, which takes a layout for them.
GeneratorControls BuildGeneratorControls(QDialog* window);

}  // namespace veskaron::ui
