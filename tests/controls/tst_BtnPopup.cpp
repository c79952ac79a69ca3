#include "controls/BtnPopup.h"

#include <QMenu>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using veskaron::TBtnPopup;

namespace {

using PixelSet = QSet<QPair<int, int>>;

// Pixels of the given colour inside the arrow part, away from its frame.
PixelSet ArrowPixels(const QImage& image, int arrowWidth, QRgb color) {
    PixelSet found;
    const int w = image.width();
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = w - arrowWidth + 2; x < w - 2; ++x)
            if ((image.pixel(x, y) & 0xffffff) == (color & 0xffffff)) found.insert({x, y});
    return found;
}

// Rows of 7, 5, 3 and 1 pixels starting at (32, 11) for a 42-wide button.
PixelSet ExpectedArrow(int dx, int dy) {
    PixelSet rows;
    for (int i = 0; i < 4; ++i)
        for (int x = 32 + i; x < 39 - i; ++x) rows.insert({x + dx, 11 + i + dy});
    return rows;
}

}  // namespace

class TestBtnPopup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void arrowRows_data();
    void arrowRows();
    void pressOnParts_data();
    void pressOnParts();
    void groups();
    void groupButtonTogglesOnClick();
    void exclusiveFaceIsCheckered();
    void propertyLimits();
    void flatHotTracking();
    void acceleratorClicks();
    void clickClosingTheMenuIsSpent_data();
    void clickClosingTheMenuIsSpent();
    void glyphPlacement_data();
    void glyphPlacement();
};

void TestBtnPopup::arrowRows_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("pressBoth");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");

    for (int height : {25, 26}) {
        const QByteArray h = QByteArray::number(height);
        QTest::newRow(h + " flat up") << height << true << false << true << true << 0 << 0;
        QTest::newRow(h + " flat down") << height << true << true << true << true << 1 << 1;
        QTest::newRow(h + " raised up") << height << false << false << true << true << -1 << 0;
        QTest::newRow(h + " raised down") << height << false << true << true << true << 0 << 1;
    }
    QTest::newRow("flat down, arrow apart") << 25 << true << true << false << true << 0 << 0;
    QTest::newRow("raised down, arrow apart") << 25 << false << true << false << true << -1 << 0;
    QTest::newRow("disabled") << 26 << true << false << true << false << 0 << 0;
}

void TestBtnPopup::arrowRows() {
    QFETCH(int, height);
    QFETCH(bool, flat);
    QFETCH(bool, down);
    QFETCH(bool, pressBoth);
    QFETCH(bool, enabled);
    QFETCH(int, dx);
    QFETCH(int, dy);

    QWidget parent;
    TBtnPopup button(&parent);
    QCOMPARE(button.size(), QSize(42, 25));
    QCOMPARE(button.ArrowWidth(), 13);
    button.resize(42, height);
    button.SetFlat(flat);
    button.SetPressBoth(pressBoth);
    button.SetCaption(QStringLiteral("<br>"));
    button.setEnabled(enabled);
    if (down) {
        button.SetGroupIndex(1);
        button.SetDown(true);
        QCOMPARE(button.State(), TBtnPopup::bsExclusive);
    }
    const QImage image = button.grab().toImage();
    const QRgb color = enabled ? qRgb(0, 0, 0) : button.palette().color(QPalette::Dark).rgb();
    QCOMPARE(ArrowPixels(image, 13, color), ExpectedArrow(dx, dy));
}

void TestBtnPopup::pressOnParts_data() {
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("menuOpens");

    QTest::newRow("main part") << Qt::LeftButton << QPoint(10, 10) << QPoint(12, 12) << 1 << false;
    QTest::newRow("main part, released on arrow")
        << Qt::LeftButton << QPoint(10, 10) << QPoint(35, 12) << 0 << false;
    QTest::newRow("main part, released outside")
        << Qt::LeftButton << QPoint(10, 10) << QPoint(10, 40) << 0 << false;
    QTest::newRow("arrow part") << Qt::LeftButton << QPoint(35, 10) << QPoint(35, 10) << 0 << true;
    QTest::newRow("arrow part, released on main")
        << Qt::LeftButton << QPoint(35, 10) << QPoint(10, 10) << 0 << true;
    QTest::newRow("arrow part, right button")
        << Qt::RightButton << QPoint(40, 5) << QPoint(40, 5) << 0 << true;
}

void TestBtnPopup::pressOnParts() {
    QFETCH(Qt::MouseButton, mouseButton);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(int, clicks);
    QFETCH(bool, menuOpens);

    QWidget parent;
    parent.setGeometry(100, 100, 200, 100);
    TBtnPopup button(&parent);
    button.move(20, 30);
    QMenu menu;
    menu.addAction(QStringLiteral("<p>"));
    button.SetDropDown(&menu);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    QStringList events;
    QPoint menuAt;
    bool menuSeen = false;
    connect(&button, &TBtnPopup::OnClick, this, [&] { events << QStringLiteral("click"); });
    connect(&button, &TBtnPopup::OnDrop, this, [&] {
        events << (menu.isVisible() ? QStringLiteral("drop, menu open") : QStringLiteral("drop"));
    });
    connect(&menu, &QMenu::aboutToShow, this, [&] {
        events << QStringLiteral("menu");
        QTimer::singleShot(0, &menu, [&] {
            menuSeen = menu.isVisible();
            menuAt = menu.pos();
            menu.close();
        });
    });

    QTest::mousePress(&button, mouseButton, {}, press);
    QTest::mouseRelease(&button, mouseButton, {}, release);

    QStringList expected;
    if (menuOpens) expected << QStringLiteral("menu") << QStringLiteral("drop");
    for (int i = 0; i < clicks; ++i) expected << QStringLiteral("click");
    QCOMPARE(events, expected);
    if (menuOpens) {
        QVERIFY(menuSeen);
        QCOMPARE(menuAt, button.mapToGlobal(QPoint(0, button.height())));
    }
    QCOMPARE(button.State(), TBtnPopup::bsUp);
}

void TestBtnPopup::groups() {
    QWidget parent;
    TBtnPopup first(&parent);
    TBtnPopup second(&parent);
    TBtnPopup plain(&parent);

    plain.SetDown(true);
    QVERIFY(!plain.Down());  // no group, no toggled state

    first.SetGroupIndex(1);
    second.SetGroupIndex(1);
    first.SetDown(true);
    QVERIFY(first.Down());
    second.SetDown(true);
    QVERIFY(second.Down());
    QVERIFY(!first.Down());
    QCOMPARE(first.State(), TBtnPopup::bsUp);

    second.SetDown(false);
    QVERIFY(second.Down());  // one of the group must stay down

    first.SetAllowAllUp(true);
    QVERIFY(second.AllowAllUp());  // the group follows
    second.SetDown(false);
    QVERIFY(!second.Down());
    QCOMPARE(second.State(), TBtnPopup::bsUp);

    // Another group is left alone.
    TBtnPopup other(&parent);
    other.SetGroupIndex(2);
    other.SetDown(true);
    first.SetDown(true);
    QVERIFY(other.Down());
    QVERIFY(!other.AllowAllUp());
}

void TestBtnPopup::groupButtonTogglesOnClick() {
    QWidget parent;
    TBtnPopup first(&parent);
    TBtnPopup second(&parent);
    second.move(50, 0);
    first.SetGroupIndex(3);
    second.SetGroupIndex(3);
    first.SetAllowAllUp(true);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QSignalSpy clicks(&first, &TBtnPopup::OnClick);
    QSignalSpy doubles(&first, &TBtnPopup::OnDblClick);

    QTest::mouseClick(&first, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(first.Down());
    QCOMPARE(first.State(), TBtnPopup::bsExclusive);
    QTest::mouseClick(&second, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(second.Down());
    QVERIFY(!first.Down());
    QTest::mouseClick(&second, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!second.Down());  // all may be up
    QCOMPARE(clicks.count(), 1);

    // The second press of a double click is delivered as the double click
    // alone; its release toggles as any release does.
    QTest::mouseDClick(&first, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&first, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(doubles.count(), 0);  // only a toggled-down button double-clicks
    QVERIFY(first.Down());
    QTest::mouseDClick(&first, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&first, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(doubles.count(), 1);
    QVERIFY(!first.Down());
}

void TestBtnPopup::exclusiveFaceIsCheckered() {
    QWidget parent;
    TBtnPopup button(&parent);
    button.SetGroupIndex(1);
    button.SetDown(true);
    const QImage image = button.grab().toImage();
    const QRgb light = button.palette().color(QPalette::Light).rgb();
    const QRgb face = button.palette().color(QPalette::Button).rgb();
    QVERIFY(light != face);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            QCOMPARE(image.pixel(x, y), (x % 2 == y % 2) ? light : face);
}

void TestBtnPopup::propertyLimits() {
    TBtnPopup button;
    button.SetNumGlyphs(7);
    QCOMPARE(button.NumGlyphs(), 4);
    button.SetNumGlyphs(2);
    QCOMPARE(button.NumGlyphs(), 2);
    button.SetMargin(-2);
    QCOMPARE(button.Margin(), -1);
    button.SetMargin(3);
    button.SetMargin(-2);
    QCOMPARE(button.Margin(), 3);
    button.SetMargin(-1);
    QCOMPARE(button.Margin(), -1);
}

void TestBtnPopup::flatHotTracking() {
    QWidget parent;
    parent.resize(200, 100);
    TBtnPopup button(&parent);
    button.move(50, 30);
    button.SetFlat(true);
    QFont fill = button.font();
    fill.setBold(true);
    button.SetFillFont(fill);
    fill.setItalic(true);
    QVERIFY(!button.FillFont().italic());  // a copy, not shared
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    QTest::mouseMove(&parent, QPoint(5, 5));
    QVERIFY(!button.Hot());
    const QImage cold = button.grab().toImage();
    QTest::mouseMove(&button, QPoint(10, 10));
    QTRY_VERIFY(button.Hot());
    const QImage hot = button.grab().toImage();
    // A raised edge shows only while hot.
    QCOMPARE(hot.pixel(0, 0), button.palette().color(QPalette::Light).rgb());
    QVERIFY(cold.pixel(0, 0) != hot.pixel(0, 0));
    QTest::mouseMove(&parent, QPoint(5, 5));
    QTRY_VERIFY(!button.Hot());

    button.SetFlat(false);
    QTest::mouseMove(&button, QPoint(10, 10));
    QVERIFY(!button.Hot());  // raised buttons never track
}

void TestBtnPopup::acceleratorClicks() {
    QWidget window;
    TBtnPopup button(&window);
    button.SetCaption(QStringLiteral("&Go"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(&button, &TBtnPopup::OnClick);
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(button.State(), TBtnPopup::bsUp);
    button.setEnabled(false);
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    QCOMPARE(clicks.count(), 1);
}

void TestBtnPopup::glyphPlacement_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("margin");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<QColor>("color");

    // A flat 42 x 25 button leaves (1, 1, 27, 23) for the glyph of 8 x 8.
    QTest::newRow("left") << int(TBtnPopup::blGlyphLeft) << 2 << true << QPoint(3, 9)
                          << QColor(Qt::red);
    QTest::newRow("right") << int(TBtnPopup::blGlyphRight) << 2 << true << QPoint(18, 9)
                           << QColor(Qt::red);
    QTest::newRow("top") << int(TBtnPopup::blGlyphTop) << 2 << true << QPoint(11, 3)
                         << QColor(Qt::red);
    QTest::newRow("bottom") << int(TBtnPopup::blGlyphBottom) << 2 << true << QPoint(11, 14)
                            << QColor(Qt::red);
    QTest::newRow("centred") << int(TBtnPopup::blGlyphLeft) << -1 << true << QPoint(11, 9)
                             << QColor(Qt::red);
    QTest::newRow("disabled image") << int(TBtnPopup::blGlyphLeft) << 2 << false << QPoint(3, 9)
                                    << QColor(Qt::green);
}

void TestBtnPopup::glyphPlacement() {
    QFETCH(int, layout);
    QFETCH(int, margin);
    QFETCH(bool, enabled);
    QFETCH(QPoint, topLeft);
    QFETCH(QColor, color);

    // Two opaque images; the colour of the bottom-left pixel is transparent.
    QImage images(16, 8, QImage::Format_RGB32);
    images.fill(Qt::red);
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x) images.setPixelColor(x, y, Qt::green);
    images.setPixelColor(0, 7, Qt::blue);
    images.setPixelColor(8, 7, Qt::blue);
    QWidget parent;
    TBtnPopup button(&parent);
    button.SetFlat(true);
    button.SetNumGlyphs(2);
    button.SetGlyph(QPixmap::fromImage(images));
    button.SetLayout(static_cast<TBtnPopup::TButtonLayout>(layout));
    button.SetMargin(margin);
    button.setEnabled(enabled);
    const QImage shot = button.grab().toImage();
    QCOMPARE(shot.pixelColor(topLeft), color);
    QCOMPARE(shot.pixelColor(topLeft + QPoint(7, 7)), color);
    QVERIFY(shot.pixelColor(topLeft - QPoint(1, 1)) != color);
    QVERIFY(shot.pixelColor(topLeft + QPoint(8, 8)) != color);
    QCOMPARE(shot.pixelColor(topLeft + QPoint(0, 7)), shot.pixelColor(topLeft - QPoint(1, 1)));
}

void TestBtnPopup::clickClosingTheMenuIsSpent_data() {
    QTest::addColumn<QPoint>("closingClick");
    QTest::newRow("on the arrow") << QPoint(35, 10);
    QTest::newRow("on the main part") << QPoint(10, 10);
}

void TestBtnPopup::clickClosingTheMenuIsSpent() {
    QFETCH(QPoint, closingClick);
    QWidget parent;
    parent.setGeometry(100, 100, 200, 100);
    TBtnPopup button(&parent);
    QMenu menu;
    menu.addAction(QStringLiteral("<p>"));
    button.SetDropDown(&menu);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    int opened = 0;
    connect(&menu, &QMenu::aboutToShow, this, [&] {
        if (++opened > 1) {
            QTimer::singleShot(0, &menu, &QMenu::close);
            return;
        }
        QTimer::singleShot(0, &menu, [&] {
            QTest::mousePress(parent.windowHandle(), Qt::LeftButton, {},
                              button.mapTo(&parent, closingClick));
        });
    });
    QSignalSpy clicks(&button, &TBtnPopup::OnClick);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(35, 10));
    QTest::mouseRelease(parent.windowHandle(), Qt::LeftButton, {},
                        button.mapTo(&parent, closingClick));
    QCOMPARE(opened, 1);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(!menu.isVisible());
    QVERIFY(!menu.testAttribute(Qt::WA_NoMouseReplay));
}

QTEST_MAIN(TestBtnPopup)
#include "tst_BtnPopup.moc"
