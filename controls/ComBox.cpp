#include "controls/ComBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace veskaron {

TListHint::TListHint(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput) {
    setObjectName(QStringLiteral("TListHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    // Border plus indent put the text where the item draws it.
    setIndent(2);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
}

void TListHint::ActivateHint(const QRect& rect, const QString& text) {
    ++FActivations;
    setText(text);
    QRect r = rect;
    // Keep the tip on the screen it belongs to.
    if (const QScreen* screen = QGuiApplication::screenAt(rect.topLeft())) {
        const QRect area = screen->geometry();
        if (r.right() > area.right()) r.moveRight(area.right());
        if (r.left() < area.left()) r.moveLeft(area.left());
        if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
    }
    setGeometry(r);
    show();
    raise();
}

TComBox::TComBox(QWidget* parent) : QComboBox(parent), FHint(new TListHint(this)) {}

TComBox::~TComBox() {
    ReleaseList();
}

void TComBox::SetShowHintTips(bool value) {
    FShowHintTips = value;
    if (!value) HideTip();
}

void TComBox::SetHorizontalExtent(int value) {
    if (value == FHorizontalExtent) return;
    FHorizontalExtent = value;
    ApplyHorizontalExtent();
}

void TComBox::ApplyHorizontalExtent() {
    QAbstractItemView* list = view();
    if (!list) return;
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setHorizontalScrollBarPolicy(FHorizontalExtent == -1 ? Qt::ScrollBarAlwaysOff
                                                               : Qt::ScrollBarAsNeeded);
    FixExtentRange();
}

void TComBox::FixExtentRange() {
    QAbstractItemView* list = view();
    if (!list || FHorizontalExtent == -1 || FFixingRange) return;
    // The view recomputes its range from the items on every layout; the
    // extent wins over that.
    FFixingRange = true;
    QScrollBar* bar = list->horizontalScrollBar();
    for (int pass = 0; pass < 3; ++pass) {
        const int wanted = std::max(0, FHorizontalExtent - list->viewport()->width());
        if (bar->minimum() == 0 && bar->maximum() == wanted) break;
        bar->setRange(0, wanted);
    }
    FFixingRange = false;
}

void TComBox::TakeOverList() {
    QAbstractItemView* list = view();
    if (!list || list == FListView) return;
    ReleaseList();
    FListView = list;
    FHintHandle = list->viewport();
    FListWindow = list->window();
    list->setMouseTracking(true);
    FHintHandle->setMouseTracking(true);
    list->installEventFilter(this);
    FHintHandle->installEventFilter(this);
    if (FListWindow != this) {
        FListWindow->setMouseTracking(true);
        FListWindow->installEventFilter(this);
    }
    for (QScrollBar* bar : {list->verticalScrollBar(), list->horizontalScrollBar()}) {
        bar->setMouseTracking(true);
        bar->installEventFilter(this);
    }
    connect(list->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            &TComBox::FixExtentRange);
    ApplyHorizontalExtent();
}

void TComBox::ReleaseList() {
    if (FListView) {
        FListView->removeEventFilter(this);
        FListView->verticalScrollBar()->removeEventFilter(this);
        FListView->horizontalScrollBar()->removeEventFilter(this);
        disconnect(FListView->horizontalScrollBar(), nullptr, this, nullptr);
    }
    if (FHintHandle) FHintHandle->removeEventFilter(this);
    if (FListWindow) FListWindow->removeEventFilter(this);
    FListView = nullptr;
    FHintHandle = nullptr;
    FListWindow = nullptr;
}

void TComBox::showPopup() {
    TakeOverList();
    QComboBox::showPopup();
    // Some styles widen the list to its widest item; it opens as wide as the
    // box here, and the tips show what it cuts off.
    if (QWidget* popup = view()->window(); popup != this && popup->width() > width()) {
        QRect area = popup->geometry();
        if (layoutDirection() == Qt::RightToLeft)
            area.setLeft(area.right() - width() + 1);
        else
            area.setWidth(width());
        popup->setGeometry(area);
    }
    ApplyHorizontalExtent();
}

void TComBox::hidePopup() {
    HideTip();
    QComboBox::hidePopup();
}

void TComBox::HideTip() {
    if (FHint) FHint->hide();
}

void TComBox::ListMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x,
                            int y) {
    bool hide = true;
    QAbstractItemView* list = FListView;
    const QPoint point(x, y);
    if (FShowHintTips && list && FHintHandle && FHintHandle->rect().contains(point) &&
        buttons == Qt::NoButton && modifiers == Qt::NoModifier) {
        const QModelIndex index = list->indexAt(point);
        if (index.isValid()) {
            const QString text = index.data(Qt::DisplayRole).toString();
            const QRect item = list->visualRect(index);
            // The list draws its text this far in from either side of the item,
            // so a text cut off by the list is already too wide.
            const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr,
                                                          list) + 1;
            // The text's extent, from the item's top-left corner.
            const QFontMetrics own(font());
            QRect textRect(item.topLeft(), QSize(own.horizontalAdvance(text), own.height()));
            if (!item.isEmpty() &&
                item.left() + margin + textRect.width() + margin > FHintHandle->width()) {
                textRect.moveTopLeft(FHintHandle->mapToGlobal(textRect.topLeft()));
                textRect.setLeft(textRect.left() - 3);
                textRect.setRight(textRect.right() + 6);
                hide = false;
                if (OnShowHintTip) OnShowHintTip(this, text, hide);
            }
            if (!hide) {
                if (!(FHint->isVisible() && FHint->text() == text)) {
                    const QFontMetrics tipFont(FHint->font());
                    const int width = tipFont.horizontalAdvance(text) + 6;
                    const int height = tipFont.height() + 2;
                    if (textRect.width() < width) textRect.setWidth(width);
                    if (textRect.height() < height) textRect.setHeight(height);
                    FHint->ActivateHint(textRect, text);
                }
            }
        }
    }
    if (hide) HideTip();
    Q_EMIT OnListMouseMove(buttons, modifiers, x, y);
}

void TComBox::OuterListMouseMove(const QMouseEvent* event) {
    // The open list holds the mouse: moves beyond it, over its frame or its
    // scroll bars never reach the item area, yet they leave the items all the
    // same. Moves that merely bubble up from the item area are handled there.
    if (!FHintHandle) return;
    const QPoint pos = FHintHandle->mapFromGlobal(event->globalPosition().toPoint());
    if (!FHintHandle->rect().contains(pos))
        ListMouseMove(event->buttons(), event->modifiers(), pos.x(), pos.y());
}

bool TComBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FHintHandle) {
        switch (event->type()) {
            case QEvent::MouseMove: {
                const auto* e = static_cast<QMouseEvent*>(event);
                const QPoint pos = e->position().toPoint();
                ListMouseMove(e->buttons(), e->modifiers(), pos.x(), pos.y());
                break;
            }
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                HideTip();
                break;
            default:
                break;
        }
    } else if (watched == FListWindow || watched == FListView) {
        if (event->type() == QEvent::MouseMove) {
            OuterListMouseMove(static_cast<QMouseEvent*>(event));
        } else if (event->type() == QEvent::Hide) {
            HideTip();
        } else if (event->type() == QEvent::KeyPress && watched == FListView) {
            auto* e = static_cast<QKeyEvent*>(event);
            switch (e->key()) {
                case Qt::Key_Shift:
                case Qt::Key_Control:
                case Qt::Key_Alt:
                case Qt::Key_Meta:
                case Qt::Key_AltGr:
                    HideTip();
                    break;
                case Qt::Key_Backspace:
                case Qt::Key_Delete:
                case Qt::Key_Left:
                case Qt::Key_Right:
                case Qt::Key_Home:
                case Qt::Key_End:
                    // While the list is open, editing keys still edit the text.
                    if (lineEdit()) {
                        keyPressEvent(e);
                        return true;
                    }
                    break;
                default:
                    if (lineEdit() && !e->text().isEmpty() && e->text().at(0).isPrint()) {
                        keyPressEvent(e);
                        return true;
                    }
                    break;
            }
        }
    } else if (event->type() == QEvent::MouseMove && FListView &&
               (watched == FListView->verticalScrollBar() ||
                watched == FListView->horizontalScrollBar())) {
        OuterListMouseMove(static_cast<QMouseEvent*>(event));
    }
    return QComboBox::eventFilter(watched, event);
}

bool TComBox::KeyAllowsSearch(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty()) return false;
    const QChar c = text.at(0);
    if (c.isDigit() || c.isSpace() || !c.isPrint()) return false;
    return c.isLetter() || c.isPunct() || c.isSymbol() || c.isMark();
}

void TComBox::keyPressEvent(QKeyEvent* event) {
    if (FSearch) FKeyFlag = KeyAllowsSearch(event);
    QLineEdit* edit = lineEdit();
    if (edit && edit != FWatchedEdit) {
        FWatchedEdit = edit;
        connect(edit, &QLineEdit::textEdited, this, [this] { FEdited = true; });
    }
    // Completion is ours alone; the stock completer would also match case
    // insensitively.
    if (edit && edit->completer()) edit->setCompleter(nullptr);
    // Only typing completes: an item chosen from the list stays as chosen.
    FEdited = false;
    QComboBox::keyPressEvent(event);
    if (FEdited) {
        FEdited = false;
        Change();
    }
}

void TComBox::Change() {
    // Searches stop as soon as Search is switched off.
    QLineEdit* edit = lineEdit();
    if (!FSearch || !FKeyFlag || FSelecting || !edit) return;
    const QString typed = edit->text();
    if (typed.isEmpty()) return;
    const qsizetype length = typed.size();
    // The scan goes on after a match: a later item matches only while the
    // text is still what was typed, so the first longer item wins, else the
    // last equal one.
    for (int i = 0; i < count(); ++i) {
        const QString item = itemText(i);
        if (item.left(length) != edit->text()) continue;
        FSelecting = true;
        if (!view() || !view()->isVisible()) showPopup();
        setCurrentIndex(i);
        if (edit->text() != item) edit->setText(item);
        FSelecting = false;
        const int end = static_cast<int>(item.size());
        edit->setSelection(end, static_cast<int>(length) - end);
    }
}

}  // namespace veskaron
