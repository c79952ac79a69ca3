// The generator window's list buttons and drag and drop between its lists.
#include "ui/keywords/KeywordWindow.h"

#include <QFileInfo>
#include <QToolButton>

#include "platform/error_text.h"
#include "session/Messages.h"
#include "session/keywords/WordListModel.h"
#include "ui/common/Dialogs.h"
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

void KeywordWindow::addWord(ListKind k) {
    const QString& prompt = k == ListKind::Keyword ? text::kPromptKeyword : text::kPromptMandatoryWord;
    QString initial;
    for (;;) {
        const std::optional<QString> typed =
            CurrentDialogs().InputText(this, text::kTitleInput, prompt, initial);
        if (!typed) return;
        bool added = false;
        model(k).change([&](WordList& l) {
            added = generator::AddWord(l, stored(*typed)) == generator::AddOutcome::Added;
        });
        if (added) break;
        if (CurrentDialogs().AskYesNo(this, msg::kCaptionError, text::kDuplicateWordQuestion,
                                      MessageKind::Error) != Answer::Yes)
            return;
        initial = *typed;
    }
    if (k == ListKind::Keyword) refreshKeywordCounters();
}

void KeywordWindow::deleteWords(ListKind k) {
    const WordList& list = model(k).list();
    if (list.empty()) return;
    const std::size_t count = generator::DeleteCount(list);
    // The word in the question goes through the document's codec like every shown word.
    const QString question =
        count == 1 ? text::DeleteWordQuestion(shown(list.at(list.SelectedIndices().front())))
                   : text::DeleteWordsQuestion(static_cast<qsizetype>(count));
    if (setupValues().QuestDelWord &&
        CurrentDialogs().AskYesNo(this, msg::kCaptionAttention, question, MessageKind::Warning) !=
            Answer::Yes)
        return;
    model(k).change([](WordList& l) { generator::DeleteChosen(l); });
    if (k == ListKind::Keyword) refreshKeywordCounters();
}

void KeywordWindow::editWord(ListKind k) {
    const WordList& list = model(k).list();
    if (!list.empty() && list.current() >= 0) {
        QString initial = shown(list.at(static_cast<std::size_t>(list.current())));
        for (;;) {
            const std::optional<QString> typed = CurrentDialogs().InputText(
                this, text::kTitleChange, text::kPromptChange, initial);
            if (!typed) break;
            bool refused = false;
            model(k).change([&](WordList& l) {
                refused = generator::EditWord(l, k, stored(*typed)) == generator::EditOutcome::Refused;
            });
            if (!refused) break;
            CurrentDialogs().Message(this, MessageKind::Error, msg::kCaptionError,
                                     text::kSameWordMessage);
            initial = *typed;
        }
    }
    if (k == ListKind::Keyword) refreshKeywordCounters();
}

void KeywordWindow::openList(ListKind k) {
    std::string& file = listFile(k);
    const ListFileKind fk = FileKindOf(k);
    const std::optional<QString> name = CurrentDialogs().OpenFileName(
        this, text::kOpen, QString::fromStdString(file), fk.filter);
    if (!name) return;
    file = WithDefaultExtension(*name, fk.extension).toStdString();
    std::vector<std::string> entries;
    bool missing = false;
    std::string error;
    if (!readListFile(file, entries, missing, error)) {
        CurrentDialogs().Error(this, text::ListNotRead(QString::fromStdString(file), FileError(error)));
        return;
    }
    model(k).change([&](WordList& l) { l.Assign(std::move(entries)); });
}

void KeywordWindow::saveList(ListKind k) {
    std::string& file = listFile(k);
    const ListFileKind fk = FileKindOf(k);
    const std::optional<QString> name = CurrentDialogs().SaveFileName(
        this, text::kSave, QString::fromStdString(file), fk.filter);
    if (!name) return;
    file = WithDefaultExtension(*name, fk.extension).toStdString();
    if (const std::string error = writeListFile(file, model(k).list().entries()); !error.empty())
        CurrentDialogs().Error(this, text::ListNotWritten(QString::fromStdString(file), FileError(error)));
}

void KeywordWindow::moveKeyword(bool up) {
    model(ListKind::Keyword).change([up](WordList& l) {
        if (up) generator::MoveUp(l);
        else generator::MoveDown(l);
    });
}

void KeywordWindow::transferWord() {
    auto outcome = generator::TransferOutcome::Nothing;
    const WordList& formed = model(ListKind::Formed).list();
    model(ListKind::Keyword).change([&](WordList& l) { outcome = generator::TransferCurrent(formed, l); });
    if (outcome == generator::TransferOutcome::Duplicate)
        CurrentDialogs().Message(this, MessageKind::Error, msg::kCaptionError, text::kSameWordMessage);
    refreshKeywordCounters();
}

void KeywordWindow::transferSelectedWords() {
    model(ListKind::Formed).change([this](WordList& formed) {
        model(ListKind::Keyword).change([&](WordList& keywords) {
            generator::TransferSelected(formed, keywords);
        });
    });
    refreshKeywordCounters();
}

void KeywordWindow::toggleSelectAll() {
    selectAllOn_ = !selectAllOn_;
    model(ListKind::Formed).change([this](WordList& l) { l.SelectAll(selectAllOn_); });
    controls_.transferSelected->setEnabled(selectAllOn_);
}

// ---- Drag and drop ----

void KeywordWindow::startWordDrag(WordListView* source) {
    const int from = kindOf(source);
    if (from < 0) return;
    dragged_ = generator::DragStartText(model(static_cast<ListKind>(from)).list(), dragged_);
}

bool KeywordWindow::acceptsWordDrop(QObject* source) const {
    return kindOf(source) >= 0 && generator::AcceptsDrop(dragged_);
}

void KeywordWindow::dropWords(QObject* source, WordListView* target) {
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
    refreshKeywordCounters();
}

}  // namespace veskaron::ui
