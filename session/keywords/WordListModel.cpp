#include "session/keywords/WordListModel.h"

#include <utility>

namespace veskaron::session {

WordListModel::WordListModel(generator::WordList list,
                             std::function<QString(std::string_view)> shown, QObject* parent)
    : QAbstractListModel(parent), list_(std::move(list)), shown_(std::move(shown)), selection_(this) {
    connect(&selection_, &QItemSelectionModel::selectionChanged, this, [this] {
        if (changing_) return;
        takeSelection();
        Q_EMIT selectionEdited();
    });
    connect(&selection_, &QItemSelectionModel::currentChanged, this, [this] {
        if (changing_) return;
        takeSelection();
        Q_EMIT selectionEdited();
    });
}

int WordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

QVariant WordListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() ||
        static_cast<std::size_t>(index.row()) >= list_.size())
        return {};
    return shown_(list_.at(static_cast<std::size_t>(index.row())));
}

Qt::ItemFlags WordListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

// The selection model into the list. A one-selection list has its selected
// row as its current entry; a list of several keeps the focus as current.
void WordListModel::takeSelection() {
    const QItemSelection chosen = selection_.selection();
    if (!list_.multiSelect()) {
        const bool one = chosen.size() == 1 && chosen.front().height() == 1;
        list_.SetCurrent(one ? chosen.front().top() : -1);
        return;
    }
    list_.SelectAll(false);
    for (const QItemSelectionRange& range : chosen)
        for (int row = range.top(); row <= range.bottom(); ++row)
            list_.Select(static_cast<std::size_t>(row), true);
    const QModelIndex current = selection_.currentIndex();
    list_.SetCurrent(current.isValid() ? current.row() : -1);
}

// The list's current entry and selection into the selection model.
void WordListModel::showSelection() {
    const std::vector<std::size_t> chosen = list_.SelectedIndices();
    QItemSelection rows;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        const std::size_t first = chosen[k];
        while (k + 1 < chosen.size() && chosen[k + 1] == chosen[k] + 1) ++k;
        rows.select(index(static_cast<int>(first)), index(static_cast<int>(chosen[k])));
    }
    if (list_.current() >= 0)
        selection_.setCurrentIndex(index(list_.current()), QItemSelectionModel::NoUpdate);
    selection_.select(rows, QItemSelectionModel::ClearAndSelect);
}

void WordListModel::change(const std::function<void(generator::WordList&)>& operation) {
    const bool outer = !changing_;
    changing_ = true;
    beginResetModel();
    operation(list_);
    endResetModel();
    showSelection();
    if (outer) changing_ = false;
    Q_EMIT entriesChanged();
}

}  // namespace veskaron::session
