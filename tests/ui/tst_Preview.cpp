// "Просмотр" and the help as a person meets them: the preview page stays out
// of the file list and the site's table, goes once a browser has read it or
// at the next preview, and a desktop without a browser says so in a box.
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>

#include "messages/window_texts.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/ui/ui_fixture.h"
#include "ui/main/MainWindow.h"
#include "ui/site/SiteWindow.h"

using namespace veskaron;
using namespace veskaron::ui;
using namespace veskaron::ui::test;

namespace {

const QByteArray kPage = "<html>\r\n<head>\r\n<title>Page</title>\r\n</head>\r\n<body>text</body>\r\n</html>\r\n";

QStringList Listed(MainWindow& form) {
    QStringList names;
    auto* list = Find<QListWidget>(form, "FileListBox1");
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
}

void Choose(MainWindow& form, const QString& name) {
    auto* list = Find<QListWidget>(form, "FileListBox1");
    const auto items = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(name));
    list->setCurrentItem(items.front());
}

// What a browser does with the page: opens it, reads it, closes it.
void ReadAsBrowser(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().isEmpty());
}

}  // namespace

class TestPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void previewLeavesNothingBehind();
    void noBrowserIsSaid();
    void openerTellsWhetherABrowserStarted();
};

void TestPreview::previewLeavesNothingBehind() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    WriteBytes(tmp.Page("a.html"), kPage);
    QDir(tmp.pages.path()).mkpath(QStringLiteral("sub"));
    WriteBytes(tmp.Page("sub/b.html"), kPage);
    MainWindow form({tmp.Page("a.html")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Choose(form, QStringLiteral("a.html"));
    auto* preview = Find<QPushButton>(form, "ButPreviev");

    QTest::mouseClick(preview, Qt::LeftButton);
    const QString written = tmp.Page("metatmp.html");
    QCOMPARE(dialogs->opened.back().toLocalFile(), written);
    QVERIFY(QFile::exists(written));
    // Beside the page, yet in no list of pages: the folder listed again, the site read.
    form.showSiteWindow();
    QPointer<SiteWindow> site = form.findChild<SiteWindow*>();
    QVERIFY(site);
    QSignalSpy scanned(site.data(), &SiteWindow::scanEnded);
    QTRY_COMPARE(scanned.count(), 1);
    QCOMPARE(Find<QTableView>(*site, "TableSite")->model()->rowCount(), 2);
    site->close();
    Choose(form, QStringLiteral("[sub]"));
    QTest::keyClick(Find<QListWidget>(form, "FileListBox1"), Qt::Key_Return);
    Choose(form, QStringLiteral("[..]"));
    QTest::keyClick(Find<QListWidget>(form, "FileListBox1"), Qt::Key_Return);
    QVERIFY2(Listed(form) == QStringList({"[..]", "[sub]", "a.html"}), qPrintable(Listed(form).join(u' ')));

    // The browser read it: it goes.
    ReadAsBrowser(written);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(written), 10000);

    // Unread, it goes at the next preview, of another folder's page too.
    QTest::mouseClick(preview, Qt::LeftButton);
    QVERIFY(QFile::exists(written));
    Choose(form, QStringLiteral("[sub]"));
    QTest::keyClick(Find<QListWidget>(form, "FileListBox1"), Qt::Key_Return);
    Choose(form, QStringLiteral("b.html"));
    QTest::mouseClick(preview, Qt::LeftButton);
    QVERIFY(!QFile::exists(written));
    QVERIFY(QFile::exists(tmp.Page("sub/metatmp.html")));
    QVERIFY(form.close());
    QVERIFY(!QFile::exists(tmp.Page("sub/metatmp.html")));
    QCOMPARE(ReadBytes(tmp.Page("a.html")), kPage);
    QVERIFY(dialogs->shown.empty());
}

void TestPreview::noBrowserIsSaid() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    dialogs->openWorks = false;
    WriteBytes(tmp.Page("a.html"), kPage);
    MainWindow form({tmp.Page("a.html")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Choose(form, QStringLiteral("a.html"));
    QTest::mouseClick(Find<QPushButton>(form, "ButPreviev"), Qt::LeftButton);
    QCOMPARE(dialogs->shown.size(), std::size_t{1});
    QCOMPARE(dialogs->shown.back().text, msg::kNoBrowser.arg(tmp.Page("metatmp.html")));
    QVERIFY(!QFile::exists(tmp.Page("metatmp.html")));
    // F1 too.
    form.activateWindow();
    QTRY_VERIFY(form.isActiveWindow());
    QTest::keyClick(&form, Qt::Key_F1);
    QCOMPARE(dialogs->shown.size(), std::size_t{2});
    QVERIFY(dialogs->shown.back().text.startsWith(QStringLiteral("Не удалось открыть ")));
    QVERIFY(dialogs->shown.back().text.contains(QStringLiteral(".html")));
    QVERIFY(form.close());
}

// The desktop's opener is asked, and its exit status is the answer: a
// desktop without a program for pages fails without a line on the terminal.
void TestPreview::openerTellsWhetherABrowserStarted() {
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    const auto restore = qScopeGuard([&path] { qputenv("PATH", path); });
    for (const int status : {0, 3}) {
        QFile opener(bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly | QIODevice::Truncate));
        opener.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1/asked'\necho 'no method' >&2\nexit %2\n")
                         .arg(bin.path())
                         .arg(status)
                         .toUtf8());
        opener.close();
        opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
        std::optional<bool> opened;
        QtDialogs().OpenUrl(QUrl(QStringLiteral("file:///tmp/a%20b.html#topic-3")), [&opened](bool ok) { opened = ok; });
        QTRY_VERIFY(opened.has_value());
        QCOMPARE(*opened, status == 0);
        QCOMPARE(ReadBytes(bin.filePath(QStringLiteral("asked"))), QByteArray("file:///tmp/a%20b.html#topic-3\n"));
    }
}

QTEST_MAIN(TestPreview)
#include "tst_Preview.moc"
