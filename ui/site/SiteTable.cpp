#include "ui/site/SiteTable.h"

#include <algorithm>
#include <iterator>

#include <QHeaderView>
#include <QKeyEvent>

#include "session/site/SiteModel.h"

namespace veskaron::ui {

using session::SiteModel;

void SiteCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const bool edited = index.data(SiteModel::EditedRole).toBool();
    if (index.data(SiteModel::MarkRole).toBool()) {
        option->backgroundBrush = QColor(255, 214, 214);
    } else if (edited) {
        option->backgroundBrush = QColor(255, 243, 184);
    }
    if (edited) option->font.setBold(true);
    // A path keeps its folder and its file name in sight; the tooltip has it whole.
    if (index.column() == SiteModel::kPath) option->textElideMode = Qt::ElideMiddle;
}

SiteTable::SiteTable(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new SiteCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    // Tab leaves the table: the window's controls stay reachable by keyboard.
    setTabKeyNavigation(false);
    setSortingEnabled(true);
    setWordWrap(false);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    // Rows of one height: a hundred thousand of them scroll without measuring each.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const QString path = index.data(SiteModel::PathRole).toString();
        if (!path.isEmpty()) Q_EMIT pageChosen(path);
    });
}

void SiteTable::sizeColumns() {
    const int em = fontMetrics().horizontalAdvance(QLatin1Char('m'));
    // A caption keeps its start beside the sort arrow.
    const int arrow = style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, horizontalHeader()) +
                      2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    // Texts get room for a typical value; numbers and names as much as their caption's longest line.
    const int widths[] = {14, 18, 0, 18, 0, 9, 9, 9, 10, 0, 0, 0, 11};
    static_assert(std::size(widths) == SiteModel::kColumnCount);
    for (int c = 0; c < SiteModel::kColumnCount; ++c) {
        int caption = 0;
        for (const QString& line : model()->headerData(c, Qt::Horizontal).toString().split(QLatin1Char('\n')))
            caption = std::max(caption, fontMetrics().horizontalAdvance(line));
        setColumnWidth(c, std::max(caption + em + arrow, widths[c] * em));
    }
}

void SiteTable::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != QAbstractItemView::EditingState && currentIndex().isValid() &&
        (currentIndex().flags() & Qt::ItemIsEditable)) {
        edit(currentIndex());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace veskaron::ui
