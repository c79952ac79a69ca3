// The site window's links: the inbound and depth columns, the link findings
// in the filter, and the panel of the selected page's links, whose double
// click opens the page a line names.
#include <QComboBox>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableView>
#include <QTreeWidget>

#include "messages/window_texts.h"
#include "session/settings/Settings.h"
#include "tests/ui/ui_fixture.h"
#include "ui/site/SiteWindow.h"

using namespace veskaron;
using namespace veskaron::ui;
using namespace veskaron::ui::test;

class TestSiteLinks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void columnsFilterAndPanel();
};

void TestSiteLinks::columnsFilterAndPanel() {
    TempFolders tmp;
    QDir(tmp.pages.path()).mkpath(QStringLiteral("d"));
    WriteBytes(tmp.Page("index.html"), "<html><head><title>home</title></head><body>\n"
                                       "<a href=\"d/\">d</a>\n<a href=\"gone.html\">g</a></body></html>");
    WriteBytes(tmp.Page("d/index.html"), "<html><head><title>d</title></head><body><a href=\"../\">up</a></body></html>");
    WriteBytes(tmp.Page("lone.html"), "<html><head><title>lone</title></head><body></body></html>");
    session::Settings settings;
    settings.load();
    QPointer<SiteWindow> site = new SiteWindow(tmp.pages.path(), settings);
    const auto leftOpen = qScopeGuard([&site] { delete site.data(); });
    QString opened;
    site->setPageOpener([&opened](const QString& path) { opened = path; });
    QSignalSpy scanned(site.data(), &SiteWindow::scanEnded);
    site->show();
    QTRY_COMPARE(scanned.count(), 1);

    const session::SiteModel& model = site->model();
    auto cell = [&](const char* relative, int column) { return model.text(model.rowOfPath(relative), column); };
    QCOMPARE(cell("d/index.html", session::SiteModel::kInbound), QStringLiteral("1"));
    QCOMPARE(cell("d/index.html", session::SiteModel::kDepth), QStringLiteral("1"));
    QCOMPARE(cell("lone.html", session::SiteModel::kInbound), QStringLiteral("0"));
    QCOMPARE(cell("lone.html", session::SiteModel::kDepth), QString());  // out of reach
    // The findings between pages are in the filter, by their Russian names.
    auto* codes = Find<QComboBox>(*site, "ComboSiteCode");
    QVERIFY(codes->itemText(codes->findData(QStringLiteral("link-broken"))).contains(QStringLiteral("Битая ссылка")));
    QVERIFY(codes->findData(QStringLiteral("orphan")) >= 0);

    auto* table = Find<QTableView>(*site, "TableSite");
    for (int r = 0; r < table->model()->rowCount(); ++r)
        if (table->model()->index(r, 0).data().toString() == QStringLiteral("index.html"))
            table->setCurrentIndex(table->model()->index(r, 0));
    auto* out = Find<QTreeWidget>(*site, "TreeSiteLinksOut");
    QCOMPARE(out->topLevelItemCount(), 2);
    QCOMPARE(out->topLevelItem(1)->text(3), msg::site::LinkStatusText("broken"));
    auto* in = Find<QTreeWidget>(*site, "TreeSiteLinksIn");
    QCOMPARE(in->topLevelItemCount(), 1);
    QCOMPARE(in->topLevelItem(0)->text(0), QStringLiteral("/d/index.html"));
    Q_EMIT out->itemDoubleClicked(out->topLevelItem(0), 0);
    QCOMPARE(opened, tmp.Page("d/index.html"));
}

QTEST_MAIN(TestSiteLinks)
#include "tst_SiteLinks.moc"
