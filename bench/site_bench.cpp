// The site window over a folder of small pages, offscreen: how long the
// reading takes until every page is in the table, and how long a sort, a
// filter and a scroll to the end take on it. Run with QT_QPA_PLATFORM=offscreen.
// VESKARON_BENCH_SITE names a folder of pages (as make_pages writes them
// into small/); without it VESKARON_BENCH_PAGES pages (100000) are made in a
// temporary folder first.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bench/page_maker.h"
#include "session/settings/Settings.h"
#include "ui/site/SiteWindow.h"

namespace {

double Seconds(QElapsedTimer& timer) {
    const double s = double(timer.nsecsElapsed()) / 1e9;
    timer.restart();
    return s;
}

void MakePages(const QString& folder, long count) {
    for (long n = 0; n < count; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "%06ld.htm", n);
        std::ofstream out(std::filesystem::path(folder.toStdString()) / name, std::ios::binary);
        const std::string bytes = veskaron::bench::MakePage(veskaron::bench::SmallPageRecipe(static_cast<std::uint64_t>(n)));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir config, data, made;
    qputenv("VESKARON_CONFIG_DIR", config.path().toUtf8());
    qputenv("VESKARON_DATA_DIR", data.path().toUtf8());
    QApplication app(argc, argv);
    QString folder = qEnvironmentVariable("VESKARON_BENCH_SITE");
    if (folder.isEmpty()) {
        const long count = qEnvironmentVariableIsSet("VESKARON_BENCH_PAGES")
                               ? qEnvironmentVariableIntValue("VESKARON_BENCH_PAGES")
                               : 100000;
        folder = made.path();
        QElapsedTimer making;
        making.start();
        MakePages(folder, count);
        std::printf("made %ld pages in %.1f s\n", count, Seconds(making));
    }

    veskaron::session::Settings settings;
    settings.load();
    QElapsedTimer timer;
    timer.start();
    auto* site = new veskaron::ui::SiteWindow(folder, settings);
    site->show();
    // The window answers while it reads: the longest wait between two turns
    // of the event loop is what a person feels as a stutter.
    qint64 longest = 0;
    bool ended = false;
    QObject::connect(site, &veskaron::ui::SiteWindow::scanEnded, site, [&ended] { ended = true; });
    QElapsedTimer turn;
    turn.start();
    while (!ended) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        const qint64 gap = turn.restart();
        if (gap > 150 && qEnvironmentVariableIsSet("VESKARON_BENCH_GAPS"))
            std::printf("  a pause of %lld ms at %d rows\n", static_cast<long long>(gap), site->model().rowCount());
        longest = std::max(longest, gap);
    }
    const int rows = site->model().rowCount();
    rusage use {};
    ::getrusage(RUSAGE_SELF, &use);
    const double cpu = double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
                       double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
    std::printf("read %d pages into the table in %.2f s, %.2f s of processor time (longest pause of the window %lld ms)\n",
                rows, Seconds(timer), cpu, static_cast<long long>(longest));

    auto* table = site->findChild<QTableView*>(QStringLiteral("TableSite"));
    for (int column : {1, 2, 8, 0}) {
        table->sortByColumn(column, Qt::DescendingOrder);
        QApplication::processEvents();
        std::printf("sort by column %d: %.3f s\n", column, Seconds(timer));
    }
    // The filter takes its text after a short pause in the typing.
    auto* filter = site->findChild<QLineEdit*>(QStringLiteral("EditSiteFilter"));
    auto waitForRows = [table](int before) {
        for (int i = 0; i < 200 && table->model()->rowCount() == before; ++i) QTest::qWait(5);
    };
    for (const QString& text : {QStringLiteral("сад"), QString()}) {
        const int before = table->model()->rowCount();
        timer.restart();
        filter->setText(text);
        waitForRows(before);
        std::printf("filter \"%s\": %d rows in %.3f s (150 ms of it the pause after typing)\n", qPrintable(text),
                    table->model()->rowCount(), Seconds(timer));
    }
    auto* code = site->findChild<QComboBox*>(QStringLiteral("ComboSiteCode"));
    for (int item : {2, 0}) {
        timer.restart();
        code->setCurrentIndex(item);
        Q_EMIT code->activated(item);
        QApplication::processEvents();
        std::printf("filter by %s: %d rows in %.3f s\n", qPrintable(code->currentText()), table->model()->rowCount(),
                    Seconds(timer));
    }
    table->scrollToBottom();
    table->repaint();
    std::printf("scroll to the end: %.3f s\n", Seconds(timer));
    site->model().dropEdits();
    delete site;
    return 0;
}
