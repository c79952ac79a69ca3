#include "controls/ComBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTest>

#include <algorithm>
#include <memory>

using veskaron::TComBox;

namespace {

// Sends a key where a real one goes: to the open list while it has the
// keyboard, else to the combo box.
void Type(TComBox& box, QChar c) {
    QWidget* target = QApplication::activePopupWidget() ? QApplication::focusWidget() : &box;
    if (!target) target = &box;
    int key = c.toUpper().unicode();
    QString text(c);
    if (c == QLatin1Char('\b')) key = Qt::Key_Backspace;
    if (c == QLatin1Char(' ')) key = Qt::Key_Space;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void SendMove(QWidget* list, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent move(QEvent::MouseMove, pos, list->mapToGlobal(pos), Qt::NoButton, buttons,
                     modifiers);
    QApplication::sendEvent(list, &move);
}

}  // namespace

class TestComBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void search_data();
    void search();
    void choosingAnItemDoesNotComplete();
    void keyFilter_data();
    void keyFilter();
    void tipForWideItems();
    void tipSuppressed();
    void listKeepsTheBoxWidth();
    void horizontalExtent();

private:
    std::unique_ptr<QStyle> FStyle;
    std::unique_ptr<QWidget> FWindow;
    TComBox* FBox = nullptr;
};

void TestComBox::init() {
    // The classic style opens the list at the box's own width.
    FStyle.reset(QStyleFactory::create(QStringLiteral("Windows")));
    FWindow = std::make_unique<QWidget>();
    FWindow->setGeometry(50, 50, 300, 100);
    FBox = new TComBox(FWindow.get());
    FBox->setStyle(FStyle.get());
    FBox->setGeometry(10, 10, 120, 24);
    FWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
}

void TestComBox::cleanup() {
    if (FBox) FBox->hidePopup();
    FWindow.reset();
    FBox = nullptr;
}

void TestComBox::search_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("search");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("index");

    const QStringList abcFirst{QStringLiteral("abc"), QStringLiteral("abcdef")};
    const QStringList abcLast{QStringLiteral("abcdef"), QStringLiteral("abc")};
    QTest::newRow("abc then abcdef") << abcFirst << true << "abc" << "abcdef" << "def" << 1;
    QTest::newRow("abcdef then abc") << abcLast << true << "abc" << "abcdef" << "def" << 0;
    QTest::newRow("equal item only") << QStringList{"x", "abc"} << true << "abc" << "abc" << "" << 1;
    QTest::newRow("longer item between equal ones")
        << QStringList{"ab", "abc", "ab"} << true << "ab" << "abc" << "c" << 1;
    QTest::newRow("equal items, the last wins")
        << QStringList{"ab", "x", "ab"} << true << "ab" << "ab" << "" << 2;
    QTest::newRow("case matters") << abcFirst << true << "ABC" << "ABC" << "" << -1;
    QTest::newRow("first letter completes") << abcLast << true << "a" << "abcdef" << "bcdef" << 0;
    QTest::newRow("typing over the completion")
        << QStringList{"abcdef"} << true << "abd" << "abd" << "" << 0;
    QTest::newRow("digit") << QStringList{"ab1x"} << true << "ab1" << "ab1" << "" << 0;
    QTest::newRow("space") << QStringList{"a bc"} << true << "a " << "a " << "" << 0;
    QTest::newRow("backspace") << abcFirst << true << "abcd\b" << "abcd" << "" << 1;
    QTest::newRow("punctuation") << QStringList{"[ab]"} << true << "[" << "[ab]" << "ab]" << 0;
    QTest::newRow("cyrillic") << QStringList{QStringLiteral("Привет")} << true
                              << QStringLiteral("Пр") << QStringLiteral("Привет")
                              << QStringLiteral("ивет") << 0;
    QTest::newRow("search off") << abcFirst << false << "abc" << "abc" << "" << -1;
}

void TestComBox::search() {
    QFETCH(QStringList, items);
    QFETCH(bool, search);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, selected);
    QFETCH(int, index);

    FBox->setEditable(true);
    FBox->addItems(items);
    FBox->setCurrentIndex(-1);
    FBox->setEditText(QString());
    FBox->SetSearch(search);
    FBox->setFocus();
    for (QChar c : typed) Type(*FBox, c);
    QCOMPARE(FBox->currentText(), text);
    QCOMPARE(FBox->lineEdit()->selectedText(), selected);
    QCOMPARE(FBox->currentIndex(), index);
    if (!selected.isEmpty()) {
        // The completed part is selected from the typed length to the end,
        // with the cursor after the typed text.
        QCOMPARE(FBox->lineEdit()->cursorPosition(), text.size() - selected.size());
        QCOMPARE(FBox->view()->isVisible(), true);
    }
}

void TestComBox::choosingAnItemDoesNotComplete() {
    FBox->setEditable(true);
    FBox->addItems({QStringLiteral("abc"), QStringLiteral("abcdef")});
    FBox->SetSearch(true);
    FBox->showPopup();
    QAbstractItemView* list = FBox->view();
    const QRect first = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(FBox->currentText(), QStringLiteral("abc"));
    QCOMPARE(FBox->lineEdit()->selectedText(), QString());
}

void TestComBox::keyFilter_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("allows");

    QTest::newRow("latin letter") << int(Qt::Key_Q) << "q" << true;
    QTest::newRow("cyrillic letter") << 0x0416 << QStringLiteral("ж") << true;
    QTest::newRow("bracket") << int(Qt::Key_BracketLeft) << "[" << true;
    QTest::newRow("digit") << int(Qt::Key_5) << "5" << false;
    QTest::newRow("delete") << int(Qt::Key_Delete) << "\x7f" << false;
    QTest::newRow("left") << int(Qt::Key_Left) << "" << false;
    QTest::newRow("shift") << int(Qt::Key_Shift) << "" << false;
}

void TestComBox::keyFilter() {
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, allows);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCOMPARE(TComBox::KeyAllowsSearch(&event), allows);
}

void TestComBox::tipForWideItems() {
    const QString wide = QStringLiteral("A folder path much too long for the open list of this box");
    FBox->addItems({QStringLiteral("short"), wide, QStringLiteral("tiny")});
    QVERIFY(!FBox->HintHandle());
    FBox->showPopup();
    QWidget* list = FBox->HintHandle();
    QVERIFY(list);
    QAbstractItemView* view = FBox->view();
    QVERIFY(list->width() < list->fontMetrics().horizontalAdvance(wide));
    QSignalSpy moves(FBox, &TComBox::OnListMouseMove);
    // Item rectangles run as wide as the widest text; point near their left.
    const QRect wideItem = view->visualRect(view->model()->index(1, 0));
    const QRect shortItem = view->visualRect(view->model()->index(0, 0));
    const QPoint onWide(20, wideItem.center().y());
    const QPoint onShort(20, shortItem.center().y());
    auto* tip = FBox->HintWindow();

    QTest::mouseMove(list, onWide);
    QTRY_VERIFY(tip->isVisible());
    QCOMPARE(tip->text(), wide);
    // Over the item: its text's extent from the item's corner, 3 pixels more
    // on the left and 6 on the right, at least as large as the text needs in
    // the tip's own font.
    const QRect onScreen(list->mapToGlobal(wideItem.topLeft()), wideItem.size());
    const QFontMetrics own(FBox->font());
    const QFontMetrics tipFont(tip->font());
    QCOMPARE(tip->geometry().topLeft(), onScreen.topLeft() - QPoint(3, 0));
    QCOMPARE(tip->geometry().width(),
             std::max(own.horizontalAdvance(wide) + 9, tipFont.horizontalAdvance(wide) + 6));
    QCOMPARE(tip->geometry().height(), std::max(own.height(), tipFont.height() + 2));
    QVERIFY(moves.count() > 0);
    QCOMPARE(moves.last().at(2).toInt(), onWide.x());

    const int shown = tip->Activations();
    SendMove(list, onWide + QPoint(5, 1));
    QCOMPARE(tip->Activations(), shown);  // same item: left alone
    QVERIFY(tip->isVisible());

    SendMove(list, onShort);
    QVERIFY(!tip->isVisible());
    SendMove(list, onWide);
    QVERIFY(tip->isVisible());
    SendMove(list, onWide, Qt::LeftButton);
    QVERIFY(!tip->isVisible());
    SendMove(list, onWide);
    SendMove(list, onWide, Qt::NoButton, Qt::ShiftModifier);
    QVERIFY(!tip->isVisible());
    SendMove(list, onWide);
    QTest::keyPress(view, Qt::Key_Control);
    QVERIFY(!tip->isVisible());
    SendMove(list, onWide);
    SendMove(list, QPoint(list->width() + 3, onWide.y()));
    QVERIFY(!tip->isVisible());
    // Beyond the list the open list window receives the moves itself.
    QWidget* popup = view->window();
    QVERIFY(popup != FWindow.get());
    for (const QPoint outside : {QPoint(onWide.x(), list->height() + 30),
                                 QPoint(list->width() + 20, onWide.y())}) {
        SendMove(list, onWide);
        QVERIFY(tip->isVisible());
        const QPoint global = list->mapToGlobal(outside);
        QMouseEvent away(QEvent::MouseMove, popup->mapFromGlobal(global), global, Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(popup, &away);
        QVERIFY(!tip->isVisible());
        QCOMPARE(moves.last().at(3).toInt(), outside.y());
    }
    SendMove(list, onWide);
    QVERIFY(tip->isVisible());
    FBox->hidePopup();
    QVERIFY(!tip->isVisible());
}

void TestComBox::tipSuppressed() {
    const QString wide = QStringLiteral("Another item that is far wider than the list");
    FBox->addItems({wide});
    QStringList asked;
    FBox->OnShowHintTip = [&](TComBox* sender, const QString& text, bool& hide) {
        QCOMPARE(sender, FBox);
        asked << text;
        hide = true;
    };
    FBox->showPopup();
    QWidget* list = FBox->HintHandle();
    const QRect rect = FBox->view()->visualRect(FBox->view()->model()->index(0, 0));
    const QPoint item(20, rect.center().y());
    SendMove(list, item);
    QCOMPARE(asked, QStringList{wide});
    QVERIFY(!FBox->HintWindow()->isVisible());

    FBox->OnShowHintTip = nullptr;
    FBox->SetShowHintTips(false);
    SendMove(list, item);
    QVERIFY(!FBox->HintWindow()->isVisible());
    FBox->SetShowHintTips(true);
    SendMove(list, item);
    QVERIFY(FBox->HintWindow()->isVisible());
}

void TestComBox::listKeepsTheBoxWidth() {
    // A style that would widen the list to its widest item.
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    FBox->setStyle(fusion.get());
    const QString wide = QStringLiteral("An item much wider than the box that holds it");
    FBox->addItems({wide});
    FBox->showPopup();
    QCOMPARE(FBox->view()->window()->width(), FBox->width());
    QWidget* list = FBox->HintHandle();
    const QRect rect = FBox->view()->visualRect(FBox->view()->model()->index(0, 0));
    SendMove(list, QPoint(20, rect.center().y()));
    QVERIFY(FBox->HintWindow()->isVisible());
    FBox->hidePopup();
    FBox->setStyle(FStyle.get());
}

void TestComBox::horizontalExtent() {
    FBox->addItems({QStringLiteral("one"), QStringLiteral("two")});
    QCOMPARE(FBox->HorizontalExtent(), -1);
    FBox->SetHorizontalExtent(600);
    FBox->showPopup();
    QAbstractItemView* view = FBox->view();
    QCOMPARE(view->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QTRY_COMPARE(view->horizontalScrollBar()->maximum(), 600 - view->viewport()->width());
    FBox->hidePopup();
    FBox->SetHorizontalExtent(-1);
    QCOMPARE(view->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

QTEST_MAIN(TestComBox)
#include "tst_ComBox.moc"
