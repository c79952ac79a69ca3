// The journal of saves in the windows: the main window's save and the site
// window's are batches, and "Журнал…" shows them and takes one back.
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableWidget>

#include "edits/journal.h"
#include "engine/text_codec.h"
#include "platform/paths.h"
#include "session/document/DocumentSession.h"
#include "session/document/SaveJournal.h"
#include "session/settings/Settings.h"
#include "tests/support/OpenSite.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/ui/ui_fixture.h"
#include "ui/site/JournalDialog.h"
#include "ui/site/SiteWindow.h"

using namespace veskaron;
using namespace veskaron::ui;
using namespace veskaron::ui::test;

namespace {

QByteArray Page(const char* title) {
    return QByteArray("<html>\r\n<head>\r\n<title>") + QByteArray::fromStdString(Windows1251Codec()->FromUtf8(title).bytes) +
           "</title>\r\n</head>\r\n<body>x</body>\r\n</html>\r\n";
}

}  // namespace

class TestJournal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mainWindowSaveIsABatch();
    void siteWindowShowsAndUndoesABatch();
};

void TestJournal::mainWindowSaveIsABatch() {
    TempFolders tmp;
    const QByteArray before = Page("Было");
    WriteBytes(tmp.Page("a.html"), before);
    session::DocumentSession doc;
    QVERIFY(doc.load(tmp.Page("a.html"), LoadOptions{}));
    MetaFields fields = doc.document().fields;
    fields.Title = "Other";
    doc.setFields(fields);
    QVERIFY(doc.save(SaveOptions{}));
    const auto batches = edits::ListBatches(JournalFolder());
    QCOMPARE(batches.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(batches[0].origin), QString::fromUtf8(session::kMainWindowOrigin));
    QVERIFY(batches[0].complete);
    const edits::BatchContents batch = edits::ReadBatch(JournalFolder(), batches[0].number);
    QCOMPARE(QByteArray::fromStdString(batch.pages.at(0).before), before);
    QCOMPARE(QByteArray::fromStdString(batch.pages.at(0).after), ReadBytes(tmp.Page("a.html")));
}

void TestJournal::siteWindowShowsAndUndoesABatch() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    const QByteArray a = Page("Первая"), b = Page("Вторая");
    WriteBytes(tmp.Page("a.html"), a);
    WriteBytes(tmp.Page("b.html"), b);
    session::Settings settings;
    settings.load();
    OpenSite open(tmp.pages.path(), settings);
    const QPointer<SiteWindow>& site = open.window;
    QVERIFY(open.Scanned());
    for (int row = 0; row < 2; ++row) 
        site->model().setData(site->model().index(row, session::SiteModel::kTitle), QStringLiteral("Новый"), Qt::EditRole);
    dialogs->modal.push_back([](QDialog& review) { review.accept(); });
    QSignalSpy saved(site.data(), &SiteWindow::saveEnded);
    site->reviewAndSave();
    QTRY_COMPARE(saved.count(), 1);
    QTRY_COMPARE(open.scanned.count(), 2);
    QVERIFY(ReadBytes(tmp.Page("a.html")) != a);
    WriteBytes(tmp.Page("b.html"), "changed in another program");

    QString listed, diff, report;
    int batches = 0;
    dialogs->modal.push_back([&](QDialog& dialog) {
        auto* table = Find<QTableWidget>(dialog, "TableJournalBatches");
        auto* pages = Find<QListWidget>(dialog, "ListJournalPages");
        QTRY_COMPARE(pages->count(), 2);
        batches = table->rowCount();
        listed = table->item(0, 3)->text();
        diff = Find<QPlainTextEdit>(dialog, "TextJournalDiff")->toPlainText();
        const std::size_t shown = dialogs->shown.size();
        QTest::mouseClick(Find<QPushButton>(dialog, "BtnJournalUndo"), Qt::LeftButton);
        QTRY_COMPARE(dialogs->shown.size(), shown + 1);
        report = dialogs->shown.back().text;
        QTRY_COMPARE(table->rowCount(), 2);  // the undo is a batch of its own
    });
    QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteJournal"), Qt::LeftButton);
    QCOMPARE(batches, 1);
    QCOMPARE(listed, QString::fromUtf8(session::kSiteWindowOrigin));
    QVERIFY2(diff.contains(QStringLiteral("-<title>Первая</title>")), qPrintable(diff));
    QVERIFY2(report.contains(QStringLiteral("восстановлено страниц — 1")), qPrintable(report));
    QVERIFY2(report.contains(tmp.Page("b.html")), qPrintable(report));
    QCOMPARE(ReadBytes(tmp.Page("a.html")), a);
    QCOMPARE(ReadBytes(tmp.Page("b.html")), QByteArray("changed in another program"));
    QTRY_COMPARE(open.scanned.count(), 3);  // the restored page read again
}

QTEST_MAIN(TestJournal)
#include "tst_Journal.moc"
