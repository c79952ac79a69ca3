#pragma once
// One word list of the keyword generator as a Qt item model. The model owns
// the list and the selection its view shows: the view takes selectionModel()
// as its own, and the list's current entry and selected entries follow every
// change of it, so the list operations read the person's choice directly and
// nothing copies a selection by hand.
#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <functional>
#include <string_view>

#include "generator/word_lists.h"

namespace veskaron::session {

class WordListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    // `shown` turns an entry (document text) into the text the view shows.
    WordListModel(generator::WordList list, std::function<QString(std::string_view)> shown,
                  QObject* parent = nullptr);

    const generator::WordList& list() const { return list_; }
    QItemSelectionModel* selectionModel() { return &selection_; }

    // Runs a list operation and shows its outcome: the entries, and the
    // current entry and the selection the operation left in the list.
    void change(const std::function<void(generator::WordList&)>& operation);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // The selection or the current entry changed through the view (or code
    // acting for a person), not through change().
    void selectionEdited();
    // The entries changed through change().
    void entriesChanged();

private:
    void takeSelection();
    void showSelection();

    generator::WordList list_;
    std::function<QString(std::string_view)> shown_;
    QItemSelectionModel selection_;
    bool changing_ = false;
};

}  // namespace veskaron::session
