#pragma once
// A word list of the generator window. Its drags and drops are decided by the
// window; the view only reports where a drag starts and where it is dropped.
#include <QListView>
#include <functional>

namespace veskaron::session {
class WordListModel;
}

namespace veskaron::ui {

class WordListView final : public QListView {
    Q_OBJECT

public:
    explicit WordListView(QWidget* parent = nullptr);

    // Shows the model's list with the model's own selection. A change of the
    // whole list keeps the place the person scrolled to.
    void showList(session::WordListModel* model);

    // Whether a drag that came from `source` may be dropped here.
    std::function<bool(QObject* source)> canDrop;

Q_SIGNALS:
    void dragStarted(veskaron::ui::WordListView* source);
    void dropped(QObject* source, veskaron::ui::WordListView* target);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int scrollBeforeReset_ = 0;
};

}  // namespace veskaron::ui
