#include "ui/keywords/ListButtons.h"

#include <QFileInfo>
#include <QToolButton>

#include "platform/error_text.h"
#include "messages/window_texts.h"
#include "session/keywords/WordListModel.h"
#include "ui/common/Dialogs.h"
#include "ui/keywords/GeneratorControls.h"
#include "ui/keywords/WordListView.h"

namespace veskaron::ui {

using generator::ListKind;
using generator::WordList;
namespace text = msg::keywords;

namespace {

struct ListFileKind {
    QString filter;
    QString extension;
};

ListFileKind FileKindOf(ListKind kind) {
    if (kind == ListKind::Insert) return {text::kInsertFileFilter, QStringLiteral(".fkh")};
    return {text::kDeleteFileFilter, QStringLiteral(".fkw")};
}

QString WithDefaultExtension(const QString& name, const QString& extension) {
    if (!QFileInfo(name).suffix().isEmpty() || QFileInfo::exists(name)) return name;
    return name + extension;
}

QString FileError(const std::string& error) { return QString::fromStdString(RussianFileError(error)); }

}  // namespace

ListButtons::ListButtons(QWidget& window, Host& host, const std::array<session::WordListModel*, 4>& models,
                         const GeneratorControls& controls)
    : window_(window), host_(host), models_(models), controls_(controls) {}

session::WordListModel& ListButtons::model(ListKind k) const { return *models_[static_cast<std::size_t>(k)]; }

int ListButtons::kindOf(const QObject* view) const {
    if (!view) return -1;
    const WordListControls* lists[] = {&controls_.insert, &controls_.excluded, &controls_.formed,
                                       &controls_.keywords};
    constexpr ListKind kinds[] = {ListKind::Insert, ListKind::Delete, ListKind::Formed, ListKind::Keyword};
    for (std::size_t i = 0; i < 4; ++i)
        if (lists[i]->view == view) return static_cast<int>(kinds[i]);
    return -1;
}

void ListButtons::addWord(ListKind k) {
    const QString& prompt = k == ListKind::Keyword ? text::kPromptKeyword : text::kPromptMandatoryWord;
    QString initial;
    for (;;) {
        const std::optional<QString> typed =
            CurrentDialogs().InputText(&window_, text::kTitleInput, prompt, initial);
        if (!typed) return;
        bool added = false;
        model(k).change([&](WordList& l) {
            added = generator::AddWord(l, host_.stored(*typed)) == generator::AddOutcome::Added;
        });
        if (added) break;
        if (CurrentDialogs().AskYesNo(&window_, msg::kCaptionError, text::kDuplicateWordQuestion,
                                      MessageKind::Error) != Answer::Yes)
            return;
        initial = *typed;
    }
    if (k == ListKind::Keyword) host_.refreshKeywordCounters();
}

void ListButtons::deleteWords(ListKind k) {
    const WordList& list = model(k).list();
    if (list.empty()) return;
    const std::size_t count = generator::DeleteCount(list);
    // The word in the question goes through the document's codec like every shown word.
    const QString question =
        count == 1 ? text::DeleteWordQuestion(host_.shown(list.at(list.SelectedIndices().front())))
                   : text::DeleteWordsQuestion(static_cast<qsizetype>(count));
    if (host_.setupValues().QuestDelWord &&
        CurrentDialogs().AskYesNo(&window_, msg::kCaptionAttention, question, MessageKind::Warning) !=
            Answer::Yes)
        return;
    model(k).change([](WordList& l) { generator::DeleteChosen(l); });
    if (k == ListKind::Keyword) host_.refreshKeywordCounters();
}

void ListButtons::editWord(ListKind k) {
    const WordList& list = model(k).list();
    if (!list.empty() && list.current() >= 0) {
        QString initial = host_.shown(list.at(static_cast<std::size_t>(list.current())));
        for (;;) {
            const std::optional<QString> typed = CurrentDialogs().InputText(
                &window_, text::kTitleChange, text::kPromptChange, initial);
            if (!typed) break;
            bool refused = false;
            model(k).change([&](WordList& l) {
                refused = generator::EditWord(l, k, host_.stored(*typed)) == generator::EditOutcome::Refused;
            });
            if (!refused) break;
            CurrentDialogs().Message(&window_, MessageKind::Error, msg::kCaptionError,
                                     text::kSameWordMessage);
            initial = *typed;
        }
    }
    if (k == ListKind::Keyword) host_.refreshKeywordCounters();
}

void ListButtons::openList(ListKind k) {
    std::string& file = host_.listFile(k);
    const ListFileKind fk = FileKindOf(k);
    const std::optional<QString> name = CurrentDialogs().OpenFileName(
        &window_, text::kOpen, QString::fromStdString(file), fk.filter);
    if (!name) return;
    file = WithDefaultExtension(*name, fk.extension).toStdString();
    std::vector<std::string> entries;
    bool missing = false;
    std::string error;
    if (!host_.readListFile(file, entries, missing, error)) {
        CurrentDialogs().Error(&window_, text::ListNotRead(QString::fromStdString(file), FileError(error)));
        return;
    }
    model(k).change([&](WordList& l) { l.Assign(std::move(entries)); });
}

void ListButtons::saveList(ListKind k) {
    std::string& file = host_.listFile(k);
    const ListFileKind fk = FileKindOf(k);
    const std::optional<QString> name = CurrentDialogs().SaveFileName(
        &window_, text::kSave, QString::fromStdString(file), fk.filter);
    if (!name) return;
    file = WithDefaultExtension(*name, fk.extension).toStdString();
    if (const std::string error = host_.writeListFile(file, model(k).list().entries()); !error.empty())
        CurrentDialogs().Error(&window_, text::ListNotWritten(QString::fromStdString(file), FileError(error)));
}

void ListButtons::moveKeyword(bool up) {
    model(ListKind::Keyword).change([up](WordList& l) {
        if (up) generator::MoveUp(l);
        else generator::MoveDown(l);
    });
}

void ListButtons::transferWord() {
    auto outcome = generator::TransferOutcome::Nothing;
    const WordList& formed = model(ListKind::Formed).list();
    model(ListKind::Keyword).change([&](WordList& l) { outcome = generator::TransferCurrent(formed, l); });
    if (outcome == generator::TransferOutcome::Duplicate)
        CurrentDialogs().Message(&window_, MessageKind::Error, msg::kCaptionError, text::kSameWordMessage);
    host_.refreshKeywordCounters();
}

void ListButtons::transferSelectedWords() {
    model(ListKind::Formed).change([this](WordList& formed) {
        model(ListKind::Keyword).change([&](WordList& keywords) {
            generator::TransferSelected(formed, keywords);
        });
    });
    host_.refreshKeywordCounters();
}

void ListButtons::toggleSelectAll() {
    selectAllOn_ = !selectAllOn_;
    model(ListKind::Formed).change([this](WordList& l) { l.SelectAll(selectAllOn_); });
    controls_.transferSelected->setEnabled(selectAllOn_);
}

// ---- Drag and drop ----

void ListButtons::startWordDrag(WordListView* source) {
    const int from = kindOf(source);
    if (from < 0) return;
    dragged_ = generator::DragStartText(model(static_cast<ListKind>(from)).list(), dragged_);
}

bool ListButtons::acceptsWordDrop(QObject* source) const {
    return kindOf(source) >= 0 && generator::AcceptsDrop(dragged_);
}

void ListButtons::dropWords(QObject* source, WordListView* target) {
    const int from = kindOf(source);
    const int to = kindOf(target);
    if (from < 0 || to < 0 || !generator::AcceptsDrop(dragged_)) return;
    session::WordListModel& sourceModel = model(static_cast<ListKind>(from));
    session::WordListModel& targetModel = model(static_cast<ListKind>(to));
    if (&sourceModel == &targetModel) {
        sourceModel.change([this](WordList& l) { generator::DropWords(l, l, dragged_); });
    } else {
        sourceModel.change([&](WordList& s) {
            targetModel.change([&](WordList& t) { generator::DropWords(s, t, dragged_); });
        });
    }
    host_.refreshKeywordCounters();
}

}  // namespace veskaron::ui
