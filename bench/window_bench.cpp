// Drives the main window offscreen and prints how long a person waits for a
// large page: the load into the fields, a save from the fields, the editor
// tab shown, a save from the editor, and typing in a page that is one long
// line. Run with QT_QPA_PLATFORM=offscreen; VESKARON_BENCH_MB sets the large
// page's size (20), VESKARON_BENCH_LINE_MB the one-line page's (2),
// VESKARON_BENCH_RUNS how many times each is measured (3; medians printed).
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>
#include <memory>

#include "engine/text_codec.h"
#include "ui/main/MainWindow.h"
#include "ui/pages/SourceView.h"

namespace {

using veskaron::ui::SourceView;
using veskaron::ui::MainWindow;

template <typename T>
T* Find(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

QByteArray Page(int megabytes, bool oneLine) {
    const std::string text = "<p>Строка текста страницы с разметкой и словами для проверки скорости.</p>";
    const QByteArray line = QByteArray::fromStdString(veskaron::Windows1251Codec()->FromUtf8(text).bytes) +
                            (oneLine ? "" : "\r\n");
    QByteArray page = "<html>\r\n<head>\r\n<title>Old</title>\r\n<meta name=\"author\" content=\"Ivan\">\r\n"
                      "</head>\r\n<body>";
    page.reserve(megabytes * 1024 * 1024 + 1024);
    while (page.size() < megabytes * 1024 * 1024) page += line;
    page += "</body>\r\n</html>\r\n";
    return page;
}

double Seconds(QElapsedTimer& timer) {
    const double s = double(timer.nsecsElapsed()) / 1e9;
    timer.restart();
    return s;
}

void Settle() { QApplication::processEvents(); }

void Choose(MainWindow& form, const QString& name) {
    auto* list = Find<QListWidget>(form, "FileListBox1");
    list->setCurrentItem(list->findItems(name, Qt::MatchExactly).front());
    Settle();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir config, data, pages;
    qputenv("VESKARON_CONFIG_DIR", config.path().toUtf8());
    qputenv("VESKARON_DATA_DIR", data.path().toUtf8());
    QApplication app(argc, argv);
    const auto setting = [](const char* name, int fallback) {
        return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : fallback;
    };
    const int mb = setting("VESKARON_BENCH_MB", 20);
    const int lineMb = setting("VESKARON_BENCH_LINE_MB", 2);
    const int runs = std::max(1, setting("VESKARON_BENCH_RUNS", 3));
    const int pauseMs = 3000;

    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(pages.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(name));
        file.write(bytes);
    };
    const QByteArray large = Page(mb, false), line = Page(lineMb, true);
    write(QStringLiteral("large.html"), large);
    write(QStringLiteral("line.html"), line);
    write(QStringLiteral("small.html"), Page(0, false));

    MainWindow form({pages.filePath(QStringLiteral("small.html"))});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) qWarning("window not exposed");
    auto* tabs = Find<QTabWidget>(form, "PageControl1");
    auto* title = Find<QLineEdit>(form, "Edit1");
    auto* save = Find<QPushButton>(form, "BitSave");
    auto* editor = Find<SourceView>(form, "RE1");
    const int editorTab = tabs->indexOf(editor->parentWidget());
    const auto showEditor = [&] {
        tabs->setCurrentIndex(editorTab);
        editor->viewport()->repaint();
        Settle();
    };

    std::vector<double> load, fieldSave, shownAtOnce, shownLater, editorSave, perKey;
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        tabs->setCurrentIndex(0);
        Choose(form, QStringLiteral("small.html"));
        // Each run starts from the pages as they were made.
        write(QStringLiteral("large.html"), large);
        write(QStringLiteral("line.html"), line);
        timer.restart();
        Choose(form, QStringLiteral("large.html"));
        load.push_back(Seconds(timer));
        if (title->text() != QStringLiteral("Old")) qFatal("the large page did not load");

        title->setText(QStringLiteral("Fields %1").arg(run));
        timer.restart();
        save->click();
        Settle();
        fieldSave.push_back(Seconds(timer));

        // The editor's text may be made while the person looks at the fields:
        // shown at once, and shown after a pause of a few seconds.
        showEditor();
        shownAtOnce.push_back(Seconds(timer));
        tabs->setCurrentIndex(0);
        title->setText(QStringLiteral("Again %1").arg(run));
        save->click();
        QTest::qWait(pauseMs);
        timer.restart();
        showEditor();
        shownLater.push_back(Seconds(timer));

        editor->SetCaretCharacter(1);
        QTest::keyClick(editor, 'x');
        timer.restart();
        save->click();
        Settle();
        editorSave.push_back(Seconds(timer));

        // Typing in the one-line page, each key as the person sees it.
        tabs->setCurrentIndex(0);
        Choose(form, QStringLiteral("line.html"));
        showEditor();
        editor->SetCaretCharacter(200);
        constexpr int kKeys = 10;
        timer.restart();
        for (int i = 0; i < kKeys; ++i) {
            QTest::keyClick(editor, char('a' + i));
            editor->viewport()->repaint();
            Settle();
        }
        perKey.push_back(Seconds(timer) / kKeys);
        // Saved, so that the next run's load asks nothing.
        save->click();
        Settle();
    }

    std::printf("%d MB page, median of %d: load into the fields %.3f s, save from the fields %.3f s, editor tab "
                "shown at once %.3f s, after %d s %.3f s, save from the editor %.3f s\n",
                mb, runs, Median(load), Median(fieldSave), Median(shownAtOnce), pauseMs / 1000, Median(shownLater),
                Median(editorSave));
    std::printf("%d MB one-line page, median of %d: %.1f ms a key\n", lineMb, runs, Median(perKey) * 1000);
    return 0;
}
