#pragma once
// The keyword generator window: counts the words of the open page, works the
// four word lists and hands the composed keywords back to the main window.
// The word engine and the list operations live in generator/, each list's
// model in session/, the list buttons' work in ListButtons; this window
// wires its controls to them.
#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/encoding.h"
#include "generator/word_engine.h"
#include "generator/word_lists.h"
#include "settings/setup_values.h"
#include "ui/keywords/GeneratorControls.h"
#include "ui/keywords/ListButtons.h"
#include "ui/keywords/OverrideCursor.h"
#include "ui/keywords/WordCountRun.h"

namespace veskaron::session {
class WordListModel;
}

namespace veskaron::ui {

class KeywordHost;
class WordListView;

class KeywordWindow final : public QDialog, private ListButtons::Host {
    Q_OBJECT

public:
    explicit KeywordWindow(KeywordHost& host, QWidget* parent = nullptr);
    ~KeywordWindow() override;

    const generator::WordList& List(generator::ListKind kind) const;
    const std::string& InsertListFile() const { return insertListFile_; }
    const std::string& DeleteListFile() const { return deleteListFile_; }
    // Whether a word count is working.
    bool counting() const { return run_.running(); }

    // Drag and drop between the lists: a drag starts from `source`, whether
    // a list may take a drag that came from `source`, and the drop.
    void startWordDrag(WordListView* source) { buttons_.startWordDrag(source); }
    bool acceptsWordDrop(QObject* source) const { return buttons_.acceptsWordDrop(source); }
    void dropWords(QObject* source, WordListView* target) { buttons_.dropWords(source, target); }

    void done(int result) override;

Q_SIGNALS:
    // A word count ended: counted, stopped or broken.
    void countFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void connectControls();

    // Showing and closing.
    void prepareForShow();
    void loadListsAtShow();
    void storeChoices();

    // The run.
    void startCount();
    void stopCount();
    void takeCount(WordCountRun::End end);

    // The choices and the saving group.
    void refillFormedWords();
    void thresholdChanged();
    void separatorChosen();
    void sortChosen();
    void formedSelectionChanged();
    void composeKeywords();

    // The keywords' word and character counts shown again.
    void refreshKeywordCounters() override;

    // Settings: the window reaches them only through these three.
    SetupValues setupValues() const override;
    // The window's stored choices; reading them also reads the word flags again.
    GeneratorSettings readStoredChoices() const;
    void writeStoredChoices(const GeneratorSettings& choices) const;

    // The only places the generator converts text. Lists, words and the
    // engine hold the document's text (Windows-1251 bytes or UTF-8) and reach
    // the widgets through the document's codec; the list files stay
    // Windows-1251 whatever the page.
    TextKind kind() const;
    QString shown(std::string_view text) const override;
    std::string stored(const QString& text) const override;
    // Reads a list file into document text; false with `error` when it cannot.
    bool readListFile(const std::string& path, std::vector<std::string>& entries, bool& missing,
                      std::string& error) const override;
    // Writes the entries to a list file; the error text, empty on success.
    std::string writeListFile(const std::string& path,
                              const std::vector<std::string>& entries) const override;
    std::string& listFile(generator::ListKind kind) override;
    std::vector<std::string> descriptionLines() const;

    session::WordListModel& model(generator::ListKind kind) const;
    WordListControls& listControls(generator::ListKind kind);
    void setWordChoice(bool all, bool repeated);

    KeywordHost& host_;
    std::array<session::WordListModel*, 4> models_{};  // owned as children
    GeneratorControls controls_;
    ListButtons buttons_;  // over models_ and controls_
    WordCountRun run_;
    std::optional<OverrideCursor> busy_;  // while a count works
    generator::WordTable table_;
    std::string insertListFile_;
    std::string deleteListFile_;
    int minWordLen_ = 4;
};

}  // namespace veskaron::ui
