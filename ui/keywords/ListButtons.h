#pragma once
// The generator window's list buttons: a word added, deleted or changed, a
// list file opened or saved, the keywords moved up and down, the counted
// words carried over to the keywords, all of them selected at once; and the
// drag and drop between the lists. The window wires its controls to these.
#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "generator/word_lists.h"
#include "settings/setup_values.h"

class QObject;
class QWidget;

namespace veskaron::session {
class WordListModel;
}

namespace veskaron::ui {

struct GeneratorControls;
class WordListView;

class ListButtons final {
public:
    // What the buttons ask of their window: its document's text both ways,
    // its list files, its settings, and the keyword counters shown again.
    class Host {
    public:
        virtual QString shown(std::string_view text) const = 0;
        virtual std::string stored(const QString& text) const = 0;
        // The file of the mandatory or the excluded words.
        virtual std::string& listFile(generator::ListKind kind) = 0;
        virtual bool readListFile(const std::string& path, std::vector<std::string>& entries, bool& missing,
                                  std::string& error) const = 0;
        virtual std::string writeListFile(const std::string& path,
                                          const std::vector<std::string>& entries) const = 0;
        virtual SetupValues setupValues() const = 0;
        virtual void refreshKeywordCounters() = 0;

    protected:
        ~Host() = default;
    };

    // The lists' models by ListKind and the controls are the window's, which
    // asks and reports over `window`.
    ListButtons(QWidget& window, Host& host, const std::array<session::WordListModel*, 4>& models,
                const GeneratorControls& controls);

    void addWord(generator::ListKind kind);
    void deleteWords(generator::ListKind kind);
    void editWord(generator::ListKind kind);
    void openList(generator::ListKind kind);
    void saveList(generator::ListKind kind);
    void moveKeyword(bool up);
    void transferWord();
    void transferSelectedWords();
    void toggleSelectAll();

    // A drag starts from `source`; whether a list takes a drag that came
    // from `source`; the drop.
    void startWordDrag(WordListView* source);
    bool acceptsWordDrop(QObject* source) const;
    void dropWords(QObject* source, WordListView* target);

private:
    session::WordListModel& model(generator::ListKind kind) const;
    int kindOf(const QObject* view) const;  // -1 when not one of the four lists

    QWidget& window_;
    Host& host_;
    const std::array<session::WordListModel*, 4>& models_;
    const GeneratorControls& controls_;
    std::string dragged_;
    bool selectAllOn_ = false;
};

}  // namespace veskaron::ui
