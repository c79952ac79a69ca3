#include "ui/keywords/KeywordWindow.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>

#include "generator/word_list_file.h"
#include "platform/error_text.h"
#include "platform/key_store.h"
#include "platform/line_list.h"
#include "messages/window_texts.h"
#include "session/settings/Settings.h"
#include "session/keywords/WordListModel.h"
#include "ui/common/Dialogs.h"
#include "ui/keywords/KeywordHost.h"
#include "ui/keywords/WordListView.h"
#include "ui/pages/DocText.h"

namespace veskaron::ui {

using generator::ListKind;
using generator::WordList;
namespace text = msg::keywords;

namespace {

constexpr std::array<ListKind, 4> kKinds = {ListKind::Insert, ListKind::Delete, ListKind::Formed,
                                             ListKind::Keyword};

std::size_t Index(ListKind kind) { return static_cast<std::size_t>(kind); }

// Checks the button with `id` in an exclusive group, or none for an id the
// group does not have.
void CheckOnly(QButtonGroup* group, int id) {
    if (QAbstractButton* target = group->button(id)) {
        target->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

QString FileError(const std::string& error) { return QString::fromStdString(RussianFileError(error)); }

}  // namespace

KeywordWindow::KeywordWindow(KeywordHost& host, QWidget* parent)
    : QDialog(parent), host_(host), buttons_(*this, *this, models_, controls_) {
    setObjectName(QStringLiteral("FmKeyWord"));
    setWindowTitle(text::kWindowTitle);
    // The lists hold the document's own text, compared by its letters; only
    // the excluded words take one selection.
    for (ListKind k : kKinds) {
        models_[Index(k)] = new session::WordListModel(
            WordList(k != ListKind::Delete, kind()), [this](std::string_view t) { return shown(t); },
            this);
    }
    controls_ = BuildGeneratorControls(this);
    connectControls();
    // The first size, or what the captions need in a wider font.
    resize(QSize(598, 348).expandedTo(minimumSizeHint()));
    // Centred on the screen, not over the main window.
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - rect().center());
}

KeywordWindow::~KeywordWindow() = default;

void KeywordWindow::connectControls() {
    GeneratorControls& c = controls_;
    for (ListKind k : kKinds) {
        WordListControls& list = listControls(k);
        session::WordListModel* m = &model(k);
        list.view->showList(m);
        list.view->setSelectionMode(m->list().multiSelect() ? QAbstractItemView::ExtendedSelection
                                                            : QAbstractItemView::SingleSelection);
        list.view->setDragEnabled(k != ListKind::Keyword);
        list.view->canDrop = [this](QObject* source) { return acceptsWordDrop(source); };
        connect(list.view, &WordListView::dragStarted, this, &KeywordWindow::startWordDrag);
        connect(list.view, &WordListView::dropped, this, &KeywordWindow::dropWords);
        if (k != ListKind::Keyword)  // the keyword count goes with the character count
            connect(m, &session::WordListModel::entriesChanged, list.count,
                    [label = list.count, m] { label->setText(QString::number(m->list().size())); });
        if (list.add) connect(list.add, &QToolButton::clicked, this, [this, k] { buttons_.addWord(k); });
        if (list.remove) connect(list.remove, &QToolButton::clicked, this, [this, k] { buttons_.deleteWords(k); });
        if (list.edit) connect(list.edit, &QToolButton::clicked, this, [this, k] { buttons_.editWord(k); });
        if (list.open) connect(list.open, &QToolButton::clicked, this, [this, k] { buttons_.openList(k); });
        if (list.save) connect(list.save, &QToolButton::clicked, this, [this, k] { buttons_.saveList(k); });
    }
    connect(c.moveUp, &QToolButton::clicked, this, [this] { buttons_.moveKeyword(true); });
    connect(c.moveDown, &QToolButton::clicked, this, [this] { buttons_.moveKeyword(false); });
    connect(c.transferWord, &QToolButton::clicked, this, [this] { buttons_.transferWord(); });
    connect(c.transferSelected, &QToolButton::clicked, this, [this] { buttons_.transferSelectedWords(); });
    connect(c.selectAll, &QToolButton::clicked, this, [this] { buttons_.toggleSelectAll(); });
    connect(c.formed.view, &QAbstractItemView::doubleClicked, this, [this] { buttons_.transferWord(); });
    connect(&model(ListKind::Formed), &session::WordListModel::selectionEdited, this,
            &KeywordWindow::formedSelectionChanged);

    connect(c.sortChoice, &QButtonGroup::idClicked, this, &KeywordWindow::refillFormedWords);
    connect(c.wordChoice, &QButtonGroup::idClicked, this, &KeywordWindow::refillFormedWords);
    connect(c.repeatThreshold, &QSpinBox::valueChanged, this, &KeywordWindow::thresholdChanged);
    connect(c.separatorChoice, &QButtonGroup::idClicked, this, &KeywordWindow::separatorChosen);
    connect(c.sortAlphabetically, &QCheckBox::clicked, this, &KeywordWindow::sortChosen);
    connect(c.start, &QPushButton::clicked, this, &KeywordWindow::startCount);
    connect(c.stop, &QPushButton::clicked, this, &KeywordWindow::stopCount);
    connect(c.save, &QPushButton::clicked, this, &KeywordWindow::composeKeywords);
    connect(c.cancel, &QPushButton::clicked, this, &KeywordWindow::reject);

    connect(&run_, &WordCountRun::progressed, c.progress, &QProgressBar::setValue);
    connect(&run_, &WordCountRun::ended, this, &KeywordWindow::takeCount);
}

// ---- Settings ----

// Through the run's settings object, which owns the store.
SetupValues KeywordWindow::setupValues() const { return host_.RunSettings().setupValues(); }

GeneratorSettings KeywordWindow::readStoredChoices() const {
    session::Settings& run = host_.RunSettings();
    run.reloadGeneratorFlags();
    return run.generatorValues();
}

void KeywordWindow::writeStoredChoices(const GeneratorSettings& choices) const {
    host_.RunSettings().storeGeneratorValues(choices);
}

// ---- Conversions and list files ----

TextKind KeywordWindow::kind() const {
    return host_.Codec().Name() == "utf-8" ? TextKind::Utf8 : TextKind::Cp1251;
}

QString KeywordWindow::shown(std::string_view t) const { return ToQt(host_.Codec(), t); }

std::string KeywordWindow::stored(const QString& t) const { return FromQt(host_.Codec(), t); }

bool KeywordWindow::readListFile(const std::string& path, std::vector<std::string>& entries,
                              bool& missing, std::string& error) const {
    if (kind() == TextKind::Utf8) {
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

std::string KeywordWindow::writeListFile(const std::string& path,
                                      const std::vector<std::string>& entries) const {
    if (kind() == TextKind::Cp1251) return generator::WriteWordListFile(path, entries);
    // A word that Windows-1251 cannot hold is kept as "&#N;" and read back as itself.
    const FileStatus status = WriteLineListUtf8(path, entries);
    return status.ok ? std::string() : status.error;
}

std::string& KeywordWindow::listFile(ListKind k) {
    return k == ListKind::Insert ? insertListFile_ : deleteListFile_;
}

std::vector<std::string> KeywordWindow::descriptionLines() const {
    return SplitLineList(stored(host_.Description()));
}

// ---- Lists ----

session::WordListModel& KeywordWindow::model(ListKind k) const { return *models_[Index(k)]; }

const WordList& KeywordWindow::List(ListKind k) const { return model(k).list(); }

WordListControls& KeywordWindow::listControls(ListKind k) {
    switch (k) {
        case ListKind::Insert: return controls_.insert;
        case ListKind::Delete: return controls_.excluded;
        case ListKind::Formed: return controls_.formed;
        case ListKind::Keyword: break;
    }
    return controls_.keywords;
}

void KeywordWindow::setWordChoice(bool all, bool repeated) {
    controls_.wordChoice->setExclusive(false);
    // Set one after the other, the later one wins when both are asked for.
    controls_.allWords->setChecked(all && !repeated);
    controls_.repeatedWords->setChecked(repeated);
    controls_.wordChoice->setExclusive(true);
}

// ---- Showing and closing ----

void KeywordWindow::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
}

void KeywordWindow::prepareForShow() {
    GeneratorControls& c = controls_;
    c.formed.count->setText(QStringLiteral("0"));
    c.save->setEnabled(false);
    table_.Clear();

    const GeneratorSettings choices = readStoredChoices();
    CheckOnly(c.sortChoice, choices.RG1);
    CheckOnly(c.separatorChoice, choices.RG2);
    setWordChoice(choices.RG3, choices.RG4);
    {
        const QSignalBlocker block(c.repeatThreshold);
        c.repeatThreshold->setValue(choices.SE1);
    }
    insertListFile_ = choices.FWord;
    deleteListFile_ = choices.FWordDel;
    loadListsAtShow();

    minWordLen_ = host_.MinWord();

    // The field's lines joined by CR LF.
    QString keywords = host_.Keywords();
    keywords.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    keywords.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    int choice = c.separatorChoice->checkedId();
    const std::string split = stored(keywords);
    model(ListKind::Keyword).change([&](WordList& l) { generator::SplitKeywords(split, choice, l); });
    CheckOnly(c.separatorChoice, choice);

    model(ListKind::Formed).change([](WordList& l) { l.Clear(); });
    refreshKeywordCounters();
    c.save->setEnabled(false);
}

void KeywordWindow::loadListsAtShow() {
    for (ListKind k : {ListKind::Insert, ListKind::Delete}) {
        const std::string& file = listFile(k);
        std::vector<std::string> entries;
        bool missing = false;
        std::string error;
        const bool read = readListFile(file, entries, missing, error);
        model(k).change([&](WordList& l) { l.Assign(read ? std::move(entries) : std::vector<std::string>{}); });
        if (!read && !missing)
            CurrentDialogs().Error(this, text::ListNotRead(QString::fromStdString(file), FileError(error)));
    }
}

void KeywordWindow::done(int result) {
    // A count still working is of no use to a closed window.
    if (run_.running()) stopCount();
    storeChoices();
    QDialog::done(result);
}

void KeywordWindow::storeChoices() {
    GeneratorSettings g;
    g.RG1 = controls_.sortChoice->checkedId();
    g.RG2 = controls_.separatorChoice->checkedId();
    g.RG3 = controls_.allWords->isChecked();
    g.RG4 = controls_.repeatedWords->isChecked();
    g.SE1 = controls_.repeatThreshold->value();
    g.FWord = insertListFile_;
    g.FWordDel = deleteListFile_;
    writeStoredChoices(g);
}

// ---- The run ----

void KeywordWindow::startCount() {
    if (run_.running()) return;
    GeneratorControls& c = controls_;
    c.progress->setValue(0);
    c.choiceOrProgress->setCurrentWidget(c.progressPanel);
    c.start->setEnabled(false);
    busy_.emplace(Qt::BusyCursor);  // busy, yet "Стоп" still answers

    WordCountRun::Input input;
    input.source = host_.SourceBytes();
    input.description = descriptionLines();
    input.excluded = model(ListKind::Delete).list().entries();
    const SetupValues setup = setupValues();
    input.options.minWordLen = minWordLen_;
    input.options.keyCifra = setup.KeyCifra;
    input.options.bolAlt = setup.BolAlt;
    input.options.insertDescription = setup.InsertDescription;
    input.options.kind = kind();
    run_.start(std::move(input));
}

// The window goes back to where it was before "Запуск" at once; the count's
// result, should it still come, is dropped. "Запуск" answers again when the
// worker has seen the stop, a moment later.
void KeywordWindow::stopCount() {
    run_.stop();
    controls_.choiceOrProgress->setCurrentWidget(controls_.wordChoicePanel);
    busy_.reset();
}

void KeywordWindow::takeCount(WordCountRun::End end) {
    GeneratorControls& c = controls_;
    if (end != WordCountRun::End::Stopped) {
        table_ = run_.takeTable();
        refillFormedWords();
        c.save->setEnabled(true);
        const bool any = !model(ListKind::Formed).list().empty();
        for (QToolButton* b : {c.transferWord, c.formed.remove, c.selectAll}) b->setEnabled(any);
        c.transferSelected->setEnabled(false);
    }
    c.choiceOrProgress->setCurrentWidget(c.wordChoicePanel);
    c.start->setEnabled(true);
    busy_.reset();
    if (end == WordCountRun::End::Failed)
        CurrentDialogs().Error(this, text::CountBroken(QString::fromStdString(run_.failure())));
    Q_EMIT countFinished();
}

// ---- Choices ----

void KeywordWindow::refillFormedWords() {
    const GeneratorControls& c = controls_;
    std::vector<std::string> lines = generator::FillWordList(
        table_, generator::SortModeFromIndex(c.sortChoice->checkedId()), !c.allWords->isChecked(),
        c.repeatThreshold->value());
    const generator::WordStatistics s = generator::ComputeWordStatistics(table_, lines.size());
    model(ListKind::Formed).change([&](WordList& l) { l.Assign(std::move(lines)); });
    const std::int64_t values[] = {s.total, s.selected, s.over3, s.exactly3, s.twice, s.once};
    for (std::size_t i = 0; i < c.statistics.size(); ++i)
        c.statistics[i]->setText(QString::number(values[i]));
}

void KeywordWindow::thresholdChanged() {
    setWordChoice(false, true);
    refillFormedWords();
}

void KeywordWindow::separatorChosen() {
    refreshKeywordCounters();
    controls_.save->setEnabled(true);
}

void KeywordWindow::sortChosen() {
    const bool on = controls_.sortAlphabetically->isChecked();
    model(ListKind::Keyword).change([on](WordList& l) { l.SetSorted(on); });
    controls_.save->setEnabled(true);
}

void KeywordWindow::formedSelectionChanged() {
    const bool any = model(ListKind::Formed).list().SelectedCount() > 0;
    GeneratorControls& c = controls_;
    for (QToolButton* b : {c.transferWord, c.transferSelected, c.formed.remove, c.selectAll})
        b->setEnabled(any);
}

void KeywordWindow::refreshKeywordCounters() {
    generator::KeywordCounters counters;
    const int choice = controls_.separatorChoice->checkedId();
    model(ListKind::Keyword).change([&](WordList& l) {
        counters = generator::UpdateKeywordCounters(l, choice, minWordLen_);
    });
    controls_.keywords.count->setText(QString::number(counters.words));
    controls_.keywordCharacters->setText(QString::number(counters.characters));
}

void KeywordWindow::composeKeywords() {
    // A long keyword list takes a while to compose and more to show in the
    // main window's box.
    const OverrideCursor wait(Qt::WaitCursor);
    auto failed = [this](const std::string& file, const std::string& error) {
        CurrentDialogs().Error(this, text::ListNotWritten(QString::fromStdString(file), FileError(error)));
    };
    // The excluded words first: if they cannot be kept, nothing is handed over.
    if (std::string error = writeListFile(deleteListFile_, model(ListKind::Delete).list().entries());
        !error.empty()) {
        failed(deleteListFile_, error);
        return;
    }
    const bool sorted = controls_.sortAlphabetically->isChecked();
    std::string keywords;
    model(ListKind::Keyword).change([&](WordList& l) {
        keywords = generator::ComposeKeywordsText(model(ListKind::Insert).list(), l,
                                                  controls_.separatorChoice->checkedId(),
                                                  setupValues().BolSaveKeyObword, sorted);
        l.SetSorted(sorted);
    });
    host_.SetKeywords(shown(keywords));
    if (std::string error = writeListFile(insertListFile_, model(ListKind::Insert).list().entries());
        !error.empty()) {
        failed(insertListFile_, error);
        return;
    }
    accept();
}

}  // namespace veskaron::ui
