#pragma once
// The site table's view: cells marked by findings and edited cells drawn
// apart, Enter or F2 edits the current cell, a double click opens the page.
#include <QStyledItemDelegate>
#include <QTableView>

namespace veskaron::ui {

class SiteCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

class SiteTable final : public QTableView {
    Q_OBJECT

public:
    explicit SiteTable(QWidget* parent = nullptr);
    // Column widths that fit the captions and typical texts.
    void sizeColumns();

Q_SIGNALS:
    // A double click on a row, with the page's path.
    void pageChosen(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace veskaron::ui
