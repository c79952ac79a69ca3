// The site window's overview: its counts are the table's, a click on a bar
// filters the table, the charts follow edits, and "Отчёт…" writes the report
// of the rows shown.
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHorizontalStackedBarSeries>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <map>

#include "session/settings/Settings.h"
#include "tests/support/OpenSite.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/ui/ui_fixture.h"
#include "ui/site/SiteOverview.h"
#include "ui/site/SiteWindow.h"

using namespace veskaron;
using namespace veskaron::ui;
using namespace veskaron::ui::test;

namespace {

QByteArray Page(const char* head) {
    return QByteArray("<html lang=\"ru\"><head><meta charset=\"utf-8\">") + head + "</head><body></body></html>";
}

// Pages per code as the table's filter list counts them.
std::map<QString, int> ModelCodes(session::SiteModel& model) {
    std::map<QString, int> codes;
    for (const auto& [code, pages] : model.codeCounts()) codes[code] = pages;
    return codes;
}

std::map<QString, int> ShownCodes(const site::SiteCounts& counts) {
    std::map<QString, int> codes;
    for (const site::CodeCount& c : counts.codes)
        codes[QString::fromLatin1(c.code.data(), qsizetype(c.code.size()))] = int(c.pages);
    return codes;
}

std::map<QString, int> ReportCodes(const QByteArray& html) {
    std::map<QString, int> codes;
    const QRegularExpression row(QStringLiteral(R"re(data-code="([\w-]+)" data-findings="\d+" data-pages="(\d+)")re"));
    for (auto it = row.globalMatch(QString::fromUtf8(html)); it.hasNext();) {
        const auto m = it.next();
        codes[m.captured(1)] = m.captured(2).toInt();
    }
    return codes;
}

}  // namespace

class TestSiteOverview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countsBarClickAndReport();
    void followsAnEditAtAHundredThousandPages();
};

void TestSiteOverview::countsBarClickAndReport() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    WriteBytes(tmp.Page("a.html"), Page("<title></title>"));
    WriteBytes(tmp.Page("b.html"), Page("<title></title><meta name=\"robots\" content=\"noindex\">"));
    WriteBytes(tmp.Page("c.html"), Page("<title>Очень длинный заголовок страницы, который не помещается в строку "
                                        "результата поиска целиком</title>"));
    session::Settings settings;
    settings.load();
    OpenSite open(tmp.pages.path(), settings);
    const QPointer<SiteWindow>& site = open.window;
    QVERIFY(open.Scanned());

    auto* views = Find<QTabWidget>(*site, "PageSiteViews");
    auto* overview = Find<SiteOverview>(*site, "TabSiteOverview");
    views->setCurrentWidget(overview);
    QTRY_VERIFY(overview->isVisible());
    const site::SiteCounts& counts = overview->counts();
    QCOMPARE(ShownCodes(counts), ModelCodes(site->model()));
    QCOMPARE(int(counts.pages), 3);
    QCOMPARE(std::make_pair(int(counts.indexable), int(counts.pages - counts.indexable)),
             site->model().indexingCounts());
    QCOMPARE(ShownCodes(counts)[QStringLiteral("title-missing")], 2);

    // A click on the bar of the pages without a title, where a person clicks.
    auto* view = Find<QChartView>(*site, "ChartSiteCodes");
    auto* series = qobject_cast<QHorizontalStackedBarSeries*>(view->chart()->series().value(0));
    QVERIFY(series);
    int category = -1;
    for (std::size_t i = 0; i < counts.codes.size(); ++i)
        if (counts.codes[i].code == "title-missing") category = int(counts.codes.size() - 1 - i);  // bottom up
    QVERIFY(category >= 0);
    const QPointF at = view->chart()->mapToPosition(QPointF(1.0, category), series);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(at));
    auto* table = Find<QTableView>(*site, "TableSite");
    QTRY_COMPARE(views->currentWidget(), table);
    QCOMPARE(Find<QComboBox>(*site, "ComboSiteCode")->currentData().toString(), QStringLiteral("title-missing"));
    QCOMPARE(table->model()->rowCount(), 2);

    // Back on the overview, the charts count the rows shown, and follow an edit.
    views->setCurrentWidget(overview);
    QTRY_COMPARE(int(overview->counts().pages), 2);
    QSignalSpy refreshed(overview, &SiteOverview::refreshed);
    const int b = site->model().rowOfPath("b.html");
    site->model().setData(site->model().index(b, session::SiteModel::kTitle),
                          QStringLiteral("Страница b: теперь с заголовком"), Qt::EditRole);
    QTRY_VERIFY(!refreshed.isEmpty());
    QCOMPARE(ShownCodes(overview->counts())[QStringLiteral("title-missing")], 1);
    QCOMPARE(int(overview->counts().pages), 1);  // b has a title now: the filter lets it go

    // The report of the rows shown: the table's counts, in the file the dialog gave.
    const QString file = tmp.Data(QStringLiteral("отчёт.html"));
    dialogs->fileNames.push_back(file);
    QSignalSpy written(overview, &SiteOverview::reportWritten);
    QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteReport"), Qt::LeftButton);
    QTRY_COMPARE(written.count(), 1);
    QCOMPARE(written.at(0).at(1).toString(), QString());
    const QByteArray html = ReadBytes(file);
    QCOMPARE(ReportCodes(html), ShownCodes(overview->counts()));
    QVERIFY(html.contains("data-pages><th>Страниц проверено</th><td class=\"n\">1<"));
    QVERIFY(!html.contains("http"));
}

// The charts are fed from counts: an edit among a hundred thousand rows
// shows within a tenth of a second, on a machine that also builds.
void TestSiteOverview::followsAnEditAtAHundredThousandPages() {
    TempFolders tmp;
    session::Settings settings;
    settings.load();
    OpenSite open(tmp.pages.path(), settings);
    const QPointer<SiteWindow>& site = open.window;
    QVERIFY(open.Scanned());
    std::vector<site::SiteRow> rows(100000);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        site::SiteRow& r = rows[i];
        r.path = r.relative = "p" + std::to_string(i) + ".html";
        r.read = true;
        r.title = "Страница номер " + std::to_string(i);
        r.titlePx = 150 + i % 500;
        r.descriptionPx = i % 1200;
        r.findings = site::TextFindings(site::TextField::Title, r.title);
        r.indexable = i % 7 != 0;
        if (!r.indexable) r.indexReason = "noindex";
    }
    site->model().appendRows(std::move(rows));
    auto* overview = Find<SiteOverview>(*site, "TabSiteOverview");
    Find<QTabWidget>(*site, "PageSiteViews")->setCurrentWidget(overview);
    QTRY_COMPARE(int(overview->counts().pages), 100000);

    QSignalSpy refreshed(overview, &SiteOverview::refreshed);
    QElapsedTimer clock;
    clock.start();
    site->model().setEdit(5, "Title", "Заголовок, который шире строки результата поиска в любом браузере и на любом экране");
    QVERIFY(refreshed.wait(2000));
    const qint64 ms = clock.elapsed();
    qInfo("the charts showed the edit after %lld ms", ms);
    QVERIFY2(ms < 300, qPrintable(QString::number(ms)));
    QCOMPARE(ShownCodes(overview->counts())[QStringLiteral("title-width")], 1);
}

QTEST_MAIN(TestSiteOverview)
#include "tst_SiteOverview.moc"
