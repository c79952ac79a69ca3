#include "controls/ClicLabel.h"
#include "controls/InfoFile.h"
#include "platform/version_info.h"

#include <QTest>

#include <map>
#include <utility>

using veskaron::TClickLabel;
using veskaron::TLabelInfoFile;

class TestLabels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void linkLooksLikeALink();
    void hoverColours_data();
    void hoverColours();
    void opensOnDoubleClickOnly();
    void linkUrl_data();
    void linkUrl();
    void versionCaption();
    void ownVersionByDefault();
};

void TestLabels::cleanup() {
    TClickLabel::SetShellOpener(nullptr);
    TLabelInfoFile::SetVersionLookup(nullptr);
}

void TestLabels::linkLooksLikeALink() {
    TClickLabel label;
    QCOMPARE(label.Link(), TClickLabel::kDefaultLink);
    QCOMPARE(label.text(), label.Link());
    QCOMPARE(label.FontColor(), QColor(Qt::blue));
    QVERIFY(label.font().underline());
    label.SetLink(QStringLiteral("mailto:someone@example.org?Subject=Veskaron"));
    QCOMPARE(label.text(), TClickLabel::kDefaultLink);  // the caption stays
}

void TestLabels::hoverColours_data() {
    QTest::addColumn<QColor>("ownerColor");
    QTest::newRow("constructed") << QColor();
    QTest::newRow("set by the owner") << QColor(Qt::darkGreen);
}

void TestLabels::hoverColours() {
    QFETCH(QColor, ownerColor);
    QWidget window;
    window.resize(300, 100);
    auto* label = new TClickLabel(&window);
    label->setGeometry(50, 30, 150, 20);
    if (ownerColor.isValid()) label->SetFontColor(ownerColor);
    const QColor before = label->FontColor();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(&window, QPoint(5, 5));
    QTest::mouseMove(label, QPoint(10, 10));
    QTRY_COMPARE(label->FontColor(), QColor(Qt::red));
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&window, QPoint(5, 5));
    QTRY_COMPARE(label->FontColor(), before);
    QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
}

void TestLabels::opensOnDoubleClickOnly() {
    QList<QUrl> opened;
    TClickLabel::SetShellOpener([&](const QUrl& url) { opened << url; });
    TClickLabel label;
    label.resize(150, 20);
    label.SetLink(QStringLiteral("http://example.org/page.htm"));
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(opened.isEmpty());
    QTest::mouseDClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://example.org/page.htm"))});
}

void TestLabels::linkUrl_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("web") << "http://example.org/a b.htm"
                         << QUrl(QStringLiteral("http://example.org/a%20b.htm"));
    QTest::newRow("mail") << "mailto:me@example.org?Subject=Veskaron"
                          << QUrl(QStringLiteral("mailto:me@example.org?Subject=Veskaron"));
    QTest::newRow("local file") << "/tmp/страница.htm"
                                << QUrl::fromLocalFile(QStringLiteral("/tmp/страница.htm"));
}

void TestLabels::linkUrl() {
    QFETCH(QString, link);
    QFETCH(QUrl, url);
    QCOMPARE(TClickLabel::LinkUrl(link), url);
}

void TestLabels::versionCaption() {
    const std::map<std::pair<std::string, std::string>, std::string> table{
        {{"0409", "FileVersion"}, "1.2.3.4"},
        {{"0409", "ProductName"}, "Veskaron"},
        {{"0419", "FileVersion"}, "1.2.3.4 ru"},
    };
    TLabelInfoFile::SetVersionLookup([&](const std::string& language, const std::string& field) {
        const auto it = table.find({language, field});
        return it == table.end() ? std::string() : it->second;
    });

    TLabelInfoFile label;
    QCOMPARE(label.Info(), veskaron::caFileVersion);
    QCOMPARE(label.IDLanguage(), QStringLiteral("0409"));
    QCOMPARE(label.text(), QStringLiteral("1.2.3.4"));

    label.SetInfo(veskaron::caProductName);
    QCOMPARE(label.text(), QStringLiteral("Veskaron"));
    label.SetInfo(veskaron::caComments);  // a field the table lacks
    QCOMPARE(label.text(), QString());

    label.SetInfo(veskaron::caFileVersion);
    label.SetIDLanguage(QStringLiteral("0419"));
    QCOMPARE(label.text(), QStringLiteral("1.2.3.4"));  // only Info refreshes
    label.SetInfo(veskaron::caFileVersion);
    QCOMPARE(label.text(), QStringLiteral("1.2.3.4 ru"));
    label.SetIDLanguage(QStringLiteral("0407"));  // a language the table lacks
    label.SetInfo(veskaron::caFileVersion);
    QCOMPARE(label.text(), QString());
}

void TestLabels::ownVersionByDefault() {
    TLabelInfoFile label;
    const std::string own = veskaron::QueryVersionValue("0409", "FileVersion");
    QVERIFY(!own.empty());
    QCOMPARE(label.text(), QString::fromStdString(own));
    label.SetInfo(veskaron::caComments);
    QCOMPARE(label.text().toStdString(), veskaron::QueryVersionValue("0409", "Comments"));
}

QTEST_MAIN(TestLabels)
#include "tst_Labels.moc"
