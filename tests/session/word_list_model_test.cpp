#include <gtest/gtest.h>

#include <QSignalSpy>
#include <algorithm>

#include "messages/window_texts.h"
#include "session/keywords/WordListModel.h"

namespace veskaron::session {
namespace {

using generator::WordList;

QString Shown(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::vector<int> SelectedRows(QItemSelectionModel& selection) {
    std::vector<int> rows;
    for (const QModelIndex& i : selection.selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

WordList Words(std::vector<std::string> entries, bool multiSelect = true) {
    WordList list(multiSelect);
    list.Assign(std::move(entries));
    return list;
}

// What a person chooses in the view is what the list operations see.
TEST(WordListModel, TheViewsSelectionIsTheLists) {
    WordListModel model(Words({"a", "b", "c", "d"}), Shown);
    QItemSelectionModel& selection = *model.selectionModel();
    QSignalSpy edited(&model, &WordListModel::selectionEdited);
    selection.select(model.index(0), QItemSelectionModel::Select);
    selection.setCurrentIndex(model.index(2), QItemSelectionModel::Select);
    EXPECT_EQ(model.list().SelectedIndices(), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(model.list().current(), 2);
    selection.select(model.index(0), QItemSelectionModel::Deselect);
    EXPECT_EQ(model.list().SelectedIndices(), (std::vector<std::size_t>{2}));
    EXPECT_GE(edited.count(), 3);
    selection.clear();
    EXPECT_EQ(model.list().SelectedCount(), 0u);
    EXPECT_EQ(model.list().current(), -1);
}

// A list of one selection has its selected row as its current entry.
TEST(WordListModel, OneSelectionIsTheCurrentEntry) {
    WordListModel model(Words({"a", "b"}, false), Shown);
    QItemSelectionModel& selection = *model.selectionModel();
    selection.select(model.index(1), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(model.list().current(), 1);
    EXPECT_EQ(model.list().SelectedCount(), 1u);
    selection.clearSelection();
    EXPECT_EQ(model.list().current(), -1);
}

// An operation changes the rows, and the view shows the selection and the
// current entry it left, without reporting them as the person's edit.
TEST(WordListModel, ChangesShowTheSelectionTheyLeave) {
    WordListModel model(Words({"c", "b", "a", "d"}), Shown);
    QItemSelectionModel& selection = *model.selectionModel();
    selection.setCurrentIndex(model.index(1), QItemSelectionModel::Select);   // b
    selection.select(model.index(3), QItemSelectionModel::Select);            // d
    QSignalSpy edited(&model, &WordListModel::selectionEdited);
    QSignalSpy changed(&model, &WordListModel::entriesChanged);

    model.change([](WordList& l) { l.SetSorted(true); });  // a b c d
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), QStringLiteral("a"));
    EXPECT_EQ(SelectedRows(selection), (std::vector<int>{1, 3}));
    EXPECT_EQ(selection.currentIndex().row(), 1);

    model.change([](WordList& l) { generator::DeleteChosen(l); });
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_TRUE(SelectedRows(selection).empty());

    model.change([](WordList& l) { l.SelectAll(true); });
    EXPECT_EQ(SelectedRows(selection), (std::vector<int>{0, 1}));
    EXPECT_EQ(edited.count(), 0);
    EXPECT_EQ(changed.count(), 3);

    // The person's next choice starts from what the view shows.
    selection.select(model.index(0), QItemSelectionModel::Deselect);
    EXPECT_EQ(model.list().SelectedIndices(), (std::vector<std::size_t>{1}));
}

// "слова" after 2, 3 and 4 only; one word is named.
TEST(DeleteQuestions, CountTheWordsInRussian) {
    const std::pair<qsizetype, const char*> cases[] = {
        {0, "Удалить 0  слов?"}, {2, "Удалить 2  слова?"}, {4, "Удалить 4  слова?"},
        {5, "Удалить 5  слов?"}, {22, "Удалить 22  слов?"}};
    for (const auto& [count, question] : cases)
        EXPECT_EQ(msg::keywords::DeleteWordsQuestion(count), QString::fromUtf8(question)) << count;
    EXPECT_EQ(msg::keywords::DeleteWordQuestion(QStringLiteral("один")), QStringLiteral("Удалить \"один\"?"));
}

}  // namespace
}  // namespace veskaron::session
