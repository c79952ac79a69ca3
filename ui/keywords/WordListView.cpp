#include "ui/keywords/WordListView.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QScrollBar>

#include "session/keywords/WordListModel.h"

namespace veskaron::ui {

namespace {
const QString kDragFormat = QStringLiteral("application/x-veskaron-word");
}

WordListView::WordListView(QWidget* parent) : QListView(parent) {
    setUniformItemSizes(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void WordListView::showList(session::WordListModel* model) {
    setModel(model);
    QItemSelectionModel* own = selectionModel();
    setSelectionModel(model->selectionModel());
    own->deleteLater();  // the view's default one, replaced before anything used it
    // A reset scrolls to the top; the person keeps the place in a long list.
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { scrollBeforeReset_ = verticalScrollBar()->value(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        doItemsLayout();
        verticalScrollBar()->setValue(scrollBeforeReset_);
    });
}

void WordListView::startDrag(Qt::DropActions) {
    Q_EMIT dragStarted(this);
    auto* mime = new QMimeData;
    mime->setData(kDragFormat, {});
    auto* drag = new QDrag(this);  // Qt deletes it when the drag ends
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
}

void WordListView::dragEnterEvent(QDragEnterEvent* event) {
    if (canDrop && canDrop(event->source())) event->acceptProposedAction();
    else event->ignore();
}

void WordListView::dragMoveEvent(QDragMoveEvent* event) {
    if (canDrop && canDrop(event->source())) event->acceptProposedAction();
    else event->ignore();
}

void WordListView::dropEvent(QDropEvent* event) {
    if (!canDrop || !canDrop(event->source())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT dropped(event->source(), this);
}

}  // namespace veskaron::ui
